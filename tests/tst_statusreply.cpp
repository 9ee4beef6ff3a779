// SPDX-License-Identifier: GPL-3.0-or-later
// The status request bytes, the status reply parser, and a reply in a bookmark row's words.
#include "query/bookmarkstatus.h"
#include "query/statusreply.h"

#include <QTest>

namespace {

QByteArray reply(const QByteArray &body)
{
    return QByteArrayLiteral("\xff\xff\xff\xffstatusResponse\n") + body;
}

const QByteArray kHarbor = reply("\\g_gametype\\dm\\mapname\\mp_harbor\\sv_maxclients\\20\n"
                                 "5 40 \"^1Bob\"\n");

// "key|value", so blanks at either end stay visible in failure output.
QStringList listed(const StatusReply &status)
{
    QStringList entries;
    for (const StatusVariable &variable : status.variables)
        entries.append(variable.key + u'|' + variable.value);
    return entries;
}

// A null expectation stands for "absent".
void compareOptional(const std::optional<QString> &actual, const QString &expected)
{
    QCOMPARE(actual.has_value(), !expected.isNull());
    QCOMPARE(actual.value_or(QString()), expected);
}

} // namespace

class TestStatusReply : public QObject
{
    Q_OBJECT

private slots:
    void statusRequest_bytes();
    void variables_data();
    void variables();
    void players_data();
    void players();
    void specials_data();
    void specials();
    void notAStatusReply_data();
    void notAStatusReply();
    void replyInWords_data();
    void replyInWords();
};

void TestStatusReply::statusRequest_bytes()
{
    QCOMPARE(statusRequest(), QByteArray::fromHex("ffffffff676574737461747573"));
}

void TestStatusReply::variables_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("worked example")
        << kHarbor << QStringList{"g_gametype|dm", "mapname|mp_harbor", "sv_maxclients|20"};
    QTest::newRow("trailing backslash after the last value")
        << reply("\\a\\1\\b\\2\\\n") << QStringList{"a|1", "b|2"};
    QTest::newRow("key without value dropped") << reply("\\a\\1\\b\n") << QStringList{"a|1"};
    QTest::newRow("leading dot of a key dropped")
        << reply("\\.Admin\\Jim\\..x\\y\n") << QStringList{"Admin|Jim", ".x|y"};
    QTest::newRow("blanks kept in values")
        << reply("\\sv_hostname\\ My Server \n") << QStringList{"sv_hostname| My Server "};
    QTest::newRow("colour codes removed, trailing caret too")
        << reply("\\sv_hostname\\^1Red^7Fox^\n") << QStringList{"sv_hostname|RedFox"};
    QTest::newRow("control bytes dropped from values")
        << reply("\\sv_hostname\\\x01\x01\x01^3Brine\tmoor\n")
        << QStringList{"sv_hostname|Brinemoor"};
    QTest::newRow("equals sign inside a value")
        << reply("\\motd\\a=b\n") << QStringList{"motd|a=b"};
    QTest::newRow("empty key and empty value") << reply("\\\\x\\y\\\n") << QStringList{"|x", "y|"};
    QTest::newRow("CR LF lines") << reply("\\a\\1\\b\\2\r\n0 0 \"x\"\r\n")
                                 << QStringList{"a|1", "b|2"};
    QTest::newRow("CR anywhere ignored, in keys too")
        << reply("\\map\rname\\mp_harbor\n") << QStringList{"mapname|mp_harbor"};
    QTest::newRow("malformed pair abandons the rest of its line only")
        << reply("\\a\\1\\=b\\2\\c\\3\n\\d\\4\n") << QStringList{"a|1", "d|4"};
    QTest::newRow("info line without a line feed ignored") << reply("\\a\\1") << QStringList{};
    QTest::newRow("two info lines")
        << reply("\\a\\1\n0 0 \"x\"\n\\b\\2\n") << QStringList{"a|1", "b|2"};
}

void TestStatusReply::variables()
{
    QFETCH(QByteArray, datagram);
    QFETCH(QStringList, expected);

    const auto status = parseStatusReply(datagram);
    QVERIFY(status);
    QCOMPARE(listed(*status), expected);
}

