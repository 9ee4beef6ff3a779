// SPDX-License-Identifier: GPL-3.0-or-later
// The join command and the bookmark list's click and double click on the main window, against a
// fake server on loopback, with the game as a real child process: a script that writes down how
// it was started.
#include "bookmarks/bookmarkmodel.h"
#include "fakestatusserver.h"
#include "longfriendlist.h"
#include "friends/friendsettings.h"
#include "query/statusrefresh.h"
#include "settings/appsettings.h"
#include "windowharness.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScopeGuard>
#include <QtEndian>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

QByteArray openServer()
{
    return FakeStatusServer::statusReply({R"(\g_gametype\dm\sv_maxclients\16)", R"(5 40 "Bob")"});
}

QByteArray fullServer(const QString &hostname = {})
{
    const QString info = R"(\sv_maxclients\2)"
        + (hostname.isEmpty() ? "" : R"(\sv_hostname\)" + hostname);
    return FakeStatusServer::statusReply({info, R"(5 40 "Bob")", R"(0 9 "Al")"});
}

// One player on two slots, and the other slot reserved.
QByteArray reservedSlotFree()
{
    return FakeStatusServer::statusReply(
        {R"(\sv_maxclients\2\sv_privateClients\1)", R"(5 40 "Bob")"});
}

QByteArray windowsProgram(quint16 machine)
{
    QByteArray head(0x100, '\0');
    head.replace(0, 2, "MZ");
    qToLittleEndian<quint32>(0x80, head.data() + 0x3C);
    head.replace(0x80, 4, QByteArray("PE\0\0", 4));
    qToLittleEndian<quint16>(machine, head.data() + 0x84);
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
    QFile program(QStringLiteral(BRINEMOOR_FAKEGAME));
    return program.open(QIODevice::ReadOnly) ? program.readAll() : QByteArray();
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
    return Run{QDir::fromNativeSeparators(lines.value(0)), lines.value(1), lines.value(2),
               lines.mid(3, lines.size() - 4)};
}

