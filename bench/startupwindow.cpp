// The child process of bench_startup: opens either a bare Qt window of the main window's size or
// Brinemoor's main window on the settings under $XDG_CONFIG_HOME, built as main.cpp builds it.
// It prints "visible" once the window's first paint is done, then its peak resident memory as
// "peak_kb <kilobytes>".
#include "app/brinemoor.h"
#include "bookmarks/settingsstore.h"
#include "platform/icmppinger.h"
#include "platform/processgamestarter.h"
#include "platform/qtdialogs.h"
#include "platform/services.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <memory>

namespace {

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
                std::fflush(stdout);
                m_afterwards();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_afterwards;
    bool m_seen = false;
};

void reportPeakMemory()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak_kb %ld\n", usage.ru_maxrss);
    std::fflush(stdout);
    QCoreApplication::quit();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool bare = app.arguments().value(1) == QLatin1String("bare");
    QtDialogs dialogs;
    SettingsStore store(SettingsStore::openUserSettings());
    ProcessGameStarter gameStarter;
    IcmpPinger pinger;
    Services services{dialogs, gameStarter, pinger};
    std::unique_ptr<QMainWindow> window;
    if (bare) {
        window = std::make_unique<QMainWindow>();
        window->setFixedSize(562, 374);
    } else {
        window = std::make_unique<Brinemoor>(services, store, StartOptions{});
    }
    FirstPaint firstPaint([] { QTimer::singleShot(0, &reportPeakMemory); });
    window->installEventFilter(&firstPaint);
    window->show();
    return app.exec();
}
