#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRINEMOOR_BUILD_TESTS=ON \
    -DBRINEMOOR_WARNINGS_AS_ERRORS=ON -DBRINEMOOR_GEOIP_FILE="$(scripts/fetch-geoip.sh)"
cmake --build build-tests -j2
cd build-tests
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