#ifdef Q_OS_WIN
// The command line as the fake game found it: on Windows the game reads that text itself.
QString commandLineOf(const QString &program)
{
    QFile file(program + QStringLiteral(".commandline"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).chopped(1)
                                          : QString();
}
#endif

// A stand-in for wine off Windows: a script that runs `before`, then the fake game beside it
// ("wine.bin"), which writes down how wine was started.
QByteArray fakeWine(const QByteArray &before = {})
{
    return "#!/bin/sh\n" + before + "exec \"$0.bin\" \"$@\"\n";
}

// What Debian's wine says, and how it ends, when it has no 32-bit part: the fake game follows.
QByteArray wineWithoutWine32()
{
    return fakeWine("echo 'it looks like wine32 is missing, you should install it.' >&2\n");
}

// `delay`: how long it runs first, in seconds.
QByteArray failingWine(const char *delay = "0")
{
    return QByteArray("#!/bin/sh\nsleep ") + delay
        + "\n"
          "echo 'starting'\n"
          "echo 'wine: could not load kernel32.dll, status c0000135' >&2\n"
          "exit 3\n";
}

// Passes every start on to the real process starter and keeps the processes handed to it.
class RecordingStarter final : public GameStarter
{
public:
    std::unique_ptr<LaunchWatch> start(const ProcessStart &process,
                                       std::chrono::milliseconds watch) override
    {
        started.append(process);
        return m_real.start(process, watch);
    }

    QList<ProcessStart> started;

private:
    ProcessGameStarter m_real;
};

// Every line of the "brinemoor.launch" log while it lives, passed on to the handler before it.
class LaunchLog
{
public:
    LaunchLog()
    {
        lines.clear();
        s_previous = qInstallMessageHandler(&LaunchLog::record);
    }
    ~LaunchLog() { qInstallMessageHandler(s_previous); }

    static inline QStringList lines;

private:
    static void record(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (qstrcmp(context.category, "brinemoor.launch") == 0)
            lines.append(text);
        s_previous(type, context, text);
    }

    static inline QtMessageHandler s_previous = nullptr;
};

// A window on a fresh store whose game is the fake game in a folder with a blank in its name,
// and a fake server on 127.0.0.2.
class JoinSession
{
public:
    JoinSession() { installGame(fakeGame()); }
    // A started game writes into the temporary folder: let it end before the folder goes.
    ~JoinSession()
    {
        if (!starter.started.isEmpty() && !QTest::qWaitFor([this] { return idle(); }))
            qWarning("the game's start was still watched");
    }

    void installGame(const QByteArray &content)
    {
        QVERIFY(QDir(harness.dirPath()).mkpath(QStringLiteral("Call of Duty")));
        gamePath = gameFolder() + QStringLiteral("/CoDMP.exe");
        QVERIFY(writeExecutable(gamePath, content));
        AppSettings(*harness.reopenStore()).setGamePath(gamePath);
    }
    QString gameFolder() const { return harness.dirPath() + QStringLiteral("/Call of Duty"); }

    void bookmark(const QString &name, const QString &address, const QString &password = {})
    {
        const std::unique_ptr<KeyValueStore> bookmarks = harness.reopenStore();
        bookmarks->write(name, QStringLiteral("ip"), address);
        bookmarks->write(name, QStringLiteral("password"), password);
    }

    void start(const QString &commandLine = {}, std::chrono::milliseconds timeout = 5s,
               SlotWaitBounds slotWait = {})
    {
        StartOptions options;
        options.commandLine = commandLine;
        options.exchange.reply = timeout;
        options.slotWait = slotWait;
        options.joinRequest = joinRequest;
        window = &harness.start(options, &services);
    }

    template<typename T>
    T *find(const char *name)
    {
        return window->findChild<T *>(QLatin1String(name));
    }

    void type(const QString &address) { find<QLineEdit>("server_ip")->setText(address); }
    void join() { find<QAction>("menu_join")->trigger(); }
    void getDetails(const QString &address) { harness.getDetails(address); }
    void selectRow(int row) { harness.selectBookmark(row); }
    // What the list reports for a double click, without the mouse's timing.
    void doubleClickSelectedRow()
    {
        QListView *list = harness.bookmarkList();
        emit list->doubleClicked(list->currentIndex());
    }
    // Real mouse input on row 0 of the server list, in the shown window. Once shown, the window
    // asks every bookmark's server for its status in the background: that ends first, with the
    // first answer the test scripted.
    void showWindow()
    {
        QSignalSpy refreshed(find<StatusRefresh>("refresh"), &StatusRefresh::finished);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(refreshed.wait());
    }
    void mouseOnFirstRow(bool doubleClick = false)
    {
        QListView *list = harness.bookmarkList();
        const QPoint row = harness.bookmarkCentre(0);
        if (doubleClick)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
        else
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    }
    bool idle() { return harness.idle(); }
    QStringList texts() const { return harness.dialogs.texts(); }
    QStringList startedArguments()
    {
        return starter.started.isEmpty() ? QStringList() : starter.started.constLast().arguments;
    }

    WindowHarness harness;
    RecordingStarter starter;
    Services services{harness.dialogs, starter, harness.pinger, harness.notifier};
    FakeStatusServer server;
    QString gamePath;
    QString joinRequest; // "%1" stands for the server's address
    Brinemoor *window = nullptr;
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
    void otherGamesProgram_data();
    void otherGamesProgram();
    void typedAddress_data();
    void typedAddress();
    void gameCommandLine_data();
    void gameCommandLine();
    void selectedBookmarksStatusDecides_data();
    void selectedBookmarksStatusDecides();
    void windowsProgram_data();
    void windowsProgram();
    void slotWait_data();
    void slotWait();
    void nothingPendingMeansNoWait_data();
    void nothingPendingMeansNoWait();
    void joinLink_data();
    void joinLink();
    void recentServerJoinsAgain();
    void clickOnLoadedBookmark();
    void doubleClickWaitsForTheFirstClicksQuery();
    void doubleClickOnBadBookmarkSaysItOnce();
    void friendsNotificationJoinsTheirBookmark_data();
    void friendsNotificationJoinsTheirBookmark();
    void realDoubleClickOnSlowServerJoins();
    void clickOnSelectedRowReloadsEditedBookmark();
    void enterOnBookmarkJoins_data();
    void enterOnBookmarkJoins();
    void gameOutputIsBoundedAndItsFolderGoes_data();
    void gameOutputIsBoundedAndItsFolderGoes();
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
    JoinSession session;
    if (stored) {
        QVERIFY(QFile::remove(session.gamePath));
    } else {
        session.harness.reopenStore()->deleteSection(AppSettings::sectionName());
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
    QTest::addColumn<QString>("name");     // in the name field
    QTest::addColumn<QStringList>("messages");
    const QString none;
    const QString oldName = QStringLiteral("Old name");
    const QString rename = QStringLiteral("Update Server Name?");
    QTest::newRow("answers late") << openServer() << none << QStringList{};
    QTest::newRow("silent") << QByteArray() << none << QStringList{"Server not responding"};
    // OK saves the bookmark under the server's name, and the save empties fields and labels.
    QTest::newRow("renamed on the way, then joined")
        << FakeStatusServer::statusReply({R"(\sv_hostname\Harbor\sv_maxclients\8)"}) << oldName
        << QStringList{rename};
    QTest::newRow("renamed on the way, then found full")
        << fullServer(QStringLiteral("Harbor")) << oldName << QStringList{rename, "Server full"};
}

void TestJoin::typedAddress()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, name);
    QFETCH(QStringList, messages);
    JoinSession session;
    if (!reply.isEmpty())
        session.server.answerNext({{reply, {}, 100ms}});
    session.start({}, 300ms);
    const QString launcherFolder = QDir::currentPath();
    session.find<QLineEdit>("server_name")->setText(name);
    session.type(session.server.addressText());
    session.find<QLineEdit>("server_pass")->setText(QStringLiteral("pw"));
    for (const QString &message : std::as_const(messages))
        session.harness.dialogs.answerNext(message == QLatin1String("Server full")
                                               ? Dialogs::Answer::Cancel
                                               : Dialogs::Answer::Ok);
    session.join();
    QCOMPARE(session.server.received.size(), 1);
    QCOMPARE(session.texts(), messages);
    QTRY_VERIFY(session.idle());
    QCOMPARE(QDir::currentPath(), launcherFolder);
    if (!name.isEmpty())
        QVERIFY(session.find<QLineEdit>("server_ip")->text().isEmpty()); // the save ran
    if (reply.isEmpty()) {
        QCOMPARE(session.find<QLabel>("lbl_ping")->text(), QStringLiteral("Ping: Timeout"));
        QCOMPARE(session.harness.dialogs.messages.constFirst().icon, Dialogs::Icon::Critical);
    }
    if (!messages.isEmpty() && messages.constLast() != QLatin1String("Update Server Name?")) {
        QVERIFY(session.starter.started.isEmpty());
        return;
    }
    QTRY_VERIFY(readRun(session.gamePath));
    QCOMPARE(readRun(session.gamePath)->arguments,
             connectTo(session.server.addressText()) + QStringList{"pw"});
    QCOMPARE(readRun(session.gamePath)->folder, session.gameFolder());
#ifdef Q_OS_WIN
    // Quoted, since a folder with a blank would otherwise name another program.
    QCOMPARE(commandLineOf(session.gamePath),
             u'"' + QDir::toNativeSeparators(session.gamePath) + u'"' + " +connect "
                 + session.server.addressText() + " +password pw");
#endif
}

