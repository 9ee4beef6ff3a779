// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing a full server's status reply: 64 players with colour-coded, quoted names.
#include "query/statusreply.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray fullServerReply()
{
    QByteArray datagram = QByteArrayLiteral(
        "\xff\xff\xff\xffstatusResponse\n"
        "\\g_gametype\\sd\\gamename\\Call of Duty\\mapname\\mp_harbor\\protocol\\1"
        "\\shortversion\\1.1\\sv_floodProtect\\1"
        "\\sv_hostname\\\x01\x01^1Brine^7moor ^3Public ^7| ^2Fast DL"
        "\\sv_maxclients\\64\\sv_maxPing\\250\\sv_maxRate\\25000\\sv_privateClients\\2"
        "\\sv_pure\\1\\scr_friendlyfire\\1\\.Admin\\^5Jim\\.Website\\www.example.org\n");
    for (int i = 0; i < 64; ++i) {
        datagram += QByteArray::number(i * 7 % 40) + ' ' + QByteArray::number(30 + i * 13 % 200)
            + " \"^" + QByteArray::number(i % 10) + "Pvt " + QByteArray::number(i) + "\"\n";
    }
    return datagram;
}

void parseFullServer(benchmark::State &state)
{
    const QByteArray datagram = fullServerReply();
    for (auto _ : state) {
        auto reply = parseStatusReply(datagram);
        benchmark::DoNotOptimize(reply);
    }
    state.SetBytesProcessed(state.iterations() * datagram.size());
    state.counters["bytes"] = double(datagram.size());
}

} // namespace

BENCHMARK(parseFullServer);
BENCHMARK_MAIN();
