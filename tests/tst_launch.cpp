// SPDX-License-Identifier: GPL-3.0-or-later
// The game command line, the verdict read back from the status display, and how the command
// becomes a process: Windows program detection, wine and its environment.
#include "launch/autostart.h"
#include "launch/gamecommand.h"
#include "launch/gamestart.h"
#include "launch/joinlink.h"
#include "launch/joinverdict.h"
#include "query/games.h"

#include <QBuffer>
#include <QDir>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

// "MZ", at 0x3C the offset of the signature, and the signature there when it fits, followed by
// the machine field when that fits too.
QByteArray windowsHeader(quint32 peOffset, qsizetype size, QByteArray signature = {"PE\0\0", 4},
                         quint16 machine = 0x014c)
{
    QByteArray head(size, '\0');
    head.replace(0, 2, "MZ");
    qToLittleEndian(peOffset, head.data() + 0x3C);
    if (peOffset + signature.size() <= size)
        head.replace(peOffset, signature.size(), signature);
    if (peOffset + signature.size() + 2 <= size)
        qToLittleEndian(machine, head.data() + peOffset + signature.size());
    return head;
}

// A 32-bit executable with one section, ".rsrc", whose resource tree holds one version resource
// (type 16, name 1, language 0x409) with file version `major`.`minor`.
QByteArray withVersionResource(quint16 major, quint16 minor)
{
    QByteArray file = windowsHeader(0x40, 0x400);
    const auto put32 = [&file](qsizetype at, quint32 value) {
        qToLittleEndian(value, file.data() + at);
    };
    const auto put16 = [&file](qsizetype at, quint16 value) {
        qToLittleEndian(value, file.data() + at);
    };
    put16(0x46, 1);          // sections
    put16(0x54, 224);        // optional header size
    put16(0x58, 0x10b);      // PE32
    put32(0xC8, 0x1000);     // resource directory's address
    put32(0x138 + 8, 0x200); // .rsrc: virtual size, address, raw size, raw offset
    put32(0x138 + 12, 0x1000);
    put32(0x138 + 16, 0x200);
    put32(0x138 + 20, 0x200);
    put16(0x20E, 1);          // root: one numbered entry,
    put32(0x210, 16);         // the version type,
    put32(0x214, 0x80000018); // a directory
    put16(0x226, 1);
    put32(0x228, 1);
    put32(0x22C, 0x80000030);
    put16(0x23E, 1);
    put32(0x240, 0x409);
    put32(0x244, 0x48);       // a data entry:
    put32(0x248, 0x1058);     // the data's address
    put32(0x280, 0xFEEF04BD); // VS_FIXEDFILEINFO after the 40 bytes of its key
    put32(0x288, quint32(major) << 16 | minor);
    return file;
}

bool writeExecutable(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size()
        && file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

} // namespace

class TestLaunch : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void joinVerdict_data();
    void joinVerdict();
    void joinLink_data();
    void joinLink();
    void autostart();
    void joinLinksRegistered();
    void windowsExecutable_data();
    void windowsFileVersion_data();
    void windowsFileVersion();
    void windowsExecutable();
    void processForGame_data();
    void processForGame();
    void startFailure_data();
    void startFailure();
};

void TestLaunch::commandLine_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<std::optional<QString>>("playerName");
    QTest::addColumn<QString>("arguments");
    const std::optional<QString> none;
    const QString base = QStringLiteral(" +connect 10.0.0.1:28960 +password ");
    QTest::newRow("empty password keeps the trailing blank") << "" << none << base;
    QTest::newRow("password as typed") << "a+b $HOME" << none << base + "a+b $HOME";
    QTest::newRow("name glued to the password")
        << "pw" << std::optional<QString>("Jim") << base + "pw+set name Jim";
    QTest::newRow("empty password, then the name")
        << "" << std::optional<QString>("Jim") << base + "+set name Jim";
    QTest::newRow("plus and line ends leave the name")
        << "" << std::optional<QString>("Ji\r\nm +quit") << base + "+set name Jim quit";
}

