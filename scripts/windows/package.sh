#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds a release brinemoor.exe (no tests) into build-windows-release/ and makes, in the
# output folder (default dist/, or $BRINEMOOR_DIST), the NSIS installer brinemoor-VERSION-setup.exe
# and the zip brinemoor-VERSION-windows-x64.zip, which hold the same files.
#   scripts/windows/package.sh [OUTPUT_FOLDER]
set -euo pipefail
# A folder named on the command line is taken from where the script was started.
out=$(realpath -m "${1:-${BRINEMOOR_DIST:-$(dirname "$0")/../../dist}}")
cd "$(dirname "$0")/../.."
source scripts/windows/common.sh

version=$(scripts/version.sh)
# nsis: makensis and its 64-bit stubs; icoutils: icotool, for the icon of the shortcut;
# qt6-translations-l10n: Qt's own translations, which the Qt package for Windows lacks.
scripts/setup-debian.sh g++-mingw-w64-x86-64-posix nsis icoutils qt6-translations-l10n
qt=$(unpacked_qt)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# A folder of its own, so the test build in build-windows/ is left as it is. One translation unit
# per target, as there: the Qt headers are read once, not once per file.
build="build-windows-release"
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=0 \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$windows_package/mingw64.cmake" \
    -DBRINEMOOR_BUILD_TESTS=OFF -DBRINEMOOR_GEOIP_FILE="$(scripts/fetch-geoip.sh)" "${launcher[@]}"
cmake --build "$build" -j"${BRINEMOOR_JOBS:-2}" --target brinemoor

# What the program loads, and no more: the Qt modules it imports (objdump -p), the platform
# plugin, the native style (a plugin since Qt 6; without it the window falls back to the old
# Windows 95 look), and MinGW's runtime, which the program and Qt import. Its pictures are PNG,
# which Qt Gui reads itself, and it fetches the clan page over plain HTTP, so no image format or
# TLS plugin goes in: Qt loads those when present, but nothing is read through them. Stripped,
# the files are a third of their size (libstdc++ alone sheds 21 MB of symbols).
package=$build/package
staging=$package/Brinemoor
rm -rf "$package"
mkdir -p "$staging/platforms" "$staging/styles"
strip=x86_64-w64-mingw32-strip
$strip -o "$staging/brinemoor.exe" "$build/brinemoor.exe"
for dll in "$qt"/bin/{Qt6Core,Qt6Gui,Qt6Widgets,Qt6Network}.dll \
    /usr/lib/gcc/x86_64-w64-mingw32/12-posix/{libstdc++-6,libgcc_s_seh-1}.dll \
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll; do
    $strip -o "$staging/$(basename "$dll")" "$dll"
done
$strip -o "$staging/platforms/qwindows.dll" "$qt/plugins/platforms/qwindows.dll"
$strip -o "$staging/styles/qwindowsvistastyle.dll" "$qt/plugins/styles/qwindowsvistastyle.dll"
# The program carries its own translations; Qt's own texts (the standard buttons, the file
# dialog) come from Debian's translations of the same Qt version, one for each of the program's
# languages, where Qt looks for them beside a deployed program: translations/qtbase_LANGUAGE.qm.
mkdir -p "$staging/translations"
for ts in translations/brinemoor_*.ts; do
    language=${ts#translations/brinemoor_}
    cp "/usr/share/qt6/translations/qtbase_${language%.ts}.qm" "$staging/translations/"
done
# .txt, so that a double click opens it.
cp LICENSE "$staging/LICENSE.txt"
# brinemoor.exe carries no icon resource, so the shortcut and "Apps & features" take theirs from
# this file. The 256 px image stays PNG inside it, as Windows' own icons keep it.
icons=resources/icons/hicolor
icotool -c -o "$staging/brinemoor.ico" "$icons"/{16x16,24x24,32x32,48x48,64x64,128x128}/apps/brinemoor.png \
    --raw="$icons/256x256/apps/brinemoor.png"

# The installer installs, and the uninstaller removes, exactly the files staged here, from lists
# made of the one folder the zip is made of too; the uninstaller then removes the folders only
# when they are empty, so what a player put there stays.
install_list=$package/install-files.nsh
uninstall_list=$package/uninstall-files.nsh
: >"$install_list"
: >"$uninstall_list"
current_folder=none
while read -r path; do
    folder=$(dirname "$path")
    if [ "$folder" != "$current_folder" ]; then
        [ "$folder" = . ] && subfolder= || subfolder=\\${folder//\//\\}
        echo "SetOutPath \"\$INSTDIR$subfolder\"" >>"$install_list"
        current_folder=$folder
    fi
    echo "File \"$(realpath "$staging/$path")\"" >>"$install_list"
    echo "Delete \"\$INSTDIR\\${path//\//\\}\"" >>"$uninstall_list"
done < <(cd "$staging" && find . -type f -printf '%P\n' | LC_ALL=C sort)
# Deepest first, so that a folder is empty when its turn comes.
while read -r folder; do
    echo "RMDir \"\$INSTDIR\\${folder//\//\\}\"" >>"$uninstall_list"
done < <(cd "$staging" && find . -mindepth 1 -type d -printf '%P\n' | LC_ALL=C sort -r)

mkdir -p "$out"
setup=$out/brinemoor-$version-setup.exe
zip=$out/brinemoor-$version-windows-x64.zip
rm -f "$setup" "$zip"
makensis -V2 -DVERSION="$version" -DINSTALL_FILES="$(realpath "$install_list")" \
    -DUNINSTALL_FILES="$(realpath "$uninstall_list")" -DICON="$(realpath "$staging/brinemoor.ico")" \
    -DOUTFILE="$setup" scripts/windows/installer.nsi
(cd "$package" && cmake -E tar cf "$zip" --format=zip Brinemoor)
ls -l "$setup" "$zip"
