#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds a release brinemoor.exe (no tests) into build-windows-release/ and makes, in the
# output folder (default dist/), the NSIS installer brinemoor-VERSION-setup.exe and the zip
# brinemoor-VERSION-windows-x64.zip, both holding the same files.
#   scripts/windows/package.sh [OUTPUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/common.sh

out=$(realpath -m "${1:-dist}")
version=$(scripts/version.sh)
scripts/setup-debian.sh g++-mingw-w64-x86-64-posix nsis imagemagick
qt=$(unpacked_qt)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
build=build-windows-release
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=0 \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$windows_package/mingw64.cmake" \
    -DBRINEMOOR_BUILD_TESTS=OFF "${launcher[@]}"
cmake --build "$build" -j"${BRINEMOOR_JOBS:-2}" --target brinemoor

# What the program loads: the Qt modules it links, the platform plugin, the native style, and
# MinGW's C++ runtime. It reads PNG images only (built into Qt Gui) and fetches over plain HTTP,
# so no image format or TLS plugin goes in.
staging=$build/staging/Brinemoor
rm -rf "$build/staging"
mkdir -p "$staging/platforms" "$staging/styles"
x86_64-w64-mingw32-strip -o "$staging/brinemoor.exe" "$build/brinemoor.exe"
cp "$qt"/bin/{Qt6Core,Qt6Gui,Qt6Widgets,Qt6Network}.dll "$staging/"
cp "$qt/plugins/platforms/qwindows.dll" "$staging/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$staging/styles/"
cp /usr/lib/gcc/x86_64-w64-mingw32/12-posix/{libstdc++-6,libgcc_s_seh-1}.dll \
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$staging/"
cp LICENSE "$staging/LICENSE.txt"
convert resources/icons/hicolor/{16x16,24x24,32x32,48x48,64x64,256x256}/apps/brinemoor.png \
    "$staging/brinemoor.ico"

# The installer installs and the uninstaller removes exactly these files.
files=$build/staging/files.nsh
uninstall=$build/staging/uninstall-files.nsh
: >"$files"
: >"$uninstall"
while read -r path; do
    windows_path=${path//\//\\}
    folder=$(dirname "$windows_path")
    [ "$folder" = . ] && folder= || folder=\\$folder
    echo "SetOutPath \"\$INSTDIR$folder\"" >>"$files"
    echo "File \"/oname=\$INSTDIR\\$windows_path\" \"$(realpath "$staging/$path")\"" >>"$files"
    echo "Delete \"\$INSTDIR\\$windows_path\"" >>"$uninstall"
done < <(cd "$staging" && find . -type f -printf '%P\n' | sort)
size_kib=$(du -sk "$staging" | cut -f1)

mkdir -p "$out"
makensis -V2 -DVERSION="$version" -DFILES="$(realpath "$files")" \
    -DUNINSTALL_FILES="$(realpath "$uninstall")" -DSIZE_KIB="$size_kib" \
    -DICON="$(realpath "$staging/brinemoor.ico")" -DOUTFILE="$out/brinemoor-$version-setup.exe" \
    scripts/windows/installer.nsi
rm -f "$out/brinemoor-$version-windows-x64.zip"
(cd "$build/staging" && cmake -E tar cf "$out/brinemoor-$version-windows-x64.zip" --format=zip Brinemoor)
ls -l "$out/brinemoor-$version-setup.exe" "$out/brinemoor-$version-windows-x64.zip"
