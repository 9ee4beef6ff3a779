// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon on a desktop with a tray: an X display (Xvfb) and a session bus of the test's own
// with a StatusNotifierWatcher, which Qt's tray icon registers its item with.
#include "fakestatusserver.h"
#include "friends/friendwatch.h"
#include "launch/autostart.h"
#include "platform/dbusnotifier.h"
#include "privatebus.h"
#include "windowharness.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QSystemTrayIcon>
#include <QtTest>

#include <optional>

using namespace std::chrono_literals;

namespace {

// What the event loop returns when the test itself ends it: the program ran on.
constexpr int kRanOn = 3;
constexpr int kNoticeNeverCame = 4;
constexpr char kKeepsRunning[] = "Brinemoor keeps running in the tray; Quit in its menu ends it.";

} // namespace

class TestTray final : public QObject
{
    Q_OBJECT

public:
    explicit TestTray(PrivateBus &bus)
        : m_bus(bus)
    { }

private slots:
    void initTestCase();
    void registration_data();
    void registration();
    void closing_data();
    void closing();

private:
    QSystemTrayIcon *trayIcon(WindowHarness &harness)
    {
        return harness.window().findChild<QSystemTrayIcon *>(QStringLiteral("trayIcon"));
    }

    PrivateBus &m_bus;
    std::optional<FakeStatusNotifierWatcher> m_watcher;
    std::optional<FakeNotificationService> m_notifications;
};

void TestTray::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("no X display: the tray's tests run under xvfb-run (package xvfb)");
    QVERIFY2(m_bus.isRunning(), "dbus-daemon did not start (scripts/setup-debian.sh)");
    // Qt asks once whether a tray's host is on the bus: it must be there before the first window.
    m_watcher.emplace(m_bus);
    QVERIFY(m_watcher->isRegistered());
    m_notifications.emplace(m_bus);
    QVERIFY(m_notifications->isRegistered());
}

// A tray there at start gets the item with the window; one that comes later gets it once it is
// there. Its menu, and its "Start with the desktop".
void TestTray::registration_data()
{
    QTest::addColumn<bool>("later");
    QTest::newRow("there at start") << false;
    QTest::newRow("comes later") << true;
}

void TestTray::registration()
{
    QFETCH(bool, later);
    if (later)
        m_watcher.reset();
    const qsizetype before = m_watcher ? m_watcher->items().size() : 0;
    WindowHarness harness;
    harness.storeGamePath();
    StartOptions options;
    options.trayLook = 100ms;
    Brinemoor &window = harness.start(options);
    window.show();
    QElapsedTimer sinceShown;
    sinceShown.start();
    if (later) {
        QTest::qWait(300);
        QVERIFY(!window.keepsWatchInTray());
        m_watcher.emplace(m_bus);
    }
    QTRY_COMPARE(m_watcher->items().size(), before + 1);
    qInfo("the tray's item registered %lld ms after the window was shown", sinceShown.elapsed());
    QVERIFY(window.keepsWatchInTray());
    QCOMPARE(trayIcon(harness)->toolTip(), QStringLiteral("Brinemoor"));
    const QStringList captions = [&] {
        QStringList texts;
        for (const QAction *action : trayIcon(harness)->contextMenu()->actions())
            texts << action->text();
        return texts;
    }();
    QCOMPARE(captions,
             (QStringList{"Hide Brinemoor", "Find Servers", "Recent servers",
                          "Start with the desktop", QString(), "Quit"}));

    // "Start with the desktop" writes the entry that starts this program, and takes it away.
    QTemporaryDir config;
    const QByteArray userConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", userConfig); });
    QAction *startWithDesktop = trayIcon(harness)->contextMenu()->actions().at(3);
    startWithDesktop->trigger();
    QVERIFY(startWithDesktop->isChecked());
    QFile entry(autostartEntryPath());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QVERIFY(entry.readAll().contains(QApplication::applicationFilePath().toUtf8()));
    startWithDesktop->trigger();
    QVERIFY(!startWithDesktop->isChecked());
    QVERIFY(!QFile::exists(autostartEntryPath()));

    // A wait for a free slot is told in the tooltip while it lasts.
    FakeStatusServer full(3);
    for (int answer = 0; answer < 3; ++answer)
        full.answerNext(FakeStatusServer::statusReply({R"(\sv_maxclients\1)", R"(0 40 "Bob")"}));
    harness.dialogs.answerNextTicked(Dialogs::Answer::Retry);
    harness.find<QLineEdit>("server_ip")->setText(full.addressText());
    harness.find<QAction>("menu_join")->trigger();
    const QString waiting = QStringLiteral("Brinemoor\nwaiting for a slot on ")
        + full.addressText();
    QTRY_COMPARE(trayIcon(harness)->toolTip(), waiting);
    harness.dialogs.answerNext(Dialogs::Answer::Cancel); // a join by hand ends the wait
    harness.find<QAction>("menu_join")->trigger();
    QTRY_COMPARE(trayIcon(harness)->toolTip(), QStringLiteral("Brinemoor"));
}

