#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Windows installer under Wine, in a fresh prefix on an X server of its own, as a
# player's machine takes it: a silent install beside a stored bookmark, its files (those of the zip
# beside it), shortcut and uninstall entry, the installed program's --version; an install and an
# uninstall refused while the program runs, leaving every file as it was; a silent uninstall that
# removes the files, the shortcut and the entry but keeps the bookmark; a second install that
# finds the bookmark; an uninstall that leaves a file the player put in the folder. Prints each
# check and "N passed, M failed"; fails when a check failed.
#   scripts/windows/test-installer.sh [SETUP_EXE]    (default dist/brinemoor-VERSION-setup.exe)
set -euo pipefail
self=$(realpath "$0")
[ $# -gt 0 ] && setup=$(realpath -m "$1")
cd "$(dirname "$0")/../.."
source scripts/windows/common.sh
version=$(scripts/version.sh)
setup=${setup:-$PWD/dist/brinemoor-$version-setup.exe}
zip=$(dirname "$setup")/brinemoor-$version-windows-x64.zip
if [ ! -f "$setup" ]; then
    echo "no installer at $setup: run scripts/windows/package.sh first" >&2
    exit 2
fi
# The program opens its window on the X server of xvfb-run: the windows platform plugin is the
# only one installed, and a player's desktop stays out of it.
if [ -z "${BRINEMOOR_UNDER_XVFB:-}" ]; then
    scripts/setup-debian.sh gcc-mingw-w64-x86-64-posix wine wine64 xvfb xauth x11-utils
    BRINEMOOR_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$self" "$setup"
fi
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)

work=$(mktemp -d "${TMPDIR:-/tmp}/brinemoor-setup.XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all
export WINEDLLOVERRIDES=$wine_test_dll_overrides
program_pid=
cleanup() {
    if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
wine() { timeout 120 "$wine64" "$@"; }
wine wineboot -i >/dev/null 2>&1

# Qt 6.4 prints --version only to a program started with its standard handles given
# (STARTF_USESTDHANDLES), as QProcess or a console does; otherwise, and under Wine from here, it
# shows a message box. This starts the command line after its own name so, with its handles.
cat >"$work/withstdhandles.c" <<'EOF'
#include <windows.h>
int main(void)
{
    wchar_t *line = GetCommandLineW();
    int quoted = 0;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); line++)
        if (*line == L'"')
            quoted = !quoted;
    while (*line == L' ' || *line == L'\t')
        line++;
    STARTUPINFOW startup = {.cb = sizeof startup, .dwFlags = STARTF_USESTDHANDLES};
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, line, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process))
        return 127;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    return (int)code;
}
EOF
x86_64-w64-mingw32-gcc -O2 -o "$work/withstdhandles.exe" "$work/withstdhandles.c"

