#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks in Release and runs them (medians of 9 repetitions). As root, the status
# benchmarks run in a network namespace of its own, where the click-to-status one may make
# loopback ignore echoes and the refresh's fake servers have the loopback addresses to
# themselves. The start-up benchmark opens real windows on an X server of its own (Xvfb).
# With --build-only it builds them in the test build and stops, as CI does to keep them compiling.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh libbenchmark-dev xvfb xauth trayer
geoip=$(scripts/fetch-geoip.sh)
benches=(bench_statusreply bench_replydisplay bench_joinwait bench_clicktostatus bench_refresh
    bench_startup bench_friends bench_masterreply bench_findservers bench_geo)
if [ "${1:-}" = "--build-only" ]; then
    # Kept compiling in the test build's tree (scripts/test.sh), whose objects are there already.
    cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRINEMOOR_BUILD_TESTS=ON \
        -DBRINEMOOR_WARNINGS_AS_ERRORS=ON -DBRINEMOOR_BUILD_BENCH=ON -DBRINEMOOR_GEOIP_FILE="$geoip"
    cmake --build build-tests -j2 --target "${benches[@]}" stress_faults
    exit 0
fi
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DBRINEMOOR_BUILD_BENCH=ON \
    -DBRINEMOOR_GEOIP_FILE="$geoip"
cmake --build build-bench -j2 --target "${benches[@]}"
export QT_QPA_PLATFORM=offscreen
repeated=(--benchmark_repetitions=9 --benchmark_report_aggregates_only=true)
for bench in bench_statusreply bench_replydisplay bench_friends bench_masterreply bench_geo; do
    build-bench/bench/$bench "${repeated[@]}"
done
build-bench/bench/bench_joinwait
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" build-bench/bench/bench_startup "${repeated[@]}"

# The memory of a window hidden in a tray: trayer, an X tray, on an X server of its own; no session
# bus, so Qt uses that tray.
in_tray=(env QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent xvfb-run -a sh -c
    'trayer >/dev/null 2>&1 & sleep 1; exec build-bench/bench/bench_refresh --benchmark_filter=memoryWhileHidden')

namespace=brinemoor-bench-$$
if [ "$(id -u)" -eq 0 ] && ip netns add "$namespace" 2>/dev/null; then
    trap 'ip netns delete "$namespace"' EXIT
    ip netns exec "$namespace" ip link set lo up
    ip netns exec "$namespace" env BRINEMOOR_BENCH_HOST_NETNS="$(readlink /proc/self/ns/net)" \
        build-bench/bench/bench_clicktostatus "${repeated[@]}"
    ip netns exec "$namespace" build-bench/bench/bench_refresh "${repeated[@]}"
    ip netns exec "$namespace" "${in_tray[@]}"
    ip netns exec "$namespace" build-bench/bench/bench_findservers
else
    build-bench/bench/bench_clicktostatus "${repeated[@]}"
    build-bench/bench/bench_refresh "${repeated[@]}"
    "${in_tray[@]}"
    build-bench/bench/bench_findservers
fi
