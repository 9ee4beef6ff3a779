#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every test executable of build-windows/ under Wine, in a fresh Wine prefix, offscreen. Prints
# each one's totals and, last, "N passed, M failed"; fails when any test failed or did not finish.
set -uo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/common.sh

tests=(build-windows/tst_*.exe)
if [ ! -e "${tests[0]}" ]; then
    echo "no Windows tests in build-windows: run scripts/windows/build.sh first" >&2
    exit 2
fi
scripts/setup-debian.sh wine wine64 fonts-dejavu-core
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
qt=$(unpacked_qt)

# Beside the programs (all in build-windows/): Qt's DLLs, its offscreen platform, and MinGW's C++
# runtime.
mkdir -p build-windows/platforms
cp -u "$qt"/bin/Qt6*.dll /usr/lib/gcc/x86_64-w64-mingw32/12-posix/{libstdc++-6,libgcc_s_seh-1}.dll \
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll build-windows/
cp -u "$qt"/plugins/platforms/qoffscreen.dll build-windows/platforms/

WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/brinemoor-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all
export WINEDLLOVERRIDES=$wine_test_dll_overrides
logs=build-windows/test-logs
rm -rf "$logs" && mkdir -p "$logs"
cleanup() {
    WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
"$wine64" wineboot -i >/dev/null 2>&1
# Wine does not hand Qt's variables over from here, so they go into the prefix's environment,
# which the tests' own child processes get as well. The offscreen platform on Windows reads fonts
# from a folder only, and with no system font it falls back to 12 pt: at 72 dpi that is the pixel
# size of the 9 pt of the Linux run and of a Windows desktop, which the window's layout is made for.
for setting in QT_QPA_PLATFORM=offscreen 'QT_QPA_FONTDIR=Z:\usr\share\fonts\truetype\dejavu' \
    QT_FONT_DPI=72; do
    "$wine64" reg add 'HKCU\Environment' /v "${setting%%=*}" /d "${setting#*=}" /f >/dev/null 2>&1
done
wineserver -w

passed=0
failed=0
for test in "${tests[@]}"; do
    name=$(basename "$test" .exe)
    # Wine does not pass a console's output on here: QtTest writes its log to a file.
    (cd build-windows && timeout "${BRINEMOOR_TEST_TIMEOUT:-300}" "$wine64" "$name.exe" -o "test-logs/$name.txt,txt" \
        >"test-logs/$name.out" 2>&1)
    totals=$(grep -a '^Totals:' "$logs/$name.txt" 2>/dev/null | tr -d '\r')
    if [ -z "$totals" ]; then
        echo "$name: did not finish (see $logs/$name.txt)"
        failed=$((failed + 1))
        continue
    fi
    echo "$name: ${totals#Totals: }"
    read -r test_passed test_failed <<<"$(sed -E 's/^Totals: ([0-9]+) passed, ([0-9]+) failed.*/\1 \2/' <<<"$totals")"
    passed=$((passed + test_passed))
    failed=$((failed + test_failed))
    grep -a -E -A1 '^FAIL!' "$logs/$name.txt" | tr -d '\r' | sed 's/^/    /'
    grep -a -E '^SKIP' "$logs/$name.txt" | tr -d '\r' | sed 's/^/    /'
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