void TestJoin::gameCommandLine_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("clanNickname"); // the clan nickname found; -1: none
    QTest::addColumn<int>("inGameName");   // the in-game names beside it; -1: they ran short
    QTest::addColumn<QStringList>("tail"); // what the game gets after "+password"
    QTest::addColumn<QStringList>("messages");
    const QString none;
    QTest::newRow("password") << none << "secret" << -1 << -1 << QStringList{"secret"}
                              << QStringList{};
    QTest::newRow("password with a blank")
        << none << "se cret" << -1 << -1 << QStringList{"se", "cret"} << QStringList{};
    QTest::newRow("empty password") << none << none << -1 << -1 << QStringList{} << QStringList{};
    QTest::newRow("nickname after the password")
        << none << "pw-x" << 0 << 0 << QStringList{"pw-x+set", "name", "Jimbo"} << QStringList{};
    QTest::newRow("nickname, empty password")
        << none << none << 0 << 0 << QStringList{"+set", "name", "Jimbo"} << QStringList{};
    QTest::newRow("plus in the in-game name")
        << none << none << 1 << 1 << QStringList{"+set", "name", "Jim", "quit"} << QStringList{};
    // The clan nickname alone decides whether a name is set, also when the names ran short.
    QTest::newRow("in-game names ran short")
        << none << "pw-x" << 1 << -1 << QStringList{"pw-x+set", "name"} << QStringList{};
    QTest::newRow("no clan nickname")
        << none << "pw-x" << -1 << 0 << QStringList{"pw-x"} << QStringList{};
    QTest::newRow("/debug starts nothing") << QStringLiteral("/debug") << "pw-x" << -1 << -1
                                           << QStringList{} << QStringList{"Launched game...."};
    QTest::newRow("/DEBUG launches")
        << QStringLiteral("/DEBUG") << "pw-x" << -1 << -1 << QStringList{"pw-x"} << QStringList{};
    QTest::newRow("/debug x launches")
        << QStringLiteral("/debug x") << "pw-x" << -1 << -1 << QStringList{"pw-x"} << QStringList{};
}

void TestJoin::gameCommandLine()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, password);
    QFETCH(int, clanNickname);
    QFETCH(int, inGameName);
    QFETCH(QStringList, tail);
    QFETCH(QStringList, messages);
    JoinSession session;
    session.server.answerNext(openServer());
    session.start(commandLine);
    if (clanNickname >= 0) {
        const QStringList names{"Jimbo", "Jim +quit"};
        session.window->showClanNicknames({{"GW|Jim", "GW|Mole"},
                                           inGameName < 0 ? names.first(clanNickname) : names,
                                           clanNickname});
    }
    session.type(session.server.addressText());
    session.find<QLineEdit>("server_pass")->setText(password);
    session.harness.dialogs.answerNext(Dialogs::Answer::Ok, messages.size());
    const LaunchLog log;
    session.join();
    QCOMPARE(session.texts(), messages);
    // The password is never logged, nor any part of it.
    for (const QString &logged : LaunchLog::lines) {
        QVERIFY2(password.isEmpty() || !logged.contains(password.section(u' ', -1)),
                 qPrintable(logged));
        QVERIFY2(!logged.startsWith(QStringLiteral("starting"))
                     || logged.contains(QStringLiteral("\"+password\", \"***\")")),
                 qPrintable(logged));
    }
    if (!messages.isEmpty()) {
        QCOMPARE(session.harness.dialogs.messages.constFirst().icon, Dialogs::Icon::None);
        QVERIFY(session.starter.started.isEmpty());
        return;
    }
    QTRY_VERIFY(readRun(session.gamePath));
    QCOMPARE(readRun(session.gamePath)->arguments, connectTo(session.server.addressText()) + tail);
}

// A bookmark of another game starts that game's program, which the file dialog asks for once and
// the store keeps; with none chosen nothing starts and nothing more is said.
void TestJoin::otherGamesProgram_data()
{
    QTest::addColumn<bool>("chosen");
    QTest::newRow("chosen") << true;
    QTest::newRow("dialog cancelled") << false;
}

void TestJoin::otherGamesProgram()
{
    QFETCH(bool, chosen);
    JoinSession session;
    const QString program = QDir::toNativeSeparators(session.gameFolder() + "/CoD2MP_s.exe");
    QVERIFY(writeExecutable(program, fakeGame()));
    session.bookmark(QStringLiteral("Dunes"), session.server.addressText());
    session.harness.reopenStore()->write(QStringLiteral("Dunes"), QStringLiteral("game"),
                                         QStringLiteral("cod2"));
    session.server.answerNext(openServer());
    session.start();
    if (chosen)
        session.harness.dialogs.chooseFile(program);
    else
        session.harness.dialogs.cancelNext();
    session.selectRow(0);
    session.join();
    QTRY_VERIFY(session.idle());
    QCOMPARE(session.harness.dialogs.fileDialogs.size(), 1);
    QCOMPARE(session.harness.dialogs.fileDialogs.constFirst().title,
             QStringLiteral("Select CoD2MP_s.exe"));
    QVERIFY(session.texts().isEmpty());
    QCOMPARE(AppSettings(*session.harness.reopenStore()).gamePath(GameId::Cod2),
             chosen ? program : QString());
    QCOMPARE(session.starter.started.size(), chosen ? 1 : 0);
    if (chosen)
        QCOMPARE(session.startedArguments().mid(0, 2),
                 connectTo(session.server.addressText()).mid(0, 2));
}

