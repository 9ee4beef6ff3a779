// Start-up to a visible window with 10,000 bookmarks, against a bare Qt window of the same size
// in the same run, and the peak resident memory of both: until the window is visible, and until
// the background refresh of the 10,000 bookmarks (all refused: nothing listens) has ended. Each is
// a fresh process (startupwindow) timed from its start until it says its window has been painted.
// Meant to run on a real X server (scripts/bench.sh runs it under Xvfb).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
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
    double refreshedPeakKb = 0; // until its bookmarks' refresh has ended
};

// The user's settings as Save leaves them: the game path and the bookmarks, every one on a
// loopback address where nothing answers.
bool writeStore(const QString &configFolder)
{
    QSettings settings(configFolder + QStringLiteral("/Brinemoor/Brinemoor.ini"),
                       QSettings::IniFormat);
    settings.setValue(QStringLiteral("settings/codpath"), QStringLiteral("/nowhere/CoDMP.exe"));
    for (int i = 0; i < kBookmarks; ++i) {
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
            else if (words.first() == "refreshed_peak_kb")
                run.refreshedPeakKb = words.last().toDouble();
        }
        if (run.refreshedPeakKb > 0)
            break;
    }
    child.waitForFinished(30000);
    if (run.visibleMs <= 0 || run.peakKb <= 0 || run.refreshedPeakKb <= 0)
        return std::nullopt;
    return run;
}

void startupAgainstBareWindow(benchmark::State &state)
{
    QTemporaryDir config;
    if (!config.isValid() || !writeStore(config.path())) {
        state.SkipWithError("the settings file could not be written");
        return;
    }
    double bareMs = 0;
    double windowMs = 0;
    double bareKb = 0;
    double windowKb = 0;
    double refreshedKb = 0;
    for (auto _ : state) {
        const std::optional<ChildRun> bare = runChild(QStringLiteral("bare"), config.path());
        const std::optional<ChildRun> window = runChild(QStringLiteral("brinemoor"), config.path());
        if (!bare || !window) {
            state.SkipWithError("a window did not report (is there an X server?)");
            return;
        }
        bareMs += bare->visibleMs;
        windowMs += window->visibleMs;
        bareKb += bare->peakKb;
        windowKb += window->peakKb;
        refreshedKb += window->refreshedPeakKb;
        state.SetIterationTime(window->visibleMs / 1000);
    }
    const auto average = benchmark::Counter::kAvgIterations;
    state.counters["bare_ms"] = benchmark::Counter(bareMs, average);
    state.counters["window_ms"] = benchmark::Counter(windowMs, average);
    state.counters["time_ratio"] = windowMs / bareMs;
    state.counters["bare_peak_MB"] = benchmark::Counter(bareKb / 1024, average);
    state.counters["window_peak_MB"] = benchmark::Counter(windowKb / 1024, average);
    state.counters["memory_ratio"] = windowKb / bareKb;
    state.counters["refreshed_peak_MB"] = benchmark::Counter(refreshedKb / 1024, average);
    state.counters["refreshed_memory_ratio"] = refreshedKb / bareKb;
}

BENCHMARK(startupAgainstBareWindow)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
