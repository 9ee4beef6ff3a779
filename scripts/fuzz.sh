#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while (default 60 s each).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
scripts/setup-debian.sh
command -v clang++ >/dev/null || { sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"; $sudo apt-get install -y clang libclang-rt-14-dev; }
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRINEMOOR_BUILD_TESTS=OFF -DBRINEMOOR_BUILD_FUZZ=ON
cmake --build build-fuzz -j2
for fuzzer in build-fuzz/fuzz/fuzz_*; do
    [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    mkdir -p "fuzz-out/$name"
    echo "== $name for ${seconds}s"
    seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 "fuzz-out/$name" "${seeds[@]}" 2>&1 | tail -n 12
done