void TestJoin::selectedBookmarksStatusDecides_data()
{
    QTest::addColumn<QList<QByteArray>>("statuses"); // the server's answers, one per query
    QTest::addColumn<bool>("edited");                // the address field then names another server
    QTest::addColumn<bool>("portDeleted");           // and has lost its port
    QTest::addColumn<QList<Dialogs::Answer>>("answers");
    QTest::addColumn<bool>("launches");
    const QList<Dialogs::Answer> none;
    const QList<Dialogs::Answer> retryThenCancel{Dialogs::Answer::Retry, Dialogs::Answer::Cancel};
    const QList<QByteArray> open{openServer()};
    const QList<QByteArray> full{fullServer()};
    QTest::newRow("reply in, no new query") << open << false << false << none << true;
    QTest::newRow("edited address launched") << open << true << false << none << true;
    // The check of the field refuses it; the bookmark's good status must not start the game.
    QTest::newRow("edited into an invalid address") << open << false << true << none << false;
    QTest::newRow("full: retry asks again and joins")
        << full + open << false << false << QList<Dialogs::Answer>{Dialogs::Answer::Retry} << true;
    QTest::newRow("full: retry asks again, still full")
        << full + full << false << false << retryThenCancel << false;
    QTest::newRow("full, though another address is typed")
        << full << true << false << QList<Dialogs::Answer>{Dialogs::Answer::Cancel} << false;
}

void TestJoin::selectedBookmarksStatusDecides()
{
    QFETCH(QList<QByteArray>, statuses);
    QFETCH(bool, edited);
    QFETCH(bool, portDeleted);
    QFETCH(QList<Dialogs::Answer>, answers);
    QFETCH(bool, launches);
    JoinSession session;
    FakeStatusServer other(3);
    session.bookmark(QStringLiteral("Harbor"), session.server.addressText(), QStringLiteral("pw"));
    for (const QByteArray &status : std::as_const(statuses))
        session.server.answerNext(status);
    session.start();
    QSignalSpy ended(session.window, &Brinemoor::exchangeEnded);
    session.selectRow(0);
    QTRY_COMPARE(ended.size(), 1);
    for (Dialogs::Answer answer : answers)
        session.harness.dialogs.answerNext(answer);
    QString address = edited ? other.addressText() : session.server.addressText();
    if (portDeleted)
        address.truncate(address.indexOf(u':'));
    session.type(address);
    session.join();

    QCOMPARE(session.texts(), QStringList(answers.size(), QStringLiteral("Server full")));
    for (const ScriptedDialogs::Shown &shown : std::as_const(session.harness.dialogs.messages)) {
        QCOMPARE(shown.buttons, Dialogs::Buttons::RetryCancel);
        QCOMPARE(shown.icon, Dialogs::Icon::None);
        QCOMPARE(shown.checkBox, QStringLiteral("Join when a slot frees"));
    }
    QCOMPARE(session.startedArguments(),
             launches ? connectTo(address) + QStringList{"pw"} : QStringList{});
    QCOMPARE(ended.size(), statuses.size());
    QCOMPARE(session.server.received.size(), statuses.size());
    other.answerNext(openServer());
    session.getDetails(other.addressText());
    QTRY_COMPARE(other.received.size(), 1);
}

void TestJoin::windowsProgram_data()
{
    QTest::addColumn<QByteArray>("wineScript"); // empty: no wine on the PATH
    QTest::addColumn<int>("machine");           // -1: no Windows program
    QTest::addColumn<QString>("message");       // its beginning; empty: the game runs through wine
    QTest::addColumn<QString>("detail");        // further down in the message
    const int i386 = 0x014c;
    const int amd64 = 0x8664;
    QTest::newRow("wine on the PATH") << fakeWine() << i386 << ""
                                      << "";
    QTest::newRow("no wine on the PATH")
        << QByteArray() << i386 << "Can not load game, wine is needed to run it and was not found"
        << "";
    QTest::newRow("native program that can not run")
        << QByteArray() << -1 << "Can not load game, it could not be started: "
        << "";
    QTest::newRow("32-bit game, wine without its 32-bit part")
        << wineWithoutWine32() << i386
        << "Can not load game, it is a 32-bit Windows program and this Wine can not run 32-bit "
           "programs (wine32 is missing)."
        << "dpkg --add-architecture i386\napt-get update\napt-get install wine32:i386";
    QTest::newRow("64-bit game, wine without its 32-bit part") << wineWithoutWine32() << amd64 << ""
                                                               << "";
    QTest::newRow("wine that fails")
        << failingWine() << i386 << "Can not load game, it stopped at once with exit status 3: "
        << "\n\nstarting\nwine: could not load kernel32.dll, status c0000135";
    QTest::newRow("wine that fails after a while, within the watch")
        << failingWine("1.5") << i386
        << "Can not load game, it stopped at once with exit status 3: "
        << "\n\nstarting\nwine: could not load kernel32.dll, status c0000135";
}

