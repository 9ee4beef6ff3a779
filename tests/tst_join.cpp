// The join command and the bookmark list's click and double click on the main window, against a
// fake server on loopback, with the game as a real child process: a script that writes down how
// it was started.
#include "fakestatusserver.h"
#include "query/statusrefresh.h"
#include "windowharness.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScopeGuard>
#include <QtEndian>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

QByteArray openServer()
{
    return FakeStatusServer::statusReply({R"(\g_gametype\dm\sv_maxclients\16)", R"(5 40 "Bob")"});
}

QByteArray fullServer()
{
    return FakeStatusServer::statusReply({R"(\sv_maxclients\2)", R"(5 40 "Bob")", R"(0 9 "Al")"});
}

QByteArray windowsProgram()
{
    QByteArray head(0x100, '\0');
    head.replace(0, 2, "MZ");
    qToLittleEndian<quint32>(0x80, head.data() + 0x3C);
    head.replace(0x80, 4, QByteArray("PE\0\0", 4));
    return head;
}

bool writeExecutable(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size()
        && file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

QByteArray fakeGame()
{
    QFile script(QFINDTESTDATA("support/fakegame"));
    return script.open(QIODevice::ReadOnly) ? script.readAll() : QByteArray();
}

// What the fake game (or the fake wine) wrote down: its folder, two settings of its environment
// and its arguments.
struct Run
{
    QString folder;
    QString mesaYear;
    QString glVersion;
    QStringList arguments;
};

std::optional<Run> readRun(const QString &program)
{
    QFile log(program + QStringLiteral(".log"));
    if (!log.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QStringList lines = QString::fromUtf8(log.readAll()).split(u'\n');
    return Run{lines.value(0), lines.value(1), lines.value(2), lines.mid(3, lines.size() - 4)};
}

// Passes every start on to the real process starter and keeps the processes that did start.
class RecordingStarter final : public GameStarter
{
public:
    bool start(const ProcessStart &process) override
    {
        if (!m_real.start(process))
            return false;
        started.append(process);
        return true;
    }

    QList<ProcessStart> started;

private:
    ProcessGameStarter m_real;
};

// A window on a fresh store whose game is the fake game in a folder with a blank in its name,
// and a fake server on 127.0.0.2.
class Session
{
public:
    Session() { installGame(fakeGame()); }
    // A started game writes into the temporary folder: let it finish before the folder goes.
    ~Session()
    {
        if (starter.started.isEmpty())
            return;
        const QString program = starter.started.constLast().program;
        if (!QTest::qWaitFor([&program] { return readRun(program).has_value(); }))
            qWarning("the started game wrote nothing");
    }

    void installGame(const QByteArray &content)
    {
        QVERIFY(QDir(harness.dirPath()).mkpath(QStringLiteral("Call of Duty")));
        gamePath = gameFolder() + QStringLiteral("/CoDMP.exe");
        QVERIFY(writeExecutable(gamePath, content));
        harness.reopenStore()->write(QString::fromLatin1(kSettingsSection),
                                     QString::fromLatin1(kGamePathKey), gamePath);
    }
    QString gameFolder() const { return harness.dirPath() + QStringLiteral("/Call of Duty"); }

    void bookmark(const QString &name, const QString &address, const QString &password = {})
    {
        const std::unique_ptr<SettingsStore> bookmarks = harness.reopenStore();
        bookmarks->write(name, QString::fromLatin1(kAddressKey), address);
        bookmarks->write(name, QString::fromLatin1(kPasswordKey), password);
    }

    void start(const QString &commandLine = {}, std::chrono::milliseconds timeout = 5s)
    {
        StartOptions options;
        options.commandLine = commandLine;
        options.exchange.reply = timeout;
        store = harness.reopenStore();
        window = std::make_unique<Brinemoor>(services, *store, options);
    }

    template<typename T>
    T *find(const char *name)
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    void type(const QString &address) { find<QLineEdit>("server_ip")->setText(address); }
    void join() { find<QAction>("menu_join")->trigger(); }
    void getDetails(const QString &address)
    {
        type(address);
        find<QAction>("menu_update")->trigger();
    }
    void selectRow(int row) { find<QListWidget>("servers_name")->setCurrentRow(row); }
    // What the list reports for a double click, without the mouse's timing.
    void doubleClickSelectedRow()
    {
        auto *list = find<QListWidget>("servers_name");
        emit list->itemDoubleClicked(list->currentItem());
    }
    // Real mouse input on row 0 of the server list, in the shown window. Once shown, the window
    // asks every bookmark's server for its status in the background: that ends first, with the
    // first answer the test scripted.
    void showWindow()
    {
        QSignalSpy refreshed(find<StatusRefresh>("refresh"), &StatusRefresh::finished);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(refreshed.wait());
    }
    void mouseOnFirstRow(bool doubleClick = false)
    {
        auto *list = find<QListWidget>("servers_name");
        const QPoint row = list->visualItemRect(list->item(0)).center();
        if (doubleClick)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
        else
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    }
    bool idle() { return window->isEnabled() && !QGuiApplication::overrideCursor(); }
    QStringList texts() const { return harness.dialogs.texts(); }
    QStringList startedArguments()
    {
        return starter.started.isEmpty() ? QStringList() : starter.started.constLast().arguments;
    }

    WindowHarness harness;
    RecordingStarter starter;
    Services services{harness.dialogs, starter, harness.pinger};
    FakeStatusServer server;
    QString gamePath;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Brinemoor> window;
};

QStringList connectTo(const QString &address)
{
    return {QStringLiteral("+connect"), address, QStringLiteral("+password")};
}

} // namespace

class TestJoin : public QObject
{
    Q_OBJECT

private slots:
    void noGamePath_data();
    void noGamePath();
    void typedAddress_data();
    void typedAddress();
    void gameCommandLine_data();
    void gameCommandLine();
    void selectedBookmarksStatusDecides_data();
    void selectedBookmarksStatusDecides();
    void windowsProgram_data();
    void windowsProgram();
    void nothingPendingMeansNoWait_data();
    void nothingPendingMeansNoWait();
    void clickOnLoadedBookmark();
    void doubleClickWaitsForTheFirstClicksQuery();
    void doubleClickOnBadBookmarkSaysItOnce();
    void realDoubleClickOnSlowServerJoins();
    void clickOnSelectedRowReloadsEditedBookmark();
};

void TestJoin::noGamePath_data()
{
    QTest::addColumn<bool>("stored");
    QTest::newRow("nothing stored") << false;
    QTest::newRow("stored file gone") << true;
}

void TestJoin::noGamePath()
{
    QFETCH(bool, stored);
    Session session;
    if (stored) {
        QVERIFY(QFile::remove(session.gamePath));
    } else {
        session.harness.reopenStore()->deleteSection(QString::fromLatin1(kSettingsSection));
        session.harness.dialogs.cancelNext(); // start-up asks for the game
    }
    session.start();
    session.type(session.server.addressText());
    session.harness.dialogs.answerNext(Dialogs::Answer::Ok);
    session.join();
    QCOMPARE(session.texts(), QStringList{"Can not load game, no game path selected"});
    QCOMPARE(session.harness.dialogs.messages.constFirst().icon, Dialogs::Icon::Critical);
    // Datagrams arrive in order: a request from the join would come before this one.
    session.getDetails(session.server.addressText());
    QTRY_COMPARE(session.server.received.size(), 1);
}

void TestJoin::typedAddress_data()
{
    QTest::addColumn<QByteArray>("reply"); // empty: the server stays silent
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("answers late") << openServer() << QStringList{};
    QTest::newRow("silent") << QByteArray() << QStringList{"Server not responding"};
}

void TestJoin::typedAddress()
{
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, messages);
    Session session;
    if (!reply.isEmpty())
        session.server.answerNext({{reply, {}, 100ms}});
    session.start({}, 300ms);
    const QString launcherFolder = QDir::currentPath();
    session.type(session.server.addressText());
    session.harness.dialogs.answerNext(Dialogs::Answer::Ok, messages.size());
    session.join();
    QCOMPARE(session.server.received.size(), 1);
    QCOMPARE(session.texts(), messages);
    QVERIFY(session.idle());
    QCOMPARE(QDir::currentPath(), launcherFolder);
    if (!reply.isEmpty()) {
        QTRY_VERIFY(readRun(session.gamePath));
        QCOMPARE(readRun(session.gamePath)->arguments, connectTo(session.server.addressText()));
        QCOMPARE(readRun(session.gamePath)->folder, session.gameFolder());
    } else {
        QCOMPARE(session.find<QLabel>("lbl_ping")->text(), QStringLiteral("Ping: Timeout"));
        QCOMPARE(session.harness.dialogs.messages.constFirst().icon, Dialogs::Icon::Critical);
        QVERIFY(session.starter.started.isEmpty());
    }
}

