// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to a visible window with 10,000 bookmarks, against a bare Qt window of the same size
// (an empty list and a menu bar of one item) in the same run, and the peak resident memory of both:
// until the window is visible, until 0.3 s later, and until the background refresh of the 10,000
// bookmarks (all refused: nothing listens) has ended. Each is a fresh process (startupwindow)
// timed from its start until it says its window has been painted. Meant to run on a real X server
// (scripts/bench.sh runs it under Xvfb).
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <optional>

namespace {

constexpr int kBookmarks = 10000;

struct ChildRun
{
    double visibleMs = 0;
    double peakKb = 0;          // until the window is visible
    double settledPeakKb = 0;   // until 0.3 s after that
    double refreshedPeakKb = 0; // until its bookmarks' refresh has ended
};

// The user's settings as Save leaves them: the game path and the bookmarks, every one on a
// loopback address where nothing answers.
bool writeStore(const QString &configFolder, int bookmarks)
{
    QSettings settings(configFolder + QStringLiteral("/Brinemoor/Brinemoor.ini"),
                       QSettings::IniFormat);
    settings.setValue(QStringLiteral("settings/codpath"), QStringLiteral("/nowhere/CoDMP.exe"));
    for (int i = 0; i < bookmarks; ++i) {
        const QString section = QStringLiteral("Server %1").arg(i, 5, 10, QLatin1Char('0'));
        settings.setValue(
            section + QStringLiteral("/ip"),
            QStringLiteral("127.0.%1.%2:%3").arg(2 + i / 250).arg(2 + i % 250).arg(20000 + i));
        settings.setValue(section + QStringLiteral("/password"), QString());
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::optional<ChildRun> runChild(const QString &kind, const QString &configFolder)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(QStringLiteral(BRINEMOOR_STARTUP_WINDOW), {kind});
    ChildRun run;
    while (child.waitForReadyRead(30000)) {
        while (child.canReadLine()) {
            const QByteArray line = child.readLine().trimmed();
            const QList<QByteArray> words = line.split(' ');
            if (line == "visible")
                run.visibleMs = double(clock.nsecsElapsed()) / 1e6;
            else if (words.first() == "peak_kb")
                run.peakKb = words.last().toDouble();
            else if (words.first() == "settled_peak_kb")
                run.settledPeakKb = words.last().toDouble();
            else if (words.first() == "refreshed_peak_kb")
                run.refreshedPeakKb = words.last().toDouble();
        }
        if (run.refreshedPeakKb > 0)
            break;
    }
    child.waitForFinished(30000);
    if (run.visibleMs <= 0 || run.peakKb <= 0 || run.settledPeakKb <= 0 || run.refreshedPeakKb <= 0)
        return std::nullopt;
    return run;
}

struct Totals
{
    void add(const ChildRun &run)
    {
        visibleMs += run.visibleMs;
        peakKb += run.peakKb;
        settledPeakKb += run.settledPeakKb;
        refreshedPeakKb += run.refreshedPeakKb;
    }
    double visibleMs = 0;
    double peakKb = 0;
    double settledPeakKb = 0;
    double refreshedPeakKb = 0;
};

// Also Brinemoor's window on a store without bookmarks: what the bookmarks themselves cost.
void startupAgainstBareWindow(benchmark::State &state)
{
    QTemporaryDir bookmarks;
    QTemporaryDir none;
    if (!bookmarks.isValid() || !none.isValid() || !writeStore(bookmarks.path(), kBookmarks)
        || !writeStore(none.path(), 0)) {
        state.SkipWithError("the settings files could not be written");
        return;
    }
    Totals bare;
    Totals window;
    Totals empty;
    for (auto _ : state) {
        const std::optional<ChildRun> bareRun = runChild(QStringLiteral("bare"), none.path());
        const std::optional<ChildRun> windowRun = runChild(QStringLiteral("brinemoor"),
                                                           bookmarks.path());
        const std::optional<ChildRun> emptyRun = runChild(QStringLiteral("brinemoor"), none.path());
        if (!bareRun || !windowRun || !emptyRun) {
            state.SkipWithError("a window did not report (is there an X server?)");
            return;
        }
        bare.add(*bareRun);
        window.add(*windowRun);
        empty.add(*emptyRun);
        state.SetIterationTime(windowRun->visibleMs / 1000);
    }
    const auto average = benchmark::Counter::kAvgIterations;
    state.counters["bare_ms"] = benchmark::Counter(bare.visibleMs, average);
    state.counters["window_ms"] = benchmark::Counter(window.visibleMs, average);
    state.counters["time_ratio"] = window.visibleMs / bare.visibleMs;
    state.counters["empty_time_ratio"] = empty.visibleMs / bare.visibleMs;
    state.counters["bare_peak_MB"] = benchmark::Counter(bare.peakKb / 1024, average);
    state.counters["window_peak_MB"] = benchmark::Counter(window.peakKb / 1024, average);
    state.counters["memory_ratio"] = window.peakKb / bare.peakKb;
    state.counters["empty_memory_ratio"] = empty.peakKb / bare.peakKb;
    state.counters["settled_memory_ratio"] = window.settledPeakKb / bare.settledPeakKb;
    state.counters["refreshed_memory_ratio"] = window.refreshedPeakKb / bare.peakKb;
}

BENCHMARK(startupAgainstBareWindow)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