void TestJoin::windowsProgram()
{
    QFETCH(QByteArray, wineScript);
    QFETCH(int, machine);
    QFETCH(QString, message);
    QFETCH(QString, detail);
#ifdef Q_OS_WIN
    QSKIP("Windows runs Windows programs itself: the game never goes through wine there");
#endif
    const bool wineOnPath = !wineScript.isEmpty();
    JoinSession session;
    session.installGame(machine >= 0 ? ::windowsProgram(quint16(machine))
                                     : QByteArray("#!/bin/sh\n"));
    if (machine < 0)
        QVERIFY(QFile::setPermissions(session.gamePath, QFileDevice::ReadOwner));
    const QString wine = session.harness.dirPath() + QStringLiteral("/wine");
    if (wineOnPath) {
        QVERIFY(writeExecutable(wine, wineScript));
        QVERIFY(writeExecutable(wine + QStringLiteral(".bin"), fakeGame()));
    }
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
    QTRY_VERIFY(session.idle());
    if (!message.isEmpty()) {
        QCOMPARE(session.texts().size(), 1);
        const QString shown = session.texts().constFirst();
        QVERIFY2(shown.startsWith(message) && shown.endsWith(detail), qPrintable(shown));
        QCOMPARE(session.harness.dialogs.messages.constFirst().icon, Dialogs::Icon::Critical);
        return;
    }
    QVERIFY(session.texts().isEmpty());
    QTRY_VERIFY(readRun(wine + QStringLiteral(".bin")));
    const Run run = *readRun(wine + QStringLiteral(".bin"));
    QCOMPARE(run.arguments,
             QStringList{session.gamePath} + connectTo(session.server.addressText()));
    QCOMPARE(run.folder, session.gameFolder());
    QCOMPARE(run.mesaYear, QStringLiteral("2003"));
    QCOMPARE(run.glVersion, QStringLiteral("17700"));
}

// Retry with "Join when a slot frees" ticked: the server is asked again and again beside the
// window, until a slot frees or something ends the wait.
void TestJoin::slotWait_data()
{
    QTest::addColumn<QList<QByteArray>>("answers"); // to the wait's questions
    QTest::addColumn<QString>("ending");            // what the user does once the wait runs
    QTest::addColumn<int>("launches");
    const QList<QByteArray> open(3, openServer());
    QTest::newRow("full, then only a reserved slot, then free: one start")
        << QList<QByteArray>{fullServer(), reservedSlotFree(), openServer(), openServer()} << ""
        << 1;
    QTest::newRow("a join by hand ends it") << open << "join" << 0;
    QTest::newRow("a click on another bookmark ends it") << open << "click" << 0;
    QTest::newRow("a click on the awaited bookmark keeps it") << open << "click same" << 1;
    QTest::newRow("Escape ends it") << open << "escape" << 0;
    QTest::newRow("no slot within the limit") << QList<QByteArray>(40, fullServer()) << "" << 0;
}

void TestJoin::slotWait()
{
    QFETCH(QList<QByteArray>, answers);
    QFETCH(QString, ending);
    QFETCH(int, launches);
    const SlotWaitBounds bounds{50ms, 400ms};
    JoinSession session;
    FakeStatusServer other(3);
    session.bookmark(QStringLiteral("Harbor"), session.server.addressText(), QStringLiteral("pw"));
    session.bookmark(QStringLiteral("Other"), other.addressText());
    session.server.answerNext(fullServer()); // the list's refresh
    session.server.answerNext(fullServer());
    for (const QByteArray &answer : std::as_const(answers))
        session.server.answerNext(answer);
    other.answerNext(openServer()); // the list's refresh
    other.answerNext(openServer());
    session.start({}, 5s, bounds);
    session.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(session.window));
    session.selectRow(0);
    QTRY_VERIFY(session.idle());
    session.harness.dialogs.answerNextTicked(Dialogs::Answer::Retry);
    session.join();
    const QString title = WindowHarness::versionTitle();
    QCOMPARE(session.window->windowTitle(), title + " - waiting for a slot on Harbor");
    QVERIFY(session.idle());

    // Each ends the wait before its first answer can come in.
    if (ending == QLatin1String("join")) {
        session.harness.dialogs.answerNext(Dialogs::Answer::Cancel);
        session.join();
    } else if (ending == QLatin1String("click")) {
        session.selectRow(1);
    } else if (ending == QLatin1String("click same")) {
        session.mouseOnFirstRow();
    } else if (ending == QLatin1String("escape")) {
        QWidget *focused = session.window->focusWidget();
        QTest::keyClick(focused ? focused : session.window, Qt::Key_Escape);
    }
    QTRY_COMPARE_WITH_TIMEOUT(session.window->windowTitle(), title, 3000);
    QTRY_COMPARE(session.starter.started.size(), launches);
    // No start may follow, nor any further question: let the questions already sent arrive, then
    // give the wait's timer its chances.
    QTRY_VERIFY(session.server.received.size() >= 3);
    QCoreApplication::processEvents();
    const qsizetype asked = session.server.received.size();
    QTest::qWait(4 * bounds.interval.count());
    QCOMPARE(session.starter.started.size(), launches);
    QCOMPARE(session.server.received.size(), asked);
    if (launches) {
        // The list's refresh, the click's query, then the wait's up to the first free slot.
        QCOMPARE(asked, 2 + answers.indexOf(openServer()) + 1);
        QCOMPARE(session.startedArguments(),
                 connectTo(session.server.addressText()) + QStringList{"pw"});
        // The wait's answers never reached the window's display.
        QCOMPARE(session.find<QLabel>("lbl_players")->text(), QStringLiteral("Players: 2/2"));
    }
}

// No status and nothing pending: a selected bookmark whose address failed its check (so its query
// was never sent) and has been corrected in the field since, or a local port already taken.
void TestJoin::nothingPendingMeansNoWait_data()
{
    QTest::addColumn<bool>("portHeld");
    QTest::addColumn<QString>("bookmark"); // its address; "%1": the server's; empty: none
    QTest::addColumn<int>("launches");
    QTest::newRow("bad bookmark, field corrected: asked now") << false << "127.0.0.2" << 1;
    QTest::newRow("port taken: the query's own message only") << true << "" << 0;
    QTest::newRow("port taken, bookmark selected: said once") << true << "%1" << 0;
}

