#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing Brinemoor needs on Debian 12, and the packages
# named as arguments (what a benchmark, fuzzing or the Windows build needs besides).
set -euo pipefail
# desktop-file-utils and appstream: the test suite validates the desktop entry and metainfo;
# dbus-daemon: the friends' tests run a session bus of their own; xvfb and xauth: the tray's test
# runs on an X display of its own; qt6-l10n-tools and qt6-tools-dev: lupdate, lrelease and their
# CMake support, for the translations. python3 and iso-codes: the country table is generated from
# the geoip file (scripts/fetch-geoip.sh) and iso-codes' names. iso-flags-svg and librsvg2-bin
# (rsvg-convert): the browser's flags are drawn from those SVG files at build time.
packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-tools-dev libgl-dev
    python3 iso-codes iso-flags-svg librsvg2-bin desktop-file-utils appstream dbus-daemon xvfb xauth
    "$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
