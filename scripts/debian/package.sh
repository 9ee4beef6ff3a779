#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package the Debian way, with dpkg-buildpackage, from a source tarball (the one
# given, or one of HEAD made with git archive, so that nothing but committed files goes in), and
# puts brinemoor_VERSION_ARCH.deb into the output folder.
#   scripts/debian/package.sh [OUTPUT_FOLDER [SOURCE_TARBALL]]      (default output: dist/)
# The build runs the test suite, as Debian's do, unless DEB_BUILD_OPTIONS holds nocheck. A missing
# build dependency stops it before anything is compiled (`apt-get build-dep -P
# pkg.brinemoor.geoip-file ./` installs them, all but tor-geoipdb).
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-dist}")
tarball=${2:+$(realpath "$2")}
version=$(scripts/version.sh)
changelog_version=$(dpkg-parsechangelog -l debian/changelog -S Version)
if [ "$changelog_version" != "$version" ]; then
    echo "debian/changelog is at $changelog_version, the project at $version:" \
        "add an entry for $version (dch -v $version)" >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/brinemoor-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
if [ -z "$tarball" ]; then
    tarball=$work/brinemoor-$version.tar.gz
    git archive --prefix="brinemoor-$version/" -o "$tarball" HEAD
fi
tar -C "$work" -xzf "$tarball"
# tor-geoipdb, whose table the program compiles in, depends on the tor daemon: the build takes the
# file from fetch-geoip.sh, under the profile that leaves the package out of the build dependencies.
BRINEMOOR_GEOIP_FILE=$(scripts/fetch-geoip.sh)
export BRINEMOOR_GEOIP_FILE
(cd "$work/brinemoor-$version" && dpkg-buildpackage -us -uc -b -Ppkg.brinemoor.geoip-file)
mkdir -p "$out"
# Only the program's package: its debug symbols (brinemoor-dbgsym) stay behind.
mv "$work"/brinemoor_"$version"_*.deb "$out/"
ls "$out"/brinemoor_"$version"_*.deb