void TestLaunch::commandLine()
{
    QFETCH(QString, password);
    QFETCH(std::optional<QString>, playerName);
    QFETCH(QString, arguments);
    // A full path on each system: on Windows one that starts at the root has a drive, too.
    const QString folder = QDir::toNativeSeparators(QDir::rootPath()
                                                    + QStringLiteral("my games/cod"));
    const QString game = folder + QDir::separator() + QStringLiteral("CoDMP.exe");
    const GameCommand command = buildGameCommand(
        game, {QStringLiteral("10.0.0.1:28960"), password, playerName});
    QCOMPARE(command.commandLine(), game + arguments);
    QCOMPARE(command.workingDirectory, folder);
}

void TestLaunch::joinVerdict_data()
{
    QTest::addColumn<qint64>("players");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<std::optional<QString>>("maxClients");
    QTest::addColumn<JoinVerdict>("verdict");
    const std::optional<QString> none;
    const auto limit = [](const char *text) { return std::optional<QString>(text); };
    QTest::newRow("room left") << qint64(3) << true << limit("16") << JoinVerdict::Joinable;
    QTest::newRow("full, even when timed out")
        << qint64(16) << false << limit("16") << JoinVerdict::Full;
    QTest::newRow("limit read as a number, as the list's rows read it")
        << qint64(16) << true << limit("016") << JoinVerdict::Full;
    QTest::newRow("count above the limit")
        << qint64(21) << true << limit("20") << JoinVerdict::Full;
    QTest::newRow("no slots at all") << qint64(0) << true << limit("0") << JoinVerdict::Full;
    QTest::newRow("negative limit: never full")
        << qint64(1) << true << limit("-1") << JoinVerdict::Joinable;
    QTest::newRow("limit not a number: never full")
        << qint64(8) << true << limit("eight") << JoinVerdict::Joinable;
    QTest::newRow("no limit reported, no answer")
        << qint64(0) << false << none << JoinVerdict::NotResponding;
}

void TestLaunch::joinVerdict()
{
    QFETCH(qint64, players);
    QFETCH(bool, answered);
    QFETCH(std::optional<QString>, maxClients);
    QFETCH(JoinVerdict, verdict);
    QCOMPARE(judgeJoin(players, answered, maxClients), verdict);
}

// The arguments after the program's name; what the design's switches keep; the server and the
// password taken, or "refused".
void TestLaunch::joinLink_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("password");
    const QStringList none;
    QTest::newRow("link") << QStringList{"cod://1.2.3.4:28960"} << none << "1.2.3.4:28960"
                          << "";
    QTest::newRow("link with a password, the switches kept")
        << QStringList{"/debug", "COD://1.2.3.4:28961/?password=a%20b%2B%3B%22c&x=1#top"}
        << QStringList{"/debug"} << "1.2.3.4:28961"
        << "a b+;\"c";
    QTest::newRow("--join") << QStringList{"--join", "1.2.3.4:28960", "/nick:Jim"}
                            << QStringList{"/nick:Jim"} << "1.2.3.4:28960"
                            << "";
    QTest::newRow("--join=") << QStringList{"--join=1.2.3.4:28960"} << none << "1.2.3.4:28960"
                             << "";
    QTest::newRow("--minimized taken too, wherever it stands")
        << QStringList{"--minimized", "/nick:Jim", "cod://1.2.3.4:28960", "--minimized"}
        << QStringList{"/nick:Jim"} << "1.2.3.4:28960"
        << "";
    QTest::newRow("a name is no address")
        << QStringList{"cod://example.org:28960"} << none << "refused"
        << "";
    QTest::newRow("characters the rules would drop")
        << QStringList{"cod://1.2.3.4:28960;x"} << none << "refused"
        << "";
    QTest::newRow("no port") << QStringList{"cod://1.2.3.4/"} << none << "refused"
                             << "";
    QTest::newRow("port out of range")
        << QStringList{"--join", "1.2.3.4:65536"} << none << "refused"
        << "";
}

void TestLaunch::joinLink()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, kept);
    QFETCH(QString, address);
    QFETCH(QString, password);
    const bool minimized = arguments.contains(QLatin1String(kMinimizedOption));
    const QString request = takeJoinRequest(arguments);
    QCOMPARE(takeMinimizedOption(arguments), minimized);
    QCOMPARE(arguments, kept);
    const std::optional<JoinLink> link = parseJoinLink(request);
    QCOMPARE(link ? link->address : QStringLiteral("refused"), address);
    QCOMPARE(link ? link->password : QString(), password);
    if (link)
        QCOMPARE(parseJoinLink(joinLinkOf(link->address))->address, address);
}