source scripts/checks.sh
# Prints a value of a registry key, nothing when the key or value is missing. reg separates the
# name, type and data by four blanks.
value() {
    { wine reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
        sed -nE "s/^    $2    REG_[A-Z_]+    //p"
}
# The key's default value.
default_value() {
    { wine reg query "$1" /ve 2>/dev/null || true; } | tr -d '\r' |
        sed -nE "s/^    \(Default\)    REG_[A-Z_]+    //p"
}
has_key() { wine reg query "$1" >/dev/null 2>&1; }
no_key() { ! has_key "$1"; }
equals() { [ "$1" = "$2" ] || { echo "    '$1', expected '$2'"; return 1; }; }
windows_folder() { wine cmd /c echo "%$1%" | tr -d '\r'; }
unix_path() { wine winepath -u "$1" | tr -d '\r'; }

folder_windows="$(windows_folder LOCALAPPDATA)\\Programs\\Brinemoor"
folder=$(unix_path "$folder_windows")
folder=${folder%/}
shortcut=$(unix_path "$(windows_folder APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\Brinemoor.lnk")
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Brinemoor'
# Where and how the program keeps a bookmark (src/storage/registrystore.cpp): a key per name,
# with the values ip and password.
bookmark='HKCU\Software\VB and VBA Program Settings\Brinemoor\Harbor'
wine reg add "$bookmark" /v ip /d 127.0.0.2:28960 /f >/dev/null 2>&1
wine reg add "$bookmark" /v password /d tide /f >/dev/null 2>&1
bookmark_kept() {
    equals "$(value "$bookmark" ip)" 127.0.0.2:28960 && equals "$(value "$bookmark" password)" tide
}
# Names, sizes, times and contents of the installed files. NSIS gives each file the time of its
# source, so a replaced file shows by its content; uninstall.exe, made anew each time, by its time.
state() { (cd "$folder" && find . -type f -printf '%P %s %T@\n' | sort && find . -type f -exec sha256sum {} + | sort); }
# An uninstaller started as "Apps & features" starts it copies itself to a temporary folder,
# starts that copy and ends at once: this waits until every program of the prefix has ended.
wait_for_wine() { timeout 120 wineserver -w || echo "    Wine did not end within 120 s"; }

check "the silent install succeeds" wine "$setup" /S
installed_like_zip() {
    [ -f "$zip" ] || { echo "    no $zip"; return 1; }
    mkdir "$work/zip"
    (cd "$work/zip" && cmake -E tar xf "$zip")
    diff -r -x uninstall.exe "$work/zip/Brinemoor" "$folder" && [ -f "$folder/uninstall.exe" ]
}
check "it installs the files of the zip, and the uninstaller, into $folder_windows" installed_like_zip
check "the Start-menu shortcut is there" test -f "$shortcut"

entry_values() {
    local wrong=0 quoted_uninstaller="\"$folder_windows\\uninstall.exe\"" size
    equals "$(value "$uninstall_key" DisplayName)" Brinemoor || wrong=1
    equals "$(value "$uninstall_key" DisplayVersion)" "$version" || wrong=1
    equals "$(value "$uninstall_key" Publisher)" "The Brinemoor developers" || wrong=1
    equals "$(value "$uninstall_key" DisplayIcon)" "$folder_windows\\brinemoor.ico" || wrong=1
    equals "$(value "$uninstall_key" InstallLocation)" "$folder_windows" || wrong=1
    equals "$(value "$uninstall_key" UninstallString)" "$quoted_uninstaller" || wrong=1
    equals "$(value "$uninstall_key" QuietUninstallString)" "$quoted_uninstaller /S" || wrong=1
    equals "$(value "$uninstall_key" NoModify)" 0x1 || wrong=1
    equals "$(value "$uninstall_key" NoRepair)" 0x1 || wrong=1
    # Within 5 % of what the files take, in KiB.
    size=$(($(value "$uninstall_key" EstimatedSize)))
    local files_kib
    files_kib=$(find "$folder" -type f -printf '%s\n' | awk '{ bytes += $1 } END { print int(bytes / 1024) }')
    if [ $((size * 100)) -lt $((files_kib * 95)) ] || [ $((size * 100)) -gt $((files_kib * 105)) ]; then
        echo "    EstimatedSize $size KiB, the files take $files_kib KiB"
        wrong=1
    fi
    [ -f "$(unix_path "$(value "$uninstall_key" DisplayIcon)")" ] || { echo "    no icon"; wrong=1; }
    [ "$wrong" -eq 0 ]
}
check "the uninstall entry names the program, version, publisher, icon, folder and uninstaller" entry_values
link_key='HKCU\Software\Classes\cod'
opens_links() {
    has_key "$link_key" && equals "$(value "$link_key" "URL Protocol")" "" &&
        equals "$(default_value "$link_key\shell\open\command")" "\"$folder_windows\\brinemoor.exe\" \"%1\""
}
check "cod:// links start the installed program" opens_links
prints_version() {
    local printed
    printed=$(wine "$work/withstdhandles.exe" "$folder_windows\\brinemoor.exe" --version | tr -d '\r')
    equals "$printed" "Brinemoor $version"
}
check "the installed brinemoor.exe --version prints its version" prints_version

# The program shows its window; the bookmark's server is on loopback. Started by wine64 itself,
# not through timeout, so that its process is the one that is ended below.
"$wine64" "$folder_windows\\brinemoor.exe" >/dev/null 2>&1 &
program_pid=$!
shows_window() {
    for _ in $(seq 300); do
        xwininfo -root -tree | grep -qF '("brinemoor.exe"' && return 0
        kill -0 "$program_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
check "the installed program starts and shows its window" shows_window
before=$(state)
refused() {
    local status=0
    "$@" || status=$?
    equals "$status" 2 && diff <(echo "$before") <(state)
}
check "a silent install while it runs fails with exit code 2 and changes no file" refused wine "$setup" /S
check "a silent uninstall while it runs fails with exit code 2 and removes no file" \
    refused wine "$folder_windows\\uninstall.exe" /S "_?=$folder_windows"
check "the uninstall entry is still there" has_key "$uninstall_key"
kill "$program_pid"
wait "$program_pid" || true
program_pid=

wine "$folder_windows\\uninstall.exe" /S
wait_for_wine
check "the silent uninstall removes the folder" test ! -e "$folder"
check "and the shortcut" test ! -e "$shortcut"
check "and the uninstall entry" no_key "$uninstall_key"
check "and the cod:// links" no_key "$link_key"
check "the bookmark stays, with its address and password" bookmark_kept

check "a second silent install succeeds" wine "$setup" /S
check "and the bookmark is still there" bookmark_kept

# A file of the player's in the folder stays, and with it the folder; every installed file goes.
mapfile -t installed < <(cd "$folder" && find . -type f -printf '%P\n')
echo "my notes" >"$folder/notes.txt"
wine "$folder_windows\\uninstall.exe" /S
wait_for_wine
only_own_files_removed() {
    local path left=0
    for path in "${installed[@]}"; do
        [ -e "$folder/$path" ] && { echo "    left: $path"; left=1; }
    done
    [ "$left" -eq 0 ] && equals "$(cat "$folder/notes.txt" 2>/dev/null)" "my notes"
}
check "an uninstall removes its own files and leaves the player's" only_own_files_removed

checks_summary
