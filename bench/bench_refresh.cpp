// SPDX-License-Identifier: GPL-3.0-or-later
// The background refresh of 1,000 (or 10,000) bookmarks on fake servers that answer 50 ms after
// each request: from "Refresh all" until every row has its status, and either the main thread's
// CPU time for it or, in a run of its own since its ticks cost CPU too, the longest the event loop
// was held meanwhile. The servers answer from a thread of their own, as other machines would.
#include "bookmarks/bookmarkmodel.h"
#include "fakeserverfarm.h"
#include "fakestatusserver.h"
#include "query/statusrefresh.h"
#include "stallmeter.h"
#include "windowharness.h"

#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QSettings>

namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

constexpr milliseconds kServerDelay{50};

QByteArray busyServer()
{
    QStringList lines{QStringLiteral(R"(\sv_hostname\Busy Harbor\mapname\mp_harbor)"
                                     R"(\sv_maxclients\20\shortversion\1.5\g_gametype\sd)")};
    for (int player = 0; player < 12; ++player)
        lines.append(QStringLiteral(R"(%1 50 "Player %1")").arg(player));
    return FakeStatusServer::statusReply(lines);
}

// Written as Save would leave them, in one go.
void storeBookmarks(WindowHarness &harness, const FakeServerFarm &farm, int bookmarks)
{
    harness.storeGamePath();
    QSettings settings(harness.settingsPath(), QSettings::IniFormat);
    for (int server = 0; server < bookmarks; ++server)
        settings.setValue(QStringLiteral("Server %1/ip").arg(server, 5, 10, QLatin1Char('0')),
                          farm.addressText(server));
    settings.sync();
}

bool everyRowAnswered(const QAbstractItemModel &bookmarks, int count)
{
    for (int row = 0; row < bookmarks.rowCount(); ++row) {
        const auto status =
            bookmarks.index(row, 0).data(BookmarkModel::StatusRole).value<BookmarkStatus>();
        if (status.state != BookmarkStatus::State::Answered)
            return false;
    }
    return bookmarks.rowCount() == count;
}

void refreshAll(benchmark::State &state)
{
    const int bookmarks = int(state.range(0));
    const bool meterStalls = state.range(1) != 0;
    FakeServerFarm farm(busyServer(), kServerDelay);
    if (!farm.isListening()) {
        state.SkipWithError("the fake servers could not listen");
        return;
    }
    WindowHarness harness;
    storeBookmarks(harness, farm, bookmarks);
    Brinemoor &window = harness.start();
    auto *refresh = harness.find<StatusRefresh>("refresh");
    bool finished = false;
    QObject::connect(refresh, &StatusRefresh::finished, refresh, [&finished] { finished = true; });
    const auto waitForTheEnd = [&finished] {
        while (!finished)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        finished = false;
    };
    window.show(); // the first refresh, which is not timed
    waitForTheEnd();
    StallMeter stalls;
    CpuMeter cpu;
    for (auto _ : state) {
        if (meterStalls)
            stalls.start();
        cpu.start();
        const auto started = steady_clock::now();
        harness.find<QAction>("refreshAll")->trigger();
        waitForTheEnd();
        state.SetIterationTime(duration<double>(steady_clock::now() - started).count());
        cpu.stop();
        if (meterStalls)
            stalls.stop();
    }
    if (!everyRowAnswered(*harness.bookmarkList()->model(), bookmarks))
        state.SkipWithError("not every row was answered");
    if (meterStalls)
        stalls.addCounters(state);
    else
        cpu.addCounters(state);
    state.counters["requests"] = double(farm.requests());
}

BENCHMARK(refreshAll)
    ->ArgNames({"bookmarks", "stalls"})
    ->ArgsProduct({{1000, 10000}, {0, 1}})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