void TestJoin::gameCommandLine_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("clanNickname"); // the row selected in gullwingnicks; -1: none
    QTest::addColumn<int>("inGameName");   // the row selected in codnicks; -1: none
    QTest::addColumn<QStringList>("tail"); // what the game gets after "+password"
    QTest::addColumn<QStringList>("messages");
    const QString none;
    QTest::newRow("password") << none << "secret" << -1 << -1 << QStringList{"secret"}
                              << QStringList{};
    QTest::newRow("empty password") << none << none << -1 << -1 << QStringList{} << QStringList{};
    QTest::newRow("nickname after the password")
        << none << "pw" << 0 << 0 << QStringList{"pw+set", "name", "Jimbo"} << QStringList{};
    QTest::newRow("nickname, empty password")
        << none << none << 0 << 0 << QStringList{"+set", "name", "Jimbo"} << QStringList{};
    QTest::newRow("plus in the in-game name")
        << none << none << 1 << 1 << QStringList{"+set", "name", "Jim", "quit"} << QStringList{};
    // The clan nickname alone decides whether a name is set, also when the names ran short.
    QTest::newRow("in-game names ran short")
        << none << "pw" << 1 << -1 << QStringList{"pw+set", "name"} << QStringList{};
    QTest::newRow("no clan nickname")
        << none << "pw" << -1 << 0 << QStringList{"pw"} << QStringList{};
    QTest::newRow("/debug starts nothing") << QStringLiteral("/debug") << "pw" << -1 << -1
                                           << QStringList{} << QStringList{"Launched game...."};
    QTest::newRow("/DEBUG launches")
        << QStringLiteral("/DEBUG") << "pw" << -1 << -1 << QStringList{"pw"} << QStringList{};
    QTest::newRow("/debug x launches")
        << QStringLiteral("/debug x") << "pw" << -1 << -1 << QStringList{"pw"} << QStringList{};
}