// "Start with the desktop" on a temporary XDG_CONFIG_HOME: the entry starts the program, hidden,
// whatever its path holds; it goes again; a folder that cannot be made is a failure.
void TestLaunch::autostart()
{
#ifdef Q_OS_WIN
    QSKIP("the Run key is the user's own registry: not written by a test");
#else
    QTemporaryDir config;
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", before); });
    const QString entry = config.filePath(QStringLiteral("autostart/brinemoor.desktop"));
    QCOMPARE(autostartEntryPath(), entry);
    QVERIFY(!startsWithDesktop());
    QVERIFY(setStartWithDesktop(false, QString())); // nothing to remove

    const QString program = QStringLiteral(R"(/opt/My Games/brine"$moor\100%)");
    QVERIFY(setStartWithDesktop(true, program));
    QVERIFY(startsWithDesktop());
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QVERIFY(lines.contains("[Desktop Entry]"));
    QVERIFY(lines.contains("Type=Application"));
    QVERIFY(lines.contains(R"(Exec="/opt/My Games/brine\\"\\$moor\\\\100%%" --minimized)"));
    QVERIFY(setStartWithDesktop(false, program));
    QVERIFY(!startsWithDesktop());

    const QString folder = config.filePath(QStringLiteral("autostart"));
    QVERIFY(QDir(folder).removeRecursively());
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!setStartWithDesktop(true, program));
    QVERIFY(!startsWithDesktop());
#endif
}

// A copy run from its zip declares the links on its first start, under a key of the test's own
// here; links that already lead to a program are left to it.
void TestLaunch::joinLinksRegistered()
{
#ifndef Q_OS_WIN
    QSKIP("the desktop entry declares the links on Linux");
#else
    const QString root = QStringLiteral("HKEY_CURRENT_USER\\Software\\BrinemoorTest%1")
                             .arg(QCoreApplication::applicationPid());
    const auto removeKey = qScopeGuard([&] { QSettings(root, QSettings::NativeFormat).clear(); });
    const QString classes = root + QLatin1String("\\Classes");
    const QString command = QStringLiteral("cod/shell/open/command/Default");
    QVERIFY(registerJoinLinks(classes, QStringLiteral("C:/My Games/brinemoor.exe")));
    QSettings links(classes, QSettings::NativeFormat);
    QCOMPARE(links.value(command).toString(),
             QStringLiteral(R"("C:\My Games\brinemoor.exe" "%1")"));
    QVERIFY(links.contains(QStringLiteral("cod/URL Protocol")));

    QVERIFY(registerJoinLinks(classes, QStringLiteral("D:/other.exe")));
    links.sync();
    QCOMPARE(links.value(command).toString(),
             QStringLiteral(R"("C:\My Games\brinemoor.exe" "%1")"));
#endif
}

void TestLaunch::windowsExecutable_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("windows");
    QTest::addColumn<int>("machine"); // -1: none to read
    const QByteArray pe("PE\0\0", 4);
    QTest::newRow("usual layout, 32-bit") << windowsHeader(0x80, 0x200) << true << 0x014c;
    QTest::newRow("64-bit") << windowsHeader(0x80, 0x200, pe, 0x8664) << true << 0x8664;
    QTest::newRow("machine field cut off") << windowsHeader(0x40, 0x45) << true << -1;
    QTest::newRow("signature in the last four bytes") << windowsHeader(0x40, 0x44) << true << -1;
    QTest::newRow("signature cut off by the end") << windowsHeader(0x41, 0x44) << false << -1;
    QTest::newRow("offset far beyond the end") << windowsHeader(0xFFFFFFF0u, 0x100) << false << -1;
    QTest::newRow("wrong signature") << windowsHeader(0x80, 0x200, {"PE\0\1", 4}) << false << -1;
    QTest::newRow("offset field cut short") << windowsHeader(0x80, 0x200).left(0x3E) << false << -1;
    QTest::newRow("empty file") << QByteArray() << false << -1;
    QTest::newRow("shell script") << QByteArray("#!/bin/sh\nexit 0\n") << false << -1;
}

void TestLaunch::windowsExecutable()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, windows);
    QFETCH(int, machine);
    QBuffer buffer(&head);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(isWindowsExecutable(buffer), windows);
    QCOMPARE(windowsMachine(buffer), machine < 0 ? std::nullopt : std::optional(quint16(machine)));
}