void TestStatusReply::players_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("worked example") << kHarbor << QStringList{"Bob"};
    QTest::newRow("colour codes in a name")
        << reply("3 50 \"^2Al^7ice\"\n") << QStringList{"Alice"};
    QTest::newRow("quoted names with blanks kept whole")
        << reply("0 48 \"Unknown Soldier\"\n12 999 \"G I T L E R\"\n7 80 \"BETEPAH   \"\n")
        << QStringList{"Unknown Soldier", "G I T L E R", "BETEPAH   "};
    QTest::newRow("quotes inside a quoted name")
        << reply("1 2 \"the \"best\"\"\n") << QStringList{"the \"best\""};
    QTest::newRow("line cut after the opening quote") << reply("1 2 \"Bo\n") << QStringList{"Bo"};
    QTest::newRow("unquoted line keeps the part after the last blank")
        << reply("5 40 ^1John Smith\n9 9 Zed\n") << QStringList{"Smith", "Zed"};
    QTest::newRow("empty line is an empty player")
        << reply("\n1 2 \"a\"\n\n") << QStringList{"", "a", ""};
    QTest::newRow("control bytes dropped from names") << reply("1 2 \"\x01"
                                                               "Al\x02"
                                                               "ex\"\n4 4 \x01"
                                                               "Bo\x1f"
                                                               "b\n")
                                                      << QStringList{"Alex", "Bob"};
    QTest::newRow("Latin-1 bytes decoded")
        << reply("1 2 \"J\xf6rg\"\n") << QStringList{QStringLiteral("J\u00f6rg")};
    QTest::newRow("CR LF lines") << reply("1 2 \"a\"\r\n3 4 \"b\"\r\n") << QStringList{"a", "b"};
    QTest::newRow("last line without a line feed ignored")
        << reply("1 2 \"a\"\n3 4 \"b\"") << QStringList{"a"};
    QTest::newRow("header not at the start")
        << QByteArray("junk" + reply("\\a\\1\n1 2 \"a\"\n")) << QStringList{"a"};
    QTest::newRow("nothing after the header")
        << QByteArray("\xff\xff\xff\xffstatusResponse") << QStringList{};
}

void TestStatusReply::players()
{
    QFETCH(QByteArray, datagram);
    QFETCH(QStringList, expected);

    const auto status = parseStatusReply(datagram);
    QVERIFY(status);
    QCOMPARE(status->players, expected);
}

void TestStatusReply::specials_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QString>("maxClients");
    QTest::addColumn<int>("playersBeforeMaxClients");
    QTest::addColumn<QString>("hostname");
    QTest::addColumn<QString>("gameType");
    QTest::addColumn<QString>("mapName");
    QTest::addColumn<QString>("privateClients");

    QTest::newRow("worked example") << kHarbor << "20" << 0 << QString() << "dm"
                                    << "mp_harbor" << QString();
    QTest::newRow("no players, no sv_maxclients") << reply("\\g_gametype\\sd\n") << QString() << 0
                                                  << QString() << "sd" << QString() << QString();
    QTest::newRow("values trimmed of blanks only")
        << reply("\\sv_hostname\\ \x01My Server\xa0 \\sv_privateClients\\ 2 \n") << QString() << 0
        << QString::fromLatin1("My Server\xa0") << QString() << QString() << "2";
    QTest::newRow("sv_maxclients after two player lines")
        << reply("1 2 \"a\"\n3 4 \"b\"\n\\sv_maxclients\\16\n5 6 \"c\"\n") << "16" << 2 << QString()
        << QString() << QString() << QString();
    QTest::newRow("last of repeated pairs wins")
        << reply("\\sv_maxclients\\8\\mapname\\a\n1 2 \"x\"\n\\sv_maxclients\\24\\mapname\\b\n")
        << "24" << 1 << QString() << QString() << "b" << QString();
    QTest::newRow("blank sv_maxclients is empty, not absent")
        << reply("\\sv_maxclients\\  \n") << "" << 0 << QString() << QString() << QString()
        << QString();
    QTest::newRow("keys are case-sensitive")
        << reply("\\MapName\\x\\SV_HOSTNAME\\y\n") << QString() << 0 << QString() << QString()
        << QString() << QString();
    QTest::newRow("dotted special key counts") << reply("\\.mapname\\mp_x\n") << QString() << 0
                                               << QString() << QString() << "mp_x" << QString();
}

void TestStatusReply::specials()
{
    QFETCH(QByteArray, datagram);
    QFETCH(QString, maxClients);
    QFETCH(int, playersBeforeMaxClients);
    QFETCH(QString, hostname);
    QFETCH(QString, gameType);
    QFETCH(QString, mapName);
    QFETCH(QString, privateClients);

    const auto status = parseStatusReply(datagram);
    QVERIFY(status);
    compareOptional(status->maxClients, maxClients);
    QCOMPARE(status->playersBeforeMaxClients, playersBeforeMaxClients);
    compareOptional(status->hostname, hostname);
    compareOptional(status->gameType, gameType);
    compareOptional(status->mapName, mapName);
    compareOptional(status->privateClients, privateClients);
}

void TestStatusReply::notAStatusReply_data()
{
    QTest::addColumn<QByteArray>("datagram");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("our own request") << statusRequest();
    QTest::newRow("header cut short") << QByteArray("\xff\xff\xff\xffstatusRespons");
    QTest::newRow("header with three FF bytes")
        << QByteArray("\xff\xff\xffstatusResponse\n\\a\\1\n");
    QTest::newRow("other reply") << QByteArray("\xff\xff\xff\xffinfoResponse\n\\a\\1\n");
}

void TestStatusReply::notAStatusReply()
{
    QFETCH(QByteArray, datagram);

    QVERIFY(!parseStatusReply(datagram));
}