void TestJoin::gameCommandLine()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, password);
    QFETCH(int, clanNickname);
    QFETCH(int, inGameName);
    QFETCH(QStringList, tail);
    QFETCH(QStringList, messages);
    Session session;
    session.server.answerNext(openServer());
    session.start(commandLine);
    session.find<QComboBox>("gullwingnicks")->addItems({"GW|Jim", "GW|Mole"});
    session.find<QComboBox>("codnicks")->addItems({"Jimbo", "Jim +quit"});
    session.find<QComboBox>("gullwingnicks")->setCurrentIndex(clanNickname);
    session.find<QComboBox>("codnicks")->setCurrentIndex(inGameName);
    session.type(session.server.addressText());
    session.find<QLineEdit>("server_pass")->setText(password);
    session.harness.dialogs.answerNext(Dialogs::Answer::Ok, messages.size());
    session.join();
    QCOMPARE(session.texts(), messages);
    if (!messages.isEmpty()) {
        QCOMPARE(session.harness.dialogs.messages.constFirst().icon, Dialogs::Icon::None);
        QVERIFY(session.starter.started.isEmpty());
        return;
    }
    QTRY_VERIFY(readRun(session.gamePath));
    QCOMPARE(readRun(session.gamePath)->arguments, connectTo(session.server.addressText()) + tail);
}

void TestJoin::selectedBookmarksStatusDecides_data()
{
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<bool>("edited"); // the address field then names another server
    QTest::addColumn<QList<Dialogs::Answer>>("answers");
    QTest::addColumn<bool>("launches");
    const QList<Dialogs::Answer> none;
    const QList<Dialogs::Answer> retryThenCancel{Dialogs::Answer::Retry, Dialogs::Answer::Cancel};
    QTest::newRow("reply in, no new query") << openServer() << false << none << true;
    QTest::newRow("edited address launched") << openServer() << true << none << true;
    QTest::newRow("full: retry meets the same status")
        << fullServer() << false << retryThenCancel << false;
    QTest::newRow("full, though another address is typed")
        << fullServer() << true << QList<Dialogs::Answer>{Dialogs::Answer::Cancel} << false;
}

