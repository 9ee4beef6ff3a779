// SPDX-License-Identifier: GPL-3.0-or-later
// The background refresh of 1,000 bookmarks on fake servers that answer 50 ms after each request:
// from "Refresh all" until every row has its status, and the longest the event loop was held
// meanwhile. The servers answer from a thread of their own, as other machines would.
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

constexpr int kBookmarks = 1000;
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
void storeBookmarks(WindowHarness &harness, const FakeServerFarm &farm)
{
    harness.storeGamePath();
    QSettings settings(harness.settingsPath(), QSettings::IniFormat);
    for (int server = 0; server < kBookmarks; ++server)
        settings.setValue(QStringLiteral("Server %1/ip").arg(server, 4, 10, QLatin1Char('0')),
                          farm.addressText(server));
    settings.sync();
}

bool everyRowAnswered(const QAbstractItemModel &bookmarks)
{
    for (int row = 0; row < bookmarks.rowCount(); ++row) {
        const auto status =
            bookmarks.index(row, 0).data(BookmarkModel::StatusRole).value<BookmarkStatus>();
        if (status.state != BookmarkStatus::State::Answered)
            return false;
    }
    return bookmarks.rowCount() == kBookmarks;
}

void refreshAll(benchmark::State &state)
{
    FakeServerFarm farm(busyServer(), kServerDelay);
    if (!farm.isListening()) {
        state.SkipWithError("the fake servers could not listen");
        return;
    }
    WindowHarness harness;
    storeBookmarks(harness, farm);
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
    for (auto _ : state) {
        stalls.start();
        const auto started = steady_clock::now();
        harness.find<QAction>("refreshAll")->trigger();
        waitForTheEnd();
        state.SetIterationTime(duration<double>(steady_clock::now() - started).count());
        stalls.stop();
    }
    if (!everyRowAnswered(*harness.bookmarkList()->model()))
        state.SkipWithError("not every row was answered");
    stalls.addCounters(state);
    state.counters["requests"] = double(farm.requests());
}

BENCHMARK(refreshAll)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