// The window closed or [ Quit ] while the tray is there: the event loop runs on until a friend's
// notice has come, or ends as the program would.
void TestTray::closing_data()
{
    QTest::addColumn<QString>("closeToTray");
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("runsOn");
    QTest::newRow("closed: hidden, friends' notices come") << ""
                                                           << "close" << true;
    QTest::newRow("closed, closetotray off: ends") << "off"
                                                   << "close" << false;
    QTest::newRow("[ Quit ] ends") << ""
                                   << "menu_quit" << false;
    QTest::newRow("the tray's Quit ends") << ""
                                          << "tray" << false;
}

void TestTray::closing()
{
    QFETCH(QString, closeToTray);
    QFETCH(QString, how);
    QFETCH(bool, runsOn);
    QVERIFY(m_watcher);
    m_notifications->calls.clear();
    FakeStatusServer harbor(2);
    const QByteArray aliceThere = FakeStatusServer::statusReply(
        {R"(\sv_maxclients\20\mapname\mp_harbor)", R"(0 40 "Alice")"});
    // Late enough to come after the window has been closed.
    harbor.answerNext({{aliceThere, FakeStatusServer::Sender::Server, 500ms}});
    WindowHarness harness;
    harness.storeGamePath();
    {
        const std::unique_ptr<KeyValueStore> store = harness.reopenStore();
        QVERIFY(store->write(QStringLiteral("Harbor"), QStringLiteral("ip"), harbor.addressText()));
        QVERIFY(store->write(AppSettings::sectionName(), QStringLiteral("friends"),
                             QStringLiteral("alice")));
        if (!closeToTray.isEmpty())
            QVERIFY(store->write(AppSettings::sectionName(), QStringLiteral("closetotray"),
                                 closeToTray));
    }
    DBusNotifier notifier([this] { return m_bus.connect(); });
    Services services{harness.dialogs, harness.gameStarter, harness.pinger, notifier};
    Brinemoor &window = harness.start({}, &services);
    QVERIFY(window.keepsWatchInTray());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QString playing = QString::fromLatin1(kNoticePlaying).arg(QStringLiteral("Alice"));
    connect(&*m_notifications, &FakeNotificationService::notified, &window, [&] {
        if (m_notifications->calls.constLast().summary == playing)
            QApplication::exit(kRanOn);
    });
    QTimer::singleShot(0, &window, [&] {
        if (how == QLatin1String("close"))
            window.close();
        else if (how == QLatin1String("menu_quit"))
            window.findChild<QAction *>(QStringLiteral("menu_quit"))->trigger();
        else
            trayIcon(harness)->contextMenu()->actions().constLast()->trigger();
    });
    QTimer::singleShot(10s, &window, [] { QApplication::exit(kNoticeNeverCame); });
    QCOMPARE(QApplication::exec(), runsOn ? kRanOn : 0);
    if (!runsOn)
        return;
    QVERIFY(window.isHidden());
    QTRY_COMPARE(trayIcon(harness)->toolTip(), QStringLiteral("Brinemoor\n1 friend playing"));
    window.show();
    window.close(); // told once
    QTest::qWait(200);
    const auto toldOfTray = [this] {
        return std::count_if(m_notifications->calls.cbegin(), m_notifications->calls.cend(),
                             [](const FakeNotificationService::Call &call) {
                                 return call.summary == QLatin1String(kKeepsRunning);
                             });
    };
    QCOMPARE(toldOfTray(), 1);
}

int main(int argc, char *argv[])
{
    // Qt reads the session bus's address at its first use, which may come with the application:
    // the test's own bus is there before it.
    PrivateBus bus;
    if (bus.isRunning())
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
    QApplication app(argc, argv);
    TestTray test(bus);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tray.moc"