void TestStatusReply::replyInWords_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("toolTip"); // below the words
    QTest::addColumn<QString>("played");  // "cod2 118": the game and protocol played; empty: none

    QTest::newRow("players against the limit, ping, map")
        << kHarbor << "1/20 players, ping 45 ms, map mp_harbor"
        << "" << QString();
    QTest::newRow("version and mod only in the tooltip")
        << reply("\\sv_maxclients\\8\\shortversion\\ 1.5 \\fs_game\\pam\n")
        << "0/8 players, ping 45 ms"
        << "version 1.5, mod pam" << QString();
    QTest::newRow("pswrd a non-zero number")
        << reply("\\sv_maxclients\\8\\pswrd\\1\n") << "0/8 players, ping 45 ms, password required"
        << "" << QString();
    QTest::newRow("g_needpass a non-zero number")
        << reply("\\sv_maxclients\\8\\pswrd\\0\\g_needpass\\ 2\n")
        << "0/8 players, ping 45 ms, password required"
        << "" << QString();
    QTest::newRow("zero, text and a repeated zero are no password")
        << reply("\\sv_maxclients\\8\\g_needpass\\1\\pswrd\\yes\\g_needpass\\0\n")
        << "0/8 players, ping 45 ms"
        << "" << QString();
    QTest::newRow("full: the limit less the reserved slots")
        << reply("\\sv_maxclients\\4\\sv_privateClients\\1\n1 2 \"a\"\n1 2 \"b\"\n1 2 \"c\"\n")
        << "3/4 players, ping 45 ms, full"
        << "" << QString();
    QTest::newRow("one short of full")
        << reply("\\sv_maxclients\\4\\sv_privateClients\\1\n1 2 \"a\"\n1 2 \"b\"\n")
        << "2/4 players, ping 45 ms"
        << "" << QString();
    QTest::newRow("hostile limits: no overflow, a negative count is none")
        << reply("\\sv_maxclients\\2147483647\\sv_privateClients\\-1\n1 2 \"a\"\n")
        << "1/2147483647 players, ping 45 ms"
        << "" << QString();
    QTest::newRow("negative limit: unknown, never full")
        << reply("\\sv_maxclients\\-5\n1 2 \"a\"\n") << "1/? players, ping 45 ms"
        << "" << QString();
    QTest::newRow("more reserved slots than the limit: full")
        << reply("\\sv_maxclients\\4\\sv_privateClients\\9223372036854775807\n")
        << "0/4 players, ping 45 ms, full"
        << "" << QString();
    QTest::newRow("no limit: unknown, never full") << reply("\\mapname\\mp_dawnville\n1 2 \"a\"\n")
                                                   << "1/? players, ping 45 ms, map mp_dawnville"
                                                   << "" << QString();
    QTest::newRow("another version of the game played")
        << reply("\\sv_maxclients\\8\\protocol\\6\\gamename\\Call of Duty\n")
        << "0/8 players, ping 45 ms, other version 1.5"
        << ""
        << "cod 1";
    QTest::newRow("another game by its name, whose protocol numbers overlap")
        << reply("\\sv_maxclients\\8\\protocol\\6\\gamename\\Call of Duty 4\n")
        << "0/8 players, ping 45 ms, another game: Call of Duty 4"
        << ""
        << "cod 6";
    QTest::newRow("another game by a protocol only it speaks")
        << reply("\\sv_maxclients\\8\\protocol\\118\n")
        << "0/8 players, ping 45 ms, another game: Call of Duty 2"
        << ""
        << "uo 22";
    QTest::newRow("early servers' \"main\" is Call of Duty")
        << reply("\\sv_maxclients\\8\\protocol\\1\\gamename\\main\n") << "0/8 players, ping 45 ms"
        << ""
        << "cod 1";
    QTest::newRow("a protocol two games speak: not plainly another")
        << reply("\\sv_maxclients\\8\\protocol\\2\n") << "0/8 players, ping 45 ms, other version 2"
        << ""
        << "cod2 118";
}

void TestStatusReply::replyInWords()
{
    QFETCH(QByteArray, datagram);
    QFETCH(QString, words);
    QFETCH(QString, toolTip);
    QFETCH(QString, played);

    const auto reply = parseStatusReply(datagram);
    QVERIFY(reply);
    const BookmarkStatus status = BookmarkStatus::answered(*reply,
                                                           std::chrono::microseconds(45'900));
    std::optional<PlayedVersion> version;
    if (!played.isEmpty())
        version = {gameNamed(played.section(u' ', 0, 0)), played.section(u' ', 1).toInt()};
    QCOMPARE(statusWords(status, version), words);
    QCOMPARE(statusToolTip(status, version), toolTip.isEmpty() ? words : words + u'\n' + toolTip);
}

QTEST_APPLESS_MAIN(TestStatusReply)
#include "tst_statusreply.moc"
