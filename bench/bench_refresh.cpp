// SPDX-License-Identifier: GPL-3.0-or-later
// The background refresh of 1,000 (or 10,000) bookmarks on fake servers that answer 50 ms after
// each request: from "Refresh all" until every row has its status, and either the main thread's
// CPU time for it or, in a run of its own since its ticks cost CPU too, the longest the event loop
// was held meanwhile. The servers answer from a thread of their own, as other machines would.
// Beside it, the memory of a hidden window over an hour of periodic refreshes of 100 bookmarks,
// the time compressed: 120 refreshes, each as soon as the last has ended.
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
#include <QFile>
#include <QSettings>

#include <unistd.h>

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
            bookmarks.index(row, 0).data(roleId(BookmarkRole::Status)).value<BookmarkStatus>();
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

// Resident set size, from /proc.
double residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> pages = statm.readAll().split(' ');
    return pages.size() < 2 ? 0 : pages[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1024;
}

// An hour at refreshseconds=30, hidden (in the tray when there is one: in_tray), with a friend on
// every server; the growth is counted from the tenth refresh, once caches and pools have their
// size.
void memoryWhileHidden(benchmark::State &state)
{
    constexpr int kBookmarks = 100;
    constexpr int kRefreshes = 120;
    constexpr int kWarmUp = 10;
    FakeServerFarm farm(busyServer(), kServerDelay);
    if (!farm.isListening()) {
        state.SkipWithError("the fake servers could not listen");
        return;
    }
    WindowHarness harness;
    storeBookmarks(harness, farm, kBookmarks);
    QSettings(harness.settingsPath(), QSettings::IniFormat)
        .setValue(QStringLiteral("settings/friends"), QStringLiteral("Player 3"));
    QSettings(harness.settingsPath(), QSettings::IniFormat)
        .setValue(QStringLiteral("settings/refreshseconds"), 30);
    Brinemoor &window = harness.start();
    auto *refresh = harness.find<StatusRefresh>("refresh");
    bool finished = false;
    QObject::connect(refresh, &StatusRefresh::finished, refresh, [&finished] { finished = true; });
    const auto refreshOnce = [&] {
        harness.find<QAction>("refreshAll")->trigger();
        while (!finished)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        finished = false;
    };
    window.show();
    while (!finished)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    finished = false;
    window.hide();
    double before = 0;
    for (auto _ : state) {
        for (int done = 0; done < kRefreshes; ++done) {
            if (done == kWarmUp)
                before = residentKiB();
            refreshOnce();
        }
    }
    if (!everyRowAnswered(*harness.bookmarkList()->model(), kBookmarks))
        state.SkipWithError("not every row was answered");
    state.counters["in_tray"] = window.keepsWatchInTray() ? 1 : 0;
    state.counters["rss_kib"] = residentKiB();
    state.counters["rss_growth_kib"] = residentKiB() - before;
}

BENCHMARK(memoryWhileHidden)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK(refreshAll)
    ->ArgNames({"bookmarks", "stalls"})
    ->ArgsProduct({{1000, 10000}, {0, 1}})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
