#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and starts Brinemoor; any arguments go to the program ("/nick:Name", "/debug").
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRINEMOOR_BUILD_TESTS=OFF \
    -DBRINEMOOR_GEOIP_FILE="$(scripts/fetch-geoip.sh)"
cmake --build build -j2
exec build/brinemoor "$@"