void TestJoin::selectedBookmarksStatusDecides()
{
    QFETCH(QByteArray, status);
    QFETCH(bool, edited);
    QFETCH(QList<Dialogs::Answer>, answers);
    QFETCH(bool, launches);
    Session session;
    FakeStatusServer other(3);
    session.bookmark(QStringLiteral("Harbor"), session.server.addressText(), QStringLiteral("pw"));
    session.server.answerNext(status);
    session.start();
    QSignalSpy ended(session.window.get(), &Brinemoor::exchangeEnded);
    session.selectRow(0);
    QTRY_COMPARE(ended.size(), 1);
    for (Dialogs::Answer answer : answers)
        session.harness.dialogs.answerNext(answer);
    const QString address = edited ? other.addressText() : session.server.addressText();
    session.type(address);
    session.join();

    QCOMPARE(session.texts(), QStringList(answers.size(), QStringLiteral("Server full")));
    for (const ScriptedDialogs::Shown &shown : std::as_const(session.harness.dialogs.messages)) {
        QCOMPARE(shown.buttons, Dialogs::Buttons::RetryCancel);
        QCOMPARE(shown.icon, Dialogs::Icon::None);
    }
    QCOMPARE(session.startedArguments(),
             launches ? connectTo(address) + QStringList{"pw"} : QStringList{});
    QCOMPARE(ended.size(), 1);
    QCOMPARE(session.server.received.size(), 1);
    other.answerNext(openServer());
    session.getDetails(other.addressText());
    QTRY_COMPARE(other.received.size(), 1);
}

void TestJoin::windowsProgram_data()
{
    QTest::addColumn<bool>("wineOnPath");
    QTest::addColumn<bool>("executable");
    QTest::addColumn<QString>("message"); // its beginning; empty: the game runs through wine
    QTest::newRow("wine on the PATH") << true << true << "";
    QTest::newRow("no wine on the PATH")
        << false << true << "Can not load game, wine is needed to run it and was not found";
    QTest::newRow("native program that can not run")
        << false << false << "Can not load game, it could not be started: ";
}

void TestJoin::windowsProgram()
{
    QFETCH(bool, wineOnPath);
    QFETCH(bool, executable);
    QFETCH(QString, message);
    Session session;
    session.installGame(executable ? ::windowsProgram() : QByteArray("#!/bin/sh\n"));
    if (!executable)
        QVERIFY(QFile::setPermissions(session.gamePath, QFileDevice::ReadOwner));
    const QString wine = session.harness.dirPath() + QStringLiteral("/wine");
    if (wineOnPath)
        QVERIFY(writeExecutable(wine, fakeGame()));
    const QByteArray path = qgetenv("PATH");
    const auto restorePath = qScopeGuard([&path] { qputenv("PATH", path); });
    qputenv("PATH", QFile::encodeName(session.harness.dirPath()) + (wineOnPath ? ':' + path : ""));
    qunsetenv("MESA_EXTENSION_MAX_YEAR");
    qunsetenv("__GL_ExtensionStringVersion");
    session.server.answerNext(openServer());
    session.start();
    session.type(session.server.addressText());
    if (!message.isEmpty())
        session.harness.dialogs.answerNext(Dialogs::Answer::Ok);
    session.join();
    QVERIFY(session.idle());
    if (!message.isEmpty()) {
        QCOMPARE(session.texts().size(), 1);
        QVERIFY2(session.texts().constFirst().startsWith(message), qPrintable(session.texts()[0]));
        QCOMPARE(session.harness.dialogs.messages.constFirst().icon, Dialogs::Icon::Critical);
        return;
    }
    QTRY_VERIFY(readRun(wine));
    const Run run = *readRun(wine);
    QCOMPARE(run.arguments,
             QStringList{session.gamePath} + connectTo(session.server.addressText()));
    QCOMPARE(run.folder, session.gameFolder());
    QCOMPARE(run.mesaYear, QStringLiteral("2003"));
    QCOMPARE(run.glVersion, QStringLiteral("17700"));
}

// No status and nothing pending: a selected bookmark whose address failed its check (so its query
// was never sent) and has been corrected in the field since, or a local port already taken.
void TestJoin::nothingPendingMeansNoWait_data()
{
    QTest::addColumn<bool>("portHeld");
    QTest::addColumn<int>("launches");
    QTest::newRow("bad bookmark, field corrected: asked now") << false << 1;
    QTest::newRow("port taken: the query's own message only") << true << 0;
}

void TestJoin::nothingPendingMeansNoWait()
{
    QFETCH(bool, portHeld);
    QFETCH(int, launches);
    Session session;
    QUdpSocket holder;
    if (portHeld)
        QVERIFY(holder.bind(QHostAddress(QStringLiteral("127.0.0.1")), session.server.port()));
    else
        session.bookmark(QStringLiteral("Typo"), QStringLiteral("127.0.0.2"));
    session.server.answerNext(openServer());
    session.start();
    session.harness.dialogs.answerNext(Dialogs::Answer::Ok);
    if (!portHeld)
        session.selectRow(0);
    session.type(session.server.addressText());
    // A wait with nothing pending would never end; this ends it and fails the test.
    bool waitedInVain = false;
    QTimer::singleShot(2s, session.window.get(), [&waitedInVain, &session] {
        waitedInVain = true;
        emit session.window->exchangeEnded();
    });
    session.join();
    QVERIFY(!waitedInVain);
    QCOMPARE(session.texts().size(), 1); // the check's message, or the platform's on the bind
    QCOMPARE(session.starter.started.size(), launches);
    QVERIFY(session.idle());
}

