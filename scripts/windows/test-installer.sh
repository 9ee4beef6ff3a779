#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows installer under Wine, in a fresh prefix: a silent install over a stored
# bookmark, the shortcut and the uninstall key, a silent uninstall that removes the folder and the
# key but keeps the bookmark. Ends with "N passed, M failed".
#   scripts/windows/test-installer.sh SETUP_EXE
set -uo pipefail
setup=$(realpath "$1")
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/brinemoor-setup.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
trap 'wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
"$wine64" wineboot -i >/dev/null 2>&1
wineserver -w
passed=0
failed=0
check() {
    local what=$1
    shift
    if "$@" >/dev/null 2>&1; then echo "ok: $what"; passed=$((passed + 1))
    else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
user=$(ls "$WINEPREFIX/drive_c/users" | grep -v -x Public | head -1)
folder="$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Brinemoor"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brinemoor'
bookmark='HKCU\Software\VB and VBA Program Settings\Brinemoor\Harbor'
"$wine64" reg add "$bookmark" /v ip /d 127.0.0.2:28960 /f >/dev/null 2>&1

check "silent install" "$wine64" "$setup" /S
check "the program is in the per-user folder" test -f "$folder/brinemoor.exe"
check "the Start-menu shortcut" test -f "$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Brinemoor.lnk"
check "the uninstall key" "$wine64" reg query "$uninstall_key" /v UninstallString
# The uninstaller waits for itself only when told its folder; it then leaves itself and the folder,
# which the copy it makes of itself would remove otherwise.
check "silent uninstall" "$wine64" "$folder/uninstall.exe" /S "_?=$(winepath -w "$folder")"
rm -f "$folder/uninstall.exe"
rmdir "$folder" 2>/dev/null
check "the folder is gone" test ! -e "$folder"
check "the uninstall key is gone" bash -c "! '$wine64' reg query '$uninstall_key'"
check "the bookmark stays" "$wine64" reg query "$bookmark" /v ip
check "a second install" "$wine64" "$setup" /S
check "the bookmark is still there" "$wine64" reg query "$bookmark" /v ip
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