void TestLaunch::windowsFileVersion_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("version"); // empty: none
    QTest::addColumn<bool>("fifo");       // at the game's path a FIFO that nobody writes
    QTest::addColumn<QString>("game");
    QTest::addColumn<int>("protocol"); // the game version taken from the file
    QTest::newRow("1.5") << withVersionResource(1, 5) << "1.5" << false << "cod" << 6;
    QTest::newRow("no resources") << windowsHeader(0x80, 0x200) << "" << false << "cod" << 1;
    QTest::newRow("cut off in the resource")
        << withVersionResource(1, 5).left(0x284) << "" << false << "cod" << 1;
    QByteArray loop = withVersionResource(1, 5);
    qToLittleEndian(quint32(0x80000000), loop.data() + 0x22C); // a name pointing to the root
    QTest::newRow("directory loop") << loop << "" << false << "cod" << 1;
    QTest::newRow("a FIFO") << QByteArray() << "" << true << "cod" << 1;
    QTest::newRow("Call of Duty 2 1.3: its own protocol")
        << withVersionResource(1, 3) << "1.3" << false << "cod2" << 118;
    QTest::newRow("a version the game never had: the one most servers run")
        << withVersionResource(1, 1) << "1.1" << false << "cod2" << 118;
}

// The version read from the bytes, and the game version the launcher takes from the file.
void TestLaunch::windowsFileVersion()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, version);
    QFETCH(bool, fifo);
    QFETCH(QString, game);
    QFETCH(int, protocol);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("CoDMP.exe"));
    if (fifo) {
#ifdef Q_OS_WIN
        QSKIP("Windows has no FIFO at a plain path");
#else
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
#endif
    } else {
        QBuffer buffer(&file);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const auto read = ::windowsFileVersion(buffer);
        QCOMPARE(read ? QStringLiteral("%1.%2").arg(read->first).arg(read->second) : QString(),
                 version);
        QVERIFY(writeExecutable(path, file));
    }
    QCOMPARE(chosenProtocol(gameOf(gameNamed(game)), {}, path), protocol);
    QCOMPARE(chosenProtocol(gameOf(gameNamed(game)), 5, path), 5); // the setting's, when there
}

void TestLaunch::processForGame_data()
{
    QTest::addColumn<bool>("windowsProgram");
    QTest::addColumn<QString>("presetMesa"); // empty: not set by the user
    QTest::addColumn<QString>("mesa");
    QTest::addColumn<QString>("gl");
    QTest::addColumn<QString>("runner"); // the settings' "wine"; DIR: the test's folder
    QTest::addColumn<QString>("prefix"); // the settings' "wineprefix"
    QTest::newRow("native program, environment untouched") << false << ""
                                                           << ""
                                                           << ""
                                                           << ""
                                                           << "";
    QTest::newRow("windows program through wine") << true << ""
                                                  << "2003"
                                                  << "17700"
                                                  << ""
                                                  << "";
    QTest::newRow("the user's own setting wins") << true << "2010"
                                                 << "2010"
                                                 << "17700"
                                                 << ""
                                                 << "";
    QTest::newRow("runner by name, and a prefix") << true << ""
                                                  << "2003"
                                                  << "17700"
                                                  << "wine-staging"
                                                  << "/games/cod-prefix";
    QTest::newRow("runner by path") << true << ""
                                    << "2003"
                                    << "17700"
                                    << "DIR/wine-staging"
                                    << "";
}

