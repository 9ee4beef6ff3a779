#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds brinemoor.exe and the test executables for 64-bit Windows into build-windows/, with
# MinGW-w64 and the Qt package of ../shared/windows (unpacked once into a cache folder).
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/windows/common.sh

scripts/setup-debian.sh g++-mingw-w64-x86-64-posix wine wine64
qt=$(unpacked_qt)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Built for the test run, on CI's clock: one translation unit per target (the Qt headers are read
# once, not once per file) and light optimisation.
"$qt/bin/qt-cmake" -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" -DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=0 \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$windows_package/mingw64.cmake" \
    -DBRINEMOOR_BUILD_TESTS=ON -DBRINEMOOR_WARNINGS_AS_ERRORS=ON \
    -DBRINEMOOR_GEOIP_FILE="$(scripts/fetch-geoip.sh)" "${launcher[@]}"
cmake --build build-windows -j"${BRINEMOOR_JOBS:-2}"