void TestJoin::clickOnLoadedBookmark()
{
    Session session;
    session.bookmark(QStringLiteral("Harbor"), session.server.addressText(), QStringLiteral("pw"));
    session.bookmark(QStringLiteral("Harbor too"), session.server.addressText());
    session.server.answerNext(openServer());
    session.server.answerNext(openServer());
    session.start();
    session.selectRow(0);
    QTRY_VERIFY(session.idle());
    session.find<QLineEdit>("server_pass")->setText(QStringLiteral("edited"));
    session.find<QListWidget>("servers_name")->clearSelection();
    session.selectRow(0);
    QVERIFY(session.idle()); // no query: it would disable the window
    QCOMPARE(session.find<QLineEdit>("server_pass")->text(), QStringLiteral("edited"));
    session.selectRow(1);
    QTRY_COMPARE(session.server.received.size(), 2);
    QCOMPARE(session.find<QListWidget>("servers_ip")->currentRow(), 1);
    QCOMPARE(session.find<QListWidget>("servers_pass")->currentRow(), 1);
}

void TestJoin::doubleClickWaitsForTheFirstClicksQuery()
{
    Session session;
    session.bookmark(QStringLiteral("Harbor"), session.server.addressText());
    session.server.answerNext({{openServer(), {}, 100ms}});
    session.start();
    session.selectRow(0);
    QVERIFY(!session.window->isEnabled()); // the first click's query is pending
    session.doubleClickSelectedRow();
    QCOMPARE(session.server.received.size(), 1);
    QCOMPARE(session.starter.started.size(), 1);
    QVERIFY(session.idle());
}

void TestJoin::doubleClickOnBadBookmarkSaysItOnce()
{
    Session session;
    session.bookmark(QStringLiteral("Typo"), QStringLiteral("127.0.0.2"));
    session.start();
    session.harness.dialogs.answerNext(Dialogs::Answer::Ok);
    session.selectRow(0);
    session.doubleClickSelectedRow();
    QCOMPARE(session.texts(), QStringList{"You must have a server port with the ip (ip:port)"});
    QVERIFY(session.harness.pinger.hosts.isEmpty());
    QVERIFY(session.starter.started.isEmpty());
}

// The second click lands while the first click's query holds the window disabled.
void TestJoin::realDoubleClickOnSlowServerJoins()
{
    Session session;
    session.bookmark(QStringLiteral("Harbor"), session.server.addressText());
    session.server.answerNext(openServer()); // the list's refresh
    session.server.answerNext({{openServer(), {}, 300ms}});
    session.start();
    session.showWindow();
    session.mouseOnFirstRow();
    QVERIFY(!session.window->isEnabled());
    // A second double click while the join waits must not start a second game.
    QTimer::singleShot(100ms, session.window.get(), [&session] { session.mouseOnFirstRow(true); });
    session.mouseOnFirstRow(true);
    QTRY_COMPARE(session.starter.started.size(), 1);
    QCOMPARE(session.server.received.size(), 2);
    QVERIFY(session.idle());
}

// A press on the row that is already selected changes no selection, but it is a click all the same.
void TestJoin::clickOnSelectedRowReloadsEditedBookmark()
{
    Session session;
    session.bookmark(QStringLiteral("Harbor"), session.server.addressText());
    for (int answer = 0; answer < 3; ++answer) // the list's refresh, then two clicks
        session.server.answerNext(openServer());
    session.start();
    session.showWindow();
    session.mouseOnFirstRow();
    QTRY_VERIFY(session.idle());
    session.mouseOnFirstRow();
    QVERIFY(session.idle()); // still loaded: no second query
    session.type(QStringLiteral("127.0.0.3:1024"));
    session.mouseOnFirstRow();
    QTRY_COMPARE(session.server.received.size(), 3);
    QCOMPARE(session.find<QLineEdit>("server_ip")->text(), session.server.addressText());
    QTRY_VERIFY(session.idle());
}

QTEST_MAIN(TestJoin)
#include "tst_join.moc"