void TestJoin::nothingPendingMeansNoWait()
{
    QFETCH(bool, portHeld);
    QFETCH(QString, bookmark);
    QFETCH(int, launches);
    JoinSession session;
    QUdpSocket holder;
    if (portHeld)
        QVERIFY(holder.bind(QHostAddress(QStringLiteral("127.0.0.1")), session.server.port()));
    if (!bookmark.isEmpty())
        session.bookmark(QStringLiteral("Harbor"),
                         bookmark.contains(u'%') ? bookmark.arg(session.server.addressText())
                                                 : bookmark);
    session.server.answerNext(openServer());
    session.start();
    session.harness.dialogs.answerNext(Dialogs::Answer::Ok);
    if (!bookmark.isEmpty())
        session.selectRow(0);
    session.type(session.server.addressText());
    // A wait with nothing pending would never end; this ends it and fails the test.
    bool waitedInVain = false;
    QTimer::singleShot(2s, session.window, [&waitedInVain, &session] {
        waitedInVain = true;
        emit session.window->exchangeEnded();
    });
    session.join();
    QVERIFY(!waitedInVain);
    QCOMPARE(session.texts().size(), 1); // the check's message, or the platform's on the bind
    QCOMPARE(session.starter.started.size(), launches);
    QTRY_VERIFY(session.idle());
}

// "%1" is the fake server's address. A bookmark on it, when named, has the password "pw-b".
void TestJoin::joinLink_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("bookmark");
    QTest::addColumn<Dialogs::Answer>("answer");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QStringList>("tail"); // what the game gets after "+password"; none: no start
    const QString none;
    const auto yes = Dialogs::Answer::Yes;
    QTest::newRow("link with a password")
        << "cod://%1/?password=pw-x" << none << yes << "Join %1?" << QStringList{"pw-x"};
    QTest::newRow("a bookmark's address, its password")
        << "cod://%1"
        << "Harbor" << yes << "Join Harbor (%1)?" << QStringList{};
    QTest::newRow("--join's address, declined")
        << "%1" << none << Dialogs::Answer::No << "Join %1?" << QStringList{"no start"};
    QTest::newRow("no server address")
        << "cod://harbor.example:28960" << none << Dialogs::Answer::Ok
        << "Not a server address: cod://harbor.example:28960" << QStringList{"no start"};
}

// A link is asked about before anything is sent; a yes joins as [ Join Game ] does.
void TestJoin::joinLink()
{
    QFETCH(QString, request);
    QFETCH(QString, bookmark);
    QFETCH(Dialogs::Answer, answer);
    QFETCH(QString, asked);
    QFETCH(QStringList, tail);
    JoinSession session;
    const QString address = session.server.addressText();
    if (!bookmark.isEmpty()) {
        session.bookmark(bookmark, address, QStringLiteral("pw-b"));
        tail = {QStringLiteral("pw-b")};
    }
    session.server.answerNext(openServer());
    session.harness.dialogs.answerNext(answer);
    session.joinRequest = request.arg(address);
    session.start();
    QTRY_COMPARE(session.texts(), QStringList{asked.arg(address)});
    if (tail == QStringList{"no start"}) {
        QTest::qWait(50);
        QVERIFY(session.starter.started.isEmpty());
        QVERIFY(session.server.received.isEmpty());
        return;
    }
    QTRY_VERIFY(readRun(session.gamePath));
    QCOMPARE(readRun(session.gamePath)->arguments, connectTo(address) + tail);
}

// A start puts the server first in `recent`, named as the server named itself; the list's "Recent
// servers" menu shows it and joins it again.
void TestJoin::recentServerJoinsAgain()
{
    JoinSession session;
    const QString address = session.server.addressText();
    const QByteArray harbor = FakeStatusServer::statusReply({R"(\sv_hostname\^1Harbor)"});
    session.server.answerNext(harbor);
    session.server.answerNext(harbor);
    session.start();
    session.type(address);
    session.join();
    QTRY_COMPARE(session.starter.started.size(), 1);
    const QList<RecentServer> recent = AppSettings(*session.harness.reopenStore()).recentServers();
    QCOMPARE(recent.size(), 1);
    QCOMPARE(recent.first().address, address);
    QCOMPARE(recent.first().name, QStringLiteral("Harbor"));

    QMenu *menu = nullptr;
    for (QAction *action : session.harness.bookmarkList()->actions())
        menu = action->menu() ? action->menu() : menu;
    QVERIFY(menu);
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->text(), QStringLiteral(u"Harbor \u2014 less than 1 min ago"));
    session.find<QLineEdit>("server_ip")->clear();
    menu->actions().first()->trigger();
    QTRY_COMPARE(session.starter.started.size(), 2);
    QCOMPARE(session.startedArguments(), connectTo(address));
    QTRY_VERIFY(session.idle());
}

void TestJoin::clickOnLoadedBookmark()
{
    JoinSession session;
    session.bookmark(QStringLiteral("Harbor"), session.server.addressText(), QStringLiteral("pw"));
    session.bookmark(QStringLiteral("Harbor too"), session.server.addressText());
    session.server.answerNext(openServer());
    session.server.answerNext(openServer());
    session.start();
    session.selectRow(0);
    QTRY_VERIFY(session.idle());
    session.find<QLineEdit>("server_pass")->setText(QStringLiteral("edited"));
    session.harness.bookmarkList()->clearSelection();
    session.selectRow(0);
    QVERIFY(session.idle()); // no query: it would disable the window
    QCOMPARE(session.find<QLineEdit>("server_pass")->text(), QStringLiteral("edited"));
    session.selectRow(1);
    QTRY_COMPARE(session.server.received.size(), 2);
    QCOMPARE(session.harness.currentBookmark(), 1);
}

