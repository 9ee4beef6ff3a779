#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a release of HEAD in dist/ (or the folder given): the source tarball (git archive), the
# Debian package built from that tarball, the Windows installer and zip, and SHA256SUMS of them.
# The version comes from CMakeLists.txt; the Debian changelog, the metainfo's newest release and
# NEWS.md must name it first, so a release never goes out with notes of another version.
#   scripts/release.sh [OUTPUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-dist}")
version=$(scripts/version.sh)

newest_release=$(grep -oE '<release version="[^"]+"' resources/example.brinemoor.Brinemoor.metainfo.xml |
    head -1 | cut -d'"' -f2)
newest_news=$(grep -m1 -oE '^## [^ ]+' NEWS.md | cut -c4-)
for named in "metainfo:$newest_release" "NEWS.md:$newest_news"; do
    if [ "${named#*:}" != "$version" ]; then
        echo "${named%%:*} names ${named#*:} as the newest release, the project is at $version" >&2
        exit 1
    fi
done
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "note: uncommitted changes are not part of the release, which is made of HEAD" >&2
fi

mkdir -p "$out"
# An earlier release's files would otherwise be summed with this one's.
rm -f "$out"/brinemoor[-_]* "$out/SHA256SUMS"
tarball=$out/brinemoor-$version.tar.gz
git archive --prefix="brinemoor-$version/" -o "$tarball" HEAD
scripts/debian/package.sh "$out" "$tarball"
scripts/windows/package.sh "$out"
(cd "$out" && sha256sum -- brinemoor[-_]* >SHA256SUMS)
cat "$out/SHA256SUMS"
