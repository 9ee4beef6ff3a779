#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the path of Tor's IPv4 country table, which the build compiles into the program
# (configure with -DBRINEMOOR_GEOIP_FILE="$(scripts/fetch-geoip.sh)"): the installed one of
# Debian's tor-geoipdb, else the file taken out of that package without installing it, since the
# package depends on the tor daemon, which a build machine does not need. The package of apt's
# candidate version is downloaded and unpacked once into ~/.cache/brinemoor-geoip
# ($XDG_CACHE_HOME, or $BRINEMOOR_GEOIP_CACHE); a newer version in apt's lists replaces it.
set -euo pipefail
installed=/usr/share/tor/geoip
if [ -f "$installed" ]; then
    echo "$installed"
    exit 0
fi
cache=${BRINEMOOR_GEOIP_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/brinemoor-geoip}

candidate() {
    apt-cache show --no-all-versions tor-geoipdb 2>/dev/null | sed -n 's/^Version: //p'
}
version=$(candidate)
if [ -z "$version" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update >&2
    version=$(candidate)
fi
[ -n "$version" ] || { echo "apt knows no package tor-geoipdb" >&2; exit 1; }

folder=$cache/tor-geoipdb_$version
if [ ! -f "$folder/usr/share/tor/geoip" ]; then
    mkdir -p "$cache"
    # Unpacked beside its final place and then moved there, so that an interrupted unpack is never
    # taken for a whole one. Only the IPv4 table and the package's copyright are kept.
    partial=$(mktemp -d "$cache/unpacking.XXXXXX")
    trap 'rm -rf "$partial"' EXIT
    (cd "$partial" && apt-get download -q "tor-geoipdb=$version" >&2)
    dpkg-deb -x "$partial"/tor-geoipdb_*.deb "$partial/package"
    mkdir -p "$partial/kept/usr/share/tor" "$partial/kept/usr/share/doc"
    mv "$partial/package/usr/share/tor/geoip" "$partial/kept/usr/share/tor/"
    mv "$partial/package/usr/share/doc/tor-geoipdb" "$partial/kept/usr/share/doc/"
    rm -rf "$cache"/tor-geoipdb_*
    mv -T "$partial/kept" "$folder"
fi
echo "$folder/usr/share/tor/geoip"
