#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the test suite with AddressSanitizer and UndefinedBehaviorSanitizer and runs it: a memory
# fault, a leak or undefined behaviour fails the test that met it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRINEMOOR_BUILD_TESTS=ON \
    -DBRINEMOOR_SANITIZE=ON -DBRINEMOOR_GEOIP_FILE="$(scripts/fetch-geoip.sh)"
cmake --build build-asan -j2
cd build-asan
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/../scripts/lsan.supp:print_suppressions=0"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
