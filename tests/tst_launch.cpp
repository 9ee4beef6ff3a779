// The game command line, the verdict read back from the status display, and how the command
// becomes a process: Windows program detection, wine and its environment.
#include "launch/gamecommand.h"
#include "launch/gamestart.h"
#include "launch/joinverdict.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

// "MZ", at 0x3C the offset of the signature, and the signature there when it fits.
QByteArray windowsHeader(quint32 peOffset, qsizetype size, QByteArray signature = {"PE\0\0", 4})
{
    QByteArray head(size, '\0');
    head.replace(0, 2, "MZ");
    qToLittleEndian(peOffset, head.data() + 0x3C);
    if (peOffset + signature.size() <= size)
        head.replace(peOffset, signature.size(), signature);
    return head;
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
    void windowsExecutable_data();
    void windowsExecutable();
#ifndef Q_OS_WIN
    void processForGame_data();
    void processForGame();
#endif
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
    const QString game = QDir::toNativeSeparators(QStringLiteral("/my games/cod/CoDMP.exe"));
    const GameCommand command = buildGameCommand(
        game, {QStringLiteral("10.0.0.1:28960"), password, playerName});
    QCOMPARE(command.commandLine(), game + arguments);
    QCOMPARE(command.workingDirectory, QDir::toNativeSeparators(QStringLiteral("/my games/cod")));
}

void TestLaunch::joinVerdict_data()
{
    QTest::addColumn<QString>("players");
    QTest::addColumn<QString>("ping");
    QTest::addColumn<std::optional<QString>>("maxClients");
    QTest::addColumn<JoinVerdict>("verdict");
    const std::optional<QString> none;
    const auto limit = [](const char *text) { return std::optional<QString>(text); };
    QTest::newRow("room left") << "Players: 3/16"
                               << "Ping: 40" << limit("16") << JoinVerdict::Joinable;
    QTest::newRow("full, even when timed out")
        << "Players: 16/16"
        << "Ping: Timeout" << limit("16") << JoinVerdict::Full;
    QTest::newRow("count and limit compared as text")
        << "Players: 16/16"
        << "Ping: 40" << limit("016") << JoinVerdict::Joinable;
    QTest::newRow("no limit reported: never full")
        << "Players: 0/0"
        << "Ping: -" << none << JoinVerdict::NotResponding;
    QTest::newRow("time-out") << "Players: 0/0 "
                              << "Ping: Timeout" << none << JoinVerdict::NotResponding;
    QTest::newRow("ping compared with its letter case")
        << "Players: 1/8"
        << "Ping: timeout" << limit("8") << JoinVerdict::Joinable;
    QTest::newRow("caption without a slash") << "Players: 8"
                                             << "Ping: 5" << limit("8") << JoinVerdict::Full;
}

void TestLaunch::joinVerdict()
{
    QFETCH(QString, players);
    QFETCH(QString, ping);
    QFETCH(std::optional<QString>, maxClients);
    QFETCH(JoinVerdict, verdict);
    QCOMPARE(judgeJoin(players, ping, maxClients), verdict);
}

void TestLaunch::windowsExecutable_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("windows");
    QTest::newRow("usual layout") << windowsHeader(0x80, 0x200) << true;
    QTest::newRow("signature in the last four bytes") << windowsHeader(0x40, 0x44) << true;
    QTest::newRow("signature cut off by the end") << windowsHeader(0x41, 0x44) << false;
    QTest::newRow("offset far beyond the end") << windowsHeader(0xFFFFFFF0u, 0x100) << false;
    QTest::newRow("wrong signature") << windowsHeader(0x80, 0x200, {"PE\0\1", 4}) << false;
    QTest::newRow("offset field cut short") << windowsHeader(0x80, 0x200).left(0x3E) << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("shell script") << QByteArray("#!/bin/sh\nexit 0\n") << false;
}

void TestLaunch::windowsExecutable()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, windows);
    QBuffer buffer(&head);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QCOMPARE(isWindowsExecutable(buffer), windows);
}

#ifndef Q_OS_WIN
void TestLaunch::processForGame_data()
{
    QTest::addColumn<bool>("windowsProgram");
    QTest::addColumn<QString>("presetMesa"); // empty: not set by the user
    QTest::addColumn<QString>("mesa");
    QTest::addColumn<QString>("gl");
    QTest::newRow("native program, environment untouched") << false << ""
                                                           << ""
                                                           << "";
    QTest::newRow("windows program through wine") << true << ""
                                                  << "2003"
                                                  << "17700";
    QTest::newRow("the user's own setting wins") << true << "2010"
                                                 << "2010"
                                                 << "17700";
}

void TestLaunch::processForGame()
{
    QFETCH(bool, windowsProgram);
    QFETCH(QString, presetMesa);
    QFETCH(QString, mesa);
    QFETCH(QString, gl);
    QTemporaryDir dir;
    const QString wine = dir.filePath(QStringLiteral("wine"));
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
        environment);

    QVERIFY2(plan.process, qPrintable(plan.problem));
    const QStringList arguments{"+connect", "10.0.0.1:28960", "+password", "a", "b"};
    QCOMPARE(plan.process->program, windowsProgram ? wine : game);
    QCOMPARE(plan.process->arguments, windowsProgram ? QStringList{game} + arguments : arguments);
    QCOMPARE(plan.process->workingDirectory, dir.path());
    const QProcessEnvironment &started = plan.process->environment;
    QCOMPARE(started.value(QStringLiteral("MESA_EXTENSION_MAX_YEAR")), mesa);
    QCOMPARE(started.value(QStringLiteral("__GL_ExtensionStringVersion")), gl);
    QCOMPARE(started.value(QStringLiteral("WINEPREFIX")), QStringLiteral("/home/jo/.wine-cod"));
}
#endif

QTEST_GUILESS_MAIN(TestLaunch)
#include "tst_launch.moc"
