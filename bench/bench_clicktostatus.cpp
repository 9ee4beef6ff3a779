// SPDX-License-Identifier: GPL-3.0-or-later
// From the start of a query to the status on display, against a server that answers 50 ms after
// each request, as a multiple of those 50 ms; and the longest the event loop was held meanwhile,
// seen by a timer that ticks every millisecond.
//
// Run by scripts/bench.sh inside a network namespace of its own (BRINEMOOR_BENCH_HOST_NETNS names
// the one it came from): the echo is then the real one, and the namespace's loopback ignores or
// answers it as each benchmark asks, through net.ipv4.icmp_echo_ignore_all, which belongs to that
// namespace alone. Elsewhere the Pinger seam stands in: an echo answered at once, or one never
// answered.
#include "fakestatusserver.h"
#include "platform/icmppinger.h"
#include "stallmeter.h"
#include "windowharness.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

#include <algorithm>
#include <chrono>

namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

constexpr milliseconds kServerDelay{50};

// scripts/bench.sh names the network namespace it started in; the benchmark must be in another
// one, of its own, since the echo setting written below must never be the host's.
bool inBenchNamespace()
{
    const QString host = qEnvironmentVariable("BRINEMOOR_BENCH_HOST_NETNS");
    // The link reads "net:[inode]"; Qt gives it as a path in the link's folder.
    const QString own =
        QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/ns/net"))).fileName();
    return !host.isEmpty() && !own.isEmpty() && own != host;
}

// Only ever written inside the namespace that scripts/bench.sh made for this run.
bool ignoreEchoes(bool ignore)
{
    QFile setting(QStringLiteral("/proc/sys/net/ipv4/icmp_echo_ignore_all"));
    return setting.open(QIODevice::WriteOnly) && setting.write(ignore ? "1\n" : "0\n") == 2;
}

// range(0): the echo is answered; range(1): the server drops the first request of each query.
void clickToStatus(benchmark::State &state)
{
    const bool echoAnswered = state.range(0) != 0;
    const bool dropFirst = state.range(1) != 0;
    const bool realEcho = inBenchNamespace();
    if (realEcho && !ignoreEchoes(!echoAnswered)) {
        state.SkipWithError("can not set icmp_echo_ignore_all in the bench namespace");
        return;
    }
    state.SetLabel(realEcho ? "real echo in a namespace" : "Pinger seam");

    WindowHarness harness;
    harness.storeGamePath();
    if (!echoAnswered)
        harness.pinger.roundTrip = std::nullopt;
    else
        harness.pinger.roundTrip = 100us;
    IcmpPinger icmp;
    Services services{harness.dialogs, harness.gameStarter,
                      realEcho ? static_cast<Pinger &>(icmp) : harness.pinger, harness.notifier};
    Brinemoor &window = harness.start({}, &services);
    FakeStatusServer server;
    window.findChild<QLineEdit *>(QStringLiteral("server_ip"))->setText(server.addressText());
    QAction *getDetails = window.findChild<QAction *>(QStringLiteral("menu_update"));
    StallMeter stalls;
    double roundTrips = 0;

    for (auto _ : state) {
        if (dropFirst)
            server.answerNext(QList<FakeStatusServer::Datagram>{});
        server.answerNext({{FakeStatusServer::statusReply({R"(\mapname\mp_harbor)"}),
                            FakeStatusServer::Sender::Server, kServerDelay}});
        bool shown = false;
        const QMetaObject::Connection ended = QObject::connect(&window, &Brinemoor::exchangeEnded,
                                                               &window, [&shown] { shown = true; });
        stalls.start();
        const auto started = steady_clock::now();
        getDetails->trigger();
        while (!shown)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const auto elapsed = steady_clock::now() - started;
        stalls.stop();
        QObject::disconnect(ended);
        state.SetIterationTime(duration<double>(elapsed).count());
        roundTrips += duration<double>(elapsed) / duration<double>(kServerDelay);
    }
    if (!window.state().ServerReady || server.received.isEmpty())
        state.SkipWithError("no status came in");
    state.counters["per_round_trip"] = benchmark::Counter(roundTrips,
                                                          benchmark::Counter::kAvgIterations);
    stalls.addCounters(state);
    if (realEcho)
        ignoreEchoes(false);
}

BENCHMARK(clickToStatus)
    ->ArgNames({"echo", "drop_first"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(clickToStatus)
    ->ArgNames({"echo", "drop_first"})
    ->Args({0, 1})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
