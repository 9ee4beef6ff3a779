// SPDX-License-Identifier: GPL-3.0-or-later
// The child process of bench_startup: opens either a bare Qt window (an empty list as its central
// widget and one item on its menu bar) of the main window's fixed size or
// Brinemoor's main window on the settings under $XDG_CONFIG_HOME, built as main.cpp builds it.
// It prints "visible" once the window's first paint is done and its peak resident memory so far
// as "peak_kb <kilobytes>", the peak again 0.3 s later (once the first statuses are in) as
// "settled_peak_kb <kilobytes>"; then, once the background refresh of its bookmarks has ended too
// (a bare window has none), the peak as "refreshed_peak_kb <kilobytes>".
#include "app/brinemoor.h"
#include "storage/keyvaluestore.h"
#include "platform/dbusnotifier.h"
#include "platform/icmppinger.h"
#include "platform/processgamestarter.h"
#include "platform/qtdialogs.h"
#include "platform/services.h"
#include "query/statusrefresh.h"

#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using namespace std::chrono_literals;

// Tells the parent once the first paint of the watched window is over.
class FirstPaint final : public QObject
{
public:
    explicit FirstPaint(std::function<void()> afterwards)
        : m_afterwards(std::move(afterwards))
    { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] {
                std::puts("visible");
                m_afterwards();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_afterwards;
    bool m_seen = false;
};

void reportPeakMemory(const char *what)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %ld\n", what, usage.ru_maxrss);
    std::fflush(stdout);
}

// The end comes 0.3 s after the window is visible and, for Brinemoor's, once the refresh of its
// bookmarks (which starts once its list is on screen) has ended too.
class Ending
{
public:
    explicit Ending(int stages)
        : m_stages(stages)
    { }
    void stageDone()
    {
        if (--m_stages > 0)
            return;
        reportPeakMemory("refreshed_peak_kb");
        QCoreApplication::quit();
    }

private:
    int m_stages;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool bare = app.arguments().value(1) == QLatin1String("bare");
    QtDialogs dialogs;
    const std::unique_ptr<KeyValueStore> store = openUserStore();
    store->readAhead();
    ProcessGameStarter gameStarter;
    IcmpPinger pinger;
    DBusNotifier notifier;
    Services services{dialogs, gameStarter, pinger, notifier};
    std::unique_ptr<QMainWindow> window;
    if (bare) {
        window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QListWidget);
        window->menuBar()->addAction(QStringLiteral("[ Quit ]"));
        window->setFixedSize(562, 354 + window->menuBar()->sizeHint().height());
    } else {
        auto brinemoor = std::make_unique<Brinemoor>(services, *store, StartOptions{});
        brinemoor->start();
        window = std::move(brinemoor);
    }
    auto *refresh = window->findChild<StatusRefresh *>();
    Ending ending(refresh ? 2 : 1);
    if (refresh)
        QObject::connect(refresh, &StatusRefresh::finished, refresh,
                         [&ending] { ending.stageDone(); });
    FirstPaint firstPaint([&ending] {
        reportPeakMemory("peak_kb");
        QTimer::singleShot(300ms, qApp, [&ending] {
            reportPeakMemory("settled_peak_kb");
            ending.stageDone();
        });
    });
    window->installEventFilter(&firstPaint);
    window->show();
    return app.exec();
}
