#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang and runs each for a while (default 60 s each), starting
# from its seeds in fuzz/corpus/NAME; what a run finds stays in fuzz-out/NAME for the next. Fails
# when a target crashes, leaks or meets undefined behaviour.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/setup-debian.sh clang libclang-rt-14-dev
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRINEMOOR_BUILD_TESTS=OFF -DBRINEMOOR_BUILD_FUZZ=ON \
    -DBRINEMOOR_GEOIP_FILE="$(scripts/fetch-geoip.sh)"
cmake --build build-fuzz -j2
for fuzzer in build-fuzz/fuzz/fuzz_*; do
    [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    mkdir -p "fuzz-out/$name"
    echo "== $name for ${seconds}s"
    "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="fuzz-out/$name-" \
        "fuzz-out/$name" "fuzz/corpus/$name" >"fuzz-out/$name.log" 2>&1 \
        || { tail -n 40 "fuzz-out/$name.log"; echo "$name failed"; exit 1; }
    tail -n 12 "fuzz-out/$name.log"
done
