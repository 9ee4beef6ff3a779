#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them (medians of 9 repetitions).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
if ! dpkg-query -W -f='${Status}' libbenchmark-dev 2>/dev/null | grep -q 'install ok installed'; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get install -y --no-install-recommends libbenchmark-dev
fi
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINEMOOR_BUILD_BENCH=ON
cmake --build build-bench -j2 --target bench_statusreply bench_replydisplay bench_joinwait
export QT_QPA_PLATFORM=offscreen
for bench in bench_statusreply bench_replydisplay; do
    build-bench/bench/$bench --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
done
build-bench/bench/bench_joinwait