void TestJoin::doubleClickWaitsForTheFirstClicksQuery()
{
    JoinSession session;
    session.bookmark(QStringLiteral("Harbor"), session.server.addressText());
    session.server.answerNext({{openServer(), {}, 100ms}});
    session.start();
    session.selectRow(0);
    QVERIFY(!session.window->isEnabled()); // the first click's query is pending
    session.doubleClickSelectedRow();
    QCOMPARE(session.server.received.size(), 1);
    QCOMPARE(session.starter.started.size(), 1);
    QTRY_VERIFY(session.idle());
}

void TestJoin::doubleClickOnBadBookmarkSaysItOnce()
{
    JoinSession session;
    session.bookmark(QStringLiteral("Typo"), QStringLiteral("127.0.0.2"));
    session.start();
    session.harness.dialogs.answerNext(Dialogs::Answer::Ok);
    session.selectRow(0);
    session.doubleClickSelectedRow();
    QCOMPARE(session.texts(), QStringList{"You must have a server port with the ip (ip:port)"});
    QVERIFY(session.harness.pinger.hosts.isEmpty());
    QVERIFY(session.starter.started.isEmpty());
}

void TestJoin::friendsNotificationJoinsTheirBookmark_data()
{
    QTest::addColumn<int>("row");       // of the friend's bookmark
    QTest::addColumn<bool>("patterns"); // the friend a pattern behind 9,999 others
    QTest::newRow("second bookmark") << 1 << false;
    QTest::newRow("first bookmark") << 0 << false;
    QTest::newRow("behind 9,999 patterns, found in a later turn") << 1 << true;
}

// The first refresh finds a friend on a bookmark's server: one notification, the row names the
// friend, and the notification's "Join" joins that bookmark as a double click would (the first of
// the bookmarks on that server).
void TestJoin::friendsNotificationJoinsTheirBookmark()
{
    QFETCH(int, row);
    QFETCH(bool, patterns);
    JoinSession session;
    // A silent server's bookmark before the friend's, or after it: the list is in name order.
    session.bookmark(row > 0 ? QStringLiteral("Dunes") : QStringLiteral("Outpost"),
                     QStringLiteral("127.0.0.2:%1").arg(FakeStatusServer::unusedPort()));
    session.bookmark(QStringLiteral("Harbor"), session.server.addressText());
    session.bookmark(QStringLiteral("Harbor 2"), session.server.addressText());
    QStringList lines{R"(\g_gametype\dm\sv_maxclients\20)"};
    if (patterns) { // players before Alice whom every pattern searches
        for (int i = 1; i <= 14; ++i)
            lines.append(QStringLiteral(R"(0 40 "Ecila%1")").arg(i));
    }
    lines << R"(5 40 "^2Alice")"
          << R"(7 50 "Bob")";
    const std::unique_ptr<KeyValueStore> store = session.harness.reopenStore();
    AppSettings settings(*store);
    QVERIFY(settings.setFriends(patterns ? patternsNamingNobody(QStringLiteral("alice"), 6)
                                        << QStringLiteral("*lic*")
                                         : QStringList{"alice"}));
    const QByteArray withAlice = FakeStatusServer::statusReply(lines);
    session.server.answerNext(withAlice); // the list's refresh
    session.server.answerNext(withAlice); // the join's query
    session.start();
    session.showWindow();

    QTRY_COMPARE(session.harness.notifier.shown.size(), 1);
    QCOMPARE(session.harness.notifier.shown[0].summary, QStringLiteral("Alice is playing"));
    const QModelIndex harbor = session.harness.bookmarkIndex(row);
    QTRY_VERIFY(
        harbor.data(Qt::ToolTipRole).toString().endsWith(QStringLiteral("; friends: Alice")));
    QCOMPARE(harbor.data(Qt::AccessibleDescriptionRole), harbor.data(Qt::ToolTipRole));
    QCOMPARE(harbor.data(roleId(BookmarkRole::FriendCount)).toInt(), 1);

    emit session.harness.notifier.actionInvoked(session.harness.notifier.shown[0].actionKey);
    QTRY_COMPARE(session.starter.started.size(), 1);
    QCOMPARE(session.startedArguments(), connectTo(session.server.addressText()));
    QCOMPARE(session.harness.selectedBookmark(), QStringLiteral("Harbor"));
    QTRY_VERIFY(session.idle());
}

// The second click lands while the first click's query holds the window disabled. The stored
// address was edited by hand (a blank before the port): the field shows it cleaned, and the
// bookmark is still the one in the fields.
void TestJoin::realDoubleClickOnSlowServerJoins()
{
    JoinSession session;
    QString handEdited = session.server.addressText();
    handEdited.insert(handEdited.indexOf(u':'), u' ');
    session.bookmark(QStringLiteral("Harbor"), handEdited);
    session.server.answerNext(openServer()); // the list's refresh
    session.server.answerNext({{openServer(), {}, 300ms}});
    session.start();
    session.showWindow();
    session.mouseOnFirstRow();
    QVERIFY(!session.window->isEnabled());
    // A second double click while the join waits must not start a second game.
    QTimer::singleShot(100ms, session.window, [&session] { session.mouseOnFirstRow(true); });
    session.mouseOnFirstRow(true);
    QTRY_COMPARE(session.starter.started.size(), 1);
    QCOMPARE(session.server.received.size(), 2); // the list's refresh asked once too
    QTRY_VERIFY(session.idle());
}

