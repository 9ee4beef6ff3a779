// SPDX-License-Identifier: GPL-3.0-or-later
// The processor time the join command takes while it waits for a silent server's time-out. The
// wait must sleep in the event loop until the exchange ends, not spin: the target is under 2% of
// one core over the wait's wall time.
#include "windowharness.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QUdpSocket>

#include <sys/resource.h>

namespace {

using namespace std::chrono_literals;

double seconds(const timeval &time)
{
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void joinWaitOnSilentServer(benchmark::State &state)
{
    // Bound and never read: the request arrives, no reply and no refusal comes back.
    QUdpSocket silentServer;
    if (!silentServer.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0)) {
        state.SkipWithError("can not bind 127.0.0.2");
        return;
    }
    WindowHarness harness;
    harness.storeGamePath();
    StartOptions options;
    options.exchange.reply = 2s;
    harness.start(options);
    harness.find<QLineEdit>("server_ip")
        ->setText(QStringLiteral("127.0.0.2:%1").arg(silentServer.localPort()));
    QAction *join = harness.find<QAction>("menu_join");

    double cpu = 0;
    double wall = 0;
    for (auto _ : state) {
        const double cpuBefore = processCpuSeconds();
        harness.dialogs.answerNext(Dialogs::Answer::Ok);
        QElapsedTimer clock;
        clock.start();
        join->trigger(); // ends with "Server not responding" after the time-out
        wall += double(clock.nsecsElapsed()) / 1e9;
        cpu += processCpuSeconds() - cpuBefore;
    }
    if (harness.dialogs.texts() != QStringList(state.iterations(), "Server not responding"))
        state.SkipWithError("the join did not end with \"Server not responding\"");
    state.counters["wait_s"] = wall / double(state.iterations());
    state.counters["cpu_ms"] = 1000 * cpu / double(state.iterations());
    state.counters["cpu_share_%"] = 100 * cpu / wall;
}

BENCHMARK(joinWaitOnSilentServer)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
