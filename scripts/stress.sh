#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs the stress checks: bookmark commands on a nearly full disk (as root on Linux,
# which may mount small memory disks), an editor rewriting the settings file in place while the
# user saves, and a game that writes 200 MB. Prints the figures; fails when a goal is missed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINEMOOR_BUILD_BENCH=ON \
    -DBRINEMOOR_GEOIP_FILE="$(scripts/fetch-geoip.sh)"
cmake --build build-bench -j2 --target stress_faults
QT_QPA_PLATFORM=offscreen build-bench/bench/stress_faults