void TestLaunch::processForGame()
{
    QFETCH(bool, windowsProgram);
    QFETCH(QString, presetMesa);
    QFETCH(QString, mesa);
    QFETCH(QString, gl);
    QFETCH(QString, runner);
    QFETCH(QString, prefix);
#ifdef Q_OS_WIN
    QSKIP("Windows runs Windows programs itself: no wine, and the environment is the launcher's");
#endif
    QTemporaryDir dir;
    runner.replace(QStringLiteral("DIR"), dir.path());
    const QString wine = dir.filePath(runner.isEmpty() ? QStringLiteral("wine")
                                                       : QStringLiteral("wine-staging"));
    const QString game = dir.filePath(QStringLiteral("CoDMP.exe"));
    QVERIFY(writeExecutable(wine, "#!/bin/sh\n"));
    QVERIFY(writeExecutable(game, windowsProgram ? windowsHeader(0x80, 0x200) : "#!/bin/sh\n"));
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), dir.path() + QStringLiteral(":/usr/bin"));
    environment.insert(QStringLiteral("WINEPREFIX"), QStringLiteral("/home/jo/.wine-cod"));
    if (!presetMesa.isEmpty())
        environment.insert(QStringLiteral("MESA_EXTENSION_MAX_YEAR"), presetMesa);

    const StartPlan plan = planGameStart(
        buildGameCommand(game, {QStringLiteral("10.0.0.1:28960"), QStringLiteral("a  b"), {}}),
        environment, {runner, prefix});

    QVERIFY2(plan.process, qPrintable(plan.problem));
    QCOMPARE(plan.needsWine32, windowsProgram);
    const QStringList arguments{"+connect", "10.0.0.1:28960", "+password", "a", "b"};
    QCOMPARE(plan.process->program, windowsProgram ? wine : game);
    QCOMPARE(plan.process->arguments, windowsProgram ? QStringList{game} + arguments : arguments);
    QCOMPARE(plan.process->workingDirectory, dir.path());
    const QProcessEnvironment &started = plan.process->environment;
    QCOMPARE(started.value(QStringLiteral("MESA_EXTENSION_MAX_YEAR")), mesa);
    QCOMPARE(started.value(QStringLiteral("__GL_ExtensionStringVersion")), gl);
    QCOMPARE(started.value(QStringLiteral("WINEPREFIX")),
             prefix.isEmpty() ? QStringLiteral("/home/jo/.wine-cod") : prefix);
}

void TestLaunch::startFailure_data()
{
    QTest::addColumn<LaunchOutcome>("outcome");
    QTest::addColumn<bool>("needsWine32");
    QTest::addColumn<QString>("message"); // empty: none
    using Kind = LaunchOutcome::Kind;
    const QString wine32Missing = QStringLiteral(
        "it looks like wine32 is missing, you should install it.\n");
    const QString needsWine32 = QStringLiteral(
        "Can not load game, it is a 32-bit Windows program and this Wine can not run 32-bit "
        "programs (wine32 is missing).\n\nOn Debian, install it as root with:\n"
        "dpkg --add-architecture i386\napt-get update\napt-get install wine32:i386");
    QString twelveLines;
    for (int line = 1; line <= 12; ++line)
        twelveLines += QStringLiteral("line %1\r\n").arg(line);
    QTest::newRow("runs on") << LaunchOutcome{Kind::Running, 0, {}, {}} << true << "";
    QTest::newRow("ended well") << LaunchOutcome{Kind::Ended, 0, "bye\n", {}} << true << "";
    QTest::newRow("not started")
        << LaunchOutcome{Kind::NotStarted, 0, "Permission denied", {}} << false
        << "Can not load game, it could not be started: /usr/bin/wine\n\nPermission denied";
    QTest::newRow("error status: its last ten lines")
        << LaunchOutcome{Kind::Ended, 3, twelveLines + "\n\n", {}} << false
        << "Can not load game, it stopped at once with exit status 3: /usr/bin/wine\n\n"
           "line 3\nline 4\nline 5\nline 6\nline 7\nline 8\nline 9\nline 10\nline 11\nline 12";
    QTest::newRow("wine32 missing, 32-bit game")
        << LaunchOutcome{Kind::Ended, 0, wine32Missing, {}} << true << needsWine32;
    QTest::newRow("wine32 missing, 64-bit game")
        << LaunchOutcome{Kind::Ended, 0, wine32Missing, {}} << false << "";
    QTest::newRow("wine32 missing, still making a fresh prefix")
        << LaunchOutcome{Kind::Running, 0, wine32Missing, {}} << true << needsWine32;
    QTest::newRow("runs on after an error line")
        << LaunchOutcome{Kind::Running, 0, "err: something\n", {}} << false << "";
}

void TestLaunch::startFailure()
{
    QFETCH(LaunchOutcome, outcome);
    QFETCH(bool, needsWine32);
    QFETCH(QString, message);
    StartPlan plan;
    plan.process = ProcessStart{QStringLiteral("/usr/bin/wine"), {}, {}, {}, {}};
    plan.needsWine32 = needsWine32;
    QCOMPARE(::startFailure(plan, outcome).value_or(QString()), message);
}

QTEST_GUILESS_MAIN(TestLaunch)
#include "tst_launch.moc"
