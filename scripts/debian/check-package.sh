#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks a built brinemoor_*.deb as a player's machine would take it, as root: lintian finds no
# error and no warning; what it pulls in holds no development package; apt-get installs it; the
# installed program answers --version and --help and starts from its desktop entry; apt-get purge
# leaves none of its files behind. Ends with "N passed, M failed".
#   scripts/debian/check-package.sh DEB
set -uo pipefail
deb=$(realpath "$1")
cd "$(dirname "$0")/../.."
scripts/setup-debian.sh lintian xvfb xauth || exit 1
export DEBIAN_FRONTEND=noninteractive
source scripts/checks.sh

version=$(dpkg-deb -f "$deb" Version)
lintian_clean() { lintian --info --fail-on error,warning "$deb"; }
check "lintian reports no error and no warning" lintian_clean

# Recommends count too: apt-get installs them unless told otherwise.
no_development_package() {
    local depends closure
    depends=$(dpkg-deb -f "$deb" Depends | sed -E 's/\([^)]*\)//g; s/[,|]/ /g')
    # shellcheck disable=SC2086
    closure=$(apt-cache depends --recurse --no-suggests --no-conflicts --no-breaks --no-replaces \
        --no-enhances $depends | grep -E '^[a-z0-9]' | sort -u)
    ! grep -E -e '-dev(:|$)' <<<"$closure"
}
check "its dependencies pull in no development package" no_development_package

check "apt-get installs it" apt-get install -y "$deb"
mapfile -t files < <(dpkg -L brinemoor | while read -r path; do [ -d "$path" ] || echo "$path"; done)

# The program makes its application object before reading the command line, so it needs a
# platform even to print.
prints() {
    local expected=$1
    shift
    QT_QPA_PLATFORM=offscreen "$@" | grep -qF "$expected"
}
check "brinemoor --version prints $version" prints "$version" /usr/bin/brinemoor --version
check "brinemoor --help prints the usage" prints "/nick:" /usr/bin/brinemoor --help

# Started as a desktop's menu starts it, on an X server of its own and a fresh home, it is still
# running after 3 s. It has no bookmarks there, so it asks no server.
starts_from_menu() {
    local command home status
    # The desktop drops a field code such as %u when it has no link to pass.
    command=$(sed -n 's/^Exec=//p' /usr/share/applications/brinemoor.desktop | sed 's/ %[uUfF]//')
    home=$(mktemp -d)
    # shellcheck disable=SC2086
    HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache \
        xvfb-run -a timeout 3 $command >/dev/null 2>&1
    status=$?
    rm -rf "$home"
    [ "$status" -eq 124 ]
}
check "the desktop entry's command starts the window" starts_from_menu

check "apt-get purges it" apt-get purge -y brinemoor
nothing_left() {
    local left=0 path
    for path in "${files[@]}"; do
        [ -e "$path" ] && { echo "left behind: $path"; left=1; }
    done
    local status
    status=$(dpkg-query -W -f='${db:Status-Status}' brinemoor 2>/dev/null)
    [ "$left" -eq 0 ] && { [ -z "$status" ] || [ "$status" = not-installed ]; }
}
check "no file of the package is left, nor the package's record" nothing_left

checks_summary
