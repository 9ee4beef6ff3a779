// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing a master's reply of 4,096 entries.
#include "fakemaster.h"
#include "servers/masterreply.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray fullReply()
{
    QList<ServerEndpoint> servers;
    for (int i = 0; i < kMaxListedServers; ++i)
        servers.append({0x08000001u | quint32(i) << 8, 28992});
    return masterDatagram(servers);
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
