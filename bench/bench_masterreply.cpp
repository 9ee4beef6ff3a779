// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing a master's reply of 4,096 entries.
#include "servers/masterreply.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray fullReply()
{
    QByteArray datagram("\xff\xff\xff\xffgetserversResponse\n\0", 24);
    for (int i = 0; i < kMaxListedServers; ++i) {
        const char entry[] = {'\\', 8, char(i >> 8), char(i), 1, 0x71, 0x40};
        datagram += QByteArray(entry, sizeof entry);
    }
    return datagram + QByteArray("\\EOF\0\0\0", 7);
}

void parse4096(benchmark::State &state)
{
    const QByteArray datagram = fullReply();
    for (auto _ : state) {
        const MasterReply reply = parseMasterReply(datagram);
        benchmark::DoNotOptimize(reply.servers.size());
    }
}

BENCHMARK(parse4096)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