// A press on the row that is already selected changes no selection, but it is a click all the same.
void TestJoin::clickOnSelectedRowReloadsEditedBookmark()
{
    JoinSession session;
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

// The keyboard's double click: Enter on the focused bookmark, after or without Space selecting it
// (which queries it). Keys go through the window system to whatever has the focus, as a
// keyboard's do; a query disables the window meanwhile, which takes the focus away.
void TestJoin::enterOnBookmarkJoins_data()
{
    QTest::addColumn<bool>("selectFirst");
    QTest::addColumn<int>("replyDelay"); // ms
    QTest::addColumn<bool>("waitForTheReply");
    QTest::newRow("on the focused row") << false << 0 << false;
    QTest::newRow("after the reply to its selection") << true << 0 << true;
    QTest::newRow("while the selection's query is pending") << true << 300 << false;
}

void TestJoin::enterOnBookmarkJoins()
{
    QFETCH(bool, selectFirst);
    QFETCH(int, replyDelay);
    QFETCH(bool, waitForTheReply);
    JoinSession session;
    session.bookmark(QStringLiteral("Harbor"), session.server.addressText());
    session.server.answerNext(openServer()); // the list's refresh
    session.server.answerNext({{openServer(), {}, std::chrono::milliseconds(replyDelay)}});
    session.start();
    session.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(session.window));
    QWindow *keyboard = session.window->windowHandle();
    QListView *list = session.harness.bookmarkList();
    for (int field = 0; field < 3; ++field)
        QTest::keyClick(keyboard, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), list);
    if (selectFirst) {
        QTest::keyClick(keyboard, Qt::Key_Space);
        QCOMPARE(session.find<QLineEdit>("server_name")->text(), QStringLiteral("Harbor"));
    }
    if (waitForTheReply)
        QTRY_VERIFY(session.idle());
    QTest::keyClick(keyboard, Qt::Key_Return);
    QTRY_COMPARE(session.starter.started.size(), 1);
    QCOMPARE(session.server.received.size(), 2); // the list's refresh asked once too
    QCOMPARE(session.texts(), QStringList{});
    QTRY_VERIFY(session.idle()); // the busy pointer lasts until the game has ended or run on
    // The list has the focus again for the next key.
    QCOMPARE(QApplication::focusWidget(), list);
}

// A game that writes far more than an early failure's report needs: only the first 64 KiB are
// kept, and its folder goes once the game has ended, whoever is done with it last. A folder that
// a launcher could not hand over is removed at the next start, unless its game still runs.
void TestJoin::gameOutputIsBoundedAndItsFolderGoes_data()
{
    QTest::addColumn<bool>("endsWithinTheWatch");
    QTest::addColumn<bool>("launcherStays"); // false: it quits within the watch
    QTest::newRow("ends within the watch") << true << true;
    QTest::newRow("runs on past the watch") << false << true;
    QTest::newRow("launcher quits within the watch") << false << false;
}

void TestJoin::gameOutputIsBoundedAndItsFolderGoes()
{
#ifdef Q_OS_WIN
    QSKIP("nothing is recorded on Windows");
#else
    QFETCH(bool, endsWithinTheWatch);
    QFETCH(bool, launcherStays);
    QTemporaryDir dir;
    // A temporary folder of its own, where only this test's games leave folders.
    const QByteArray temporary = qgetenv("TMPDIR");
    const auto restoreTemporary = qScopeGuard([&temporary] { qputenv("TMPDIR", temporary); });
    qputenv("TMPDIR", QFile::encodeName(dir.path()));
    const auto gameFolders = [&dir] {
        return QDir(dir.path()).entryList({QStringLiteral("brinemoor-game-*")}, QDir::Dirs);
    };
    const QString game = dir.filePath(QStringLiteral("game"));
    const QString end = game + QStringLiteral(".end");
    QVERIFY(writeExecutable(game,
                            "#!/bin/sh\nhead -c 1048576 /dev/zero | tr '\\0' x\n"
                            "while [ ! -e \"$0.end\" ]; do sleep 0.05; done\n"));
    if (endsWithinTheWatch)
        QVERIFY(QFile(end).open(QIODevice::WriteOnly));
    // A folder whose recorder is gone (no process has the largest id), as a crash leaves it.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("brinemoor-game-leftover")));
    QFile pid(dir.filePath(QStringLiteral("brinemoor-game-leftover/pid")));
    QVERIFY(pid.open(QIODevice::WriteOnly) && pid.write("2147483647\n") > 0);
    pid.close();

    ProcessGameStarter starter;
    auto watch = starter.start({game, {}, {}, dir.path()}, 1s);
    QSignalSpy reported(watch.get(), &LaunchWatch::finished);
    if (launcherStays)
        QVERIFY(reported.wait(5000));
    else
        watch.reset();
    ProcessGameStarter::removeEndedGameFolders();
    QCOMPARE(gameFolders().size(), endsWithinTheWatch ? 0 : 1);

    if (launcherStays) {
        const auto outcome = reported.constFirst().constFirst().value<LaunchOutcome>();
        QCOMPARE(outcome.kind,
                 endsWithinTheWatch ? LaunchOutcome::Kind::Ended : LaunchOutcome::Kind::Running);
        QCOMPARE(outcome.output, QString(8192, u'x'));
        if (!endsWithinTheWatch)
            QCOMPARE(QFileInfo(outcome.outputFile).size(), 65536);
    }
    QVERIFY(QFile(end).open(QIODevice::WriteOnly));
    QTRY_COMPARE(gameFolders(), QStringList());
#endif
}

QTEST_MAIN(TestJoin)
#include "tst_join.moc"
