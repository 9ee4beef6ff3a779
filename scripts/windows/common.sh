# SPDX-License-Identifier: GPL-3.0-or-later
# What the Windows build and its test run share; sourced from the checkout's top folder.

# The Qt package for Windows and the MinGW toolchain file it was built with.
windows_package=$(realpath "${BRINEMOOR_WINDOWS_PACKAGE:-../shared/windows}")
qt_archive=qt-6.4.2-mingw64
# Outside the checkout, so that a fresh clone or `git clean` does not unpack it again.
qt_cache=${BRINEMOOR_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/brinemoor-windows}

# Prints the folder of the unpacked Qt, unpacking it first when needed. The package is unpacked
# beside its final place and then moved there, so an interrupted unpack is never taken for a whole.
unpacked_qt() {
    local qt=$qt_cache/$qt_archive
    if [ ! -x "$qt/bin/qt-cmake" ]; then
        mkdir -p "$qt_cache"
        local partial
        partial=$(mktemp -d "$qt_cache/unpacking.XXXXXX")
        tar -C "$partial" -xJf "$windows_package/$qt_archive.tar.xz"
        rm -rf "$qt"
        mv "$partial/$qt_archive" "$qt"
        rm -rf "$partial"
    fi
    echo "$qt"
}

# For a fresh Wine prefix of a test: no Mono or Gecko (the prefix would offer to download them),
# and no winemenubuilder, which writes file associations and Start-menu launchers into this
# machine's own menus under $HOME.
wine_test_dll_overrides="mscoree=;mshtml=;winemenubuilder.exe=d"
