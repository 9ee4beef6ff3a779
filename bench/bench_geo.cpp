// SPDX-License-Identifier: GPL-3.0-or-later
// The country of an IPv4 address from the compiled table: a million lookups of random addresses,
// the time per lookup, and the table's size in the program.
#include "geo/country.h"
#include "geo/countrytable.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

constexpr int kLookups = 1'000'000;

std::vector<quint32> randomAddresses()
{
    std::mt19937 random(20260625);
    std::vector<quint32> addresses(kLookups);
    for (quint32 &address : addresses)
        address = quint32(random());
    return addresses;
}

double tableBytes()
{
    return double(kBlockFirstRange.size_bytes() + kRangeStarts.size_bytes()
                  + kRangeCountries.size_bytes() + kCountries.size_bytes());
}

void countryLookup(benchmark::State &state)
{
    const std::vector<quint32> addresses = randomAddresses();
    for (auto _ : state) {
        for (quint32 address : addresses)
            benchmark::DoNotOptimize(Country::of(address));
    }
    // Time per lookup rather than per million.
    state.SetItemsProcessed(state.iterations() * kLookups);
    state.counters["ns_per_lookup"] = benchmark::Counter(double(state.iterations()) * kLookups,
                                                         benchmark::Counter::kIsRate
                                                             | benchmark::Counter::kInvert);
    state.counters["ranges"] = double(kRangeStarts.size());
    state.counters["table_bytes"] = benchmark::Counter(tableBytes(), benchmark::Counter::kDefaults,
                                                       benchmark::Counter::kIs1024);
}

} // namespace

BENCHMARK(countryLookup)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
