// SPDX-License-Identifier: GPL-3.0-or-later
// The master servers' protocol, the list they give, its cache, the servers on the LAN, the status
// of many servers, and the browser's rows by country (written into the list, never asked).
#include "fakemaster.h"
#include "fakestatusserver.h"
#include "lannamespaces.h"
#include "query/games.h"
#include "query/serversweep.h"
#include "servers/browserprogress.h"
#include "servers/lanscan.h"
#include "servers/masterclient.h"
#include "servers/servercache.h"
#include "servers/serverfilter.h"
#include "servers/serverlistmodel.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(BrowserProgress)

namespace {

const QByteArray kHeader("\xff\xff\xff\xffgetserversResponse");

ServerEndpoint endpoint(const QString &address)
{
    const qsizetype colon = address.indexOf(u':');
    return ServerEndpoint::of(QHostAddress(address.first(colon)),
                              address.sliced(colon + 1).toUShort());
}

QByteArray entry(const QString &address)
{
    return masterEntry(endpoint(address));
}

QByteArray listDatagram(const QStringList &servers, const QByteArray &end)
{
    QList<ServerEndpoint> endpoints;
    for (const QString &server : servers)
        endpoints.append(endpoint(server));
    return masterDatagram(endpoints, end);
}

QStringList texts(const QList<ServerEndpoint> &servers)
{
    QStringList all;
    for (const ServerEndpoint &server : servers)
        all.append(server.text());
    return all;
}

quint64 keyOf(const FakeStatusServer &server)
{
    return ServerEndpoint::of(server.address(), server.port()).key();
}

} // namespace

class tst_Servers : public QObject
{
    Q_OBJECT

private slots:
    void masterRequest_data();
    void masterRequest();
    void parseMasterReply_data();
    void parseMasterReply();
    void acceptableServers_data();
    void acceptableServers();
    void askMasters_data();
    void askMasters();
    void askedRecentlyIsSkipped();
    void cacheRoundTrip();
    void badCacheIsIgnored_data();
    void badCacheIsIgnored();
    void lanScan_data();
    void lanScan();
    void sweepManyServers();
    void sweepKeepsThePace();
    void progressWords_data();
    void progressWords();
    void countryColumn_data();
    void countryColumn();
};

void tst_Servers::masterRequest_data()
{
    QTest::addColumn<QString>("game");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QByteArray>("request");
    QTest::newRow("1.1") << "cod"
                         << "1.1" << QByteArray("\xff\xff\xff\xffgetservers 1 full empty");
    QTest::newRow("1.3 skips 3") << "cod"
                                 << "1.3" << QByteArray("\xff\xff\xff\xffgetservers 4 full empty");
    QTest::newRow("1.5") << "cod"
                         << "1.5" << QByteArray("\xff\xff\xff\xffgetservers 6 full empty");
    QTest::newRow("United Offensive 1.51")
        << "uo"
        << "1.51" << QByteArray("\xff\xff\xff\xffgetservers 22 full empty");
    QTest::newRow("Call of Duty 2 1.3")
        << "cod2"
        << "1.3" << QByteArray("\xff\xff\xff\xffgetservers 118 full empty");
    QTest::newRow("Call of Duty 4 1.7")
        << "cod4"
        << "1.7" << QByteArray("\xff\xff\xff\xffgetservers 6 full empty");
}

void tst_Servers::masterRequest()
{
    QFETCH(QString, game);
    QFETCH(QString, version);
    QFETCH(QByteArray, request);
    const Game &played = gameOf(gameNamed(game));
    const std::optional<int> protocol = protocolNamed(played, version);
    QVERIFY(protocol);
    QCOMPARE(::masterRequest(*protocol), request);
    QCOMPARE(versionOfProtocol(played, *protocol), version);
}

void tst_Servers::parseMasterReply_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QStringList>("servers");
    QTest::addColumn<bool>("endOfList");
    QTest::addColumn<bool>("cutShort");
    const QStringList two{"1.2.3.4:28960", "5.6.7.8:28961"};
    QTest::newRow("two, more to come") << listDatagram(two, kMasterEot) << two << false << false;
    QTest::newRow("end of list") << listDatagram(two, kMasterEof) << two << true << false;
    QTest::newRow("no end marker") << listDatagram(two, {}) << two << false << false;
    QTest::newRow("no separator, bare EOF") << kHeader + entry("1.2.3.4:28960") + "\\EOF"
                                            << QStringList{"1.2.3.4:28960"} << true << false;
    QTest::newRow("address reading EOT") << listDatagram({"69.79.84.9:28960"}, kMasterEof)
                                         << QStringList{"69.79.84.9:28960"} << true << false;
    QTest::newRow("truncated entry")
        << listDatagram(two, {}).chopped(3) << QStringList{"1.2.3.4:28960"} << false << true;
    QTest::newRow("garbage after an entry") << listDatagram({"1.2.3.4:28960"}, "garbage")
                                            << QStringList{"1.2.3.4:28960"} << false << true;
    QStringList many;
    for (int i = 0; i < 5000; ++i)
        many.append(QStringLiteral("1.2.%1.%2:28960").arg(i / 250).arg(i % 250 + 1));
    QTest::newRow("more than 4096")
        << listDatagram(many, kMasterEof) << many.first(4096) << true << false;
}

void tst_Servers::parseMasterReply()
{
    QFETCH(QByteArray, datagram);
    QFETCH(QStringList, servers);
    QFETCH(bool, endOfList);
    QFETCH(bool, cutShort);
    const MasterReply reply = ::parseMasterReply(datagram);
    QVERIFY(reply.isReply);
    QCOMPARE(texts(reply.servers), servers);
    QCOMPARE(reply.endOfList, endOfList);
    QCOMPARE(reply.cutShort, cutShort);
    QVERIFY(!::parseMasterReply(datagram.sliced(1)).isReply);
}

void tst_Servers::acceptableServers_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("master");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("public") << "8.8.4.4:28960"
                            << "9.9.9.9" << true;
    QTest::newRow("port 0") << "8.8.4.4:0"
                            << "127.0.0.2" << false;
    QTest::newRow("0.0.0.0") << "0.0.0.0:28960"
                             << "127.0.0.2" << false;
    QTest::newRow("broadcast") << "255.255.255.255:28960"
                               << "127.0.0.2" << false;
    QTest::newRow("private from public") << "192.168.1.1:28960"
                                         << "9.9.9.9" << false;
    QTest::newRow("private 172.16/12, its top, from public") << "172.31.255.1:28960"
                                                             << "9.9.9.9" << false;
    QTest::newRow("loopback from public") << "127.0.0.1:28960"
                                          << "9.9.9.9" << false;
    QTest::newRow("link-local from public") << "169.254.1.1:28960"
                                            << "9.9.9.9" << false;
    QTest::newRow("multicast from public") << "224.0.0.1:28960"
                                           << "9.9.9.9" << false;
    QTest::newRow("reserved from public") << "240.0.0.1:28960"
                                          << "9.9.9.9" << false;
    QTest::newRow("shared from public") << "100.64.0.1:28960"
                                        << "9.9.9.9" << false;
    QTest::newRow("private from LAN master") << "10.0.0.7:28960"
                                             << "192.168.1.2" << true;
    QTest::newRow("loopback from test master") << "127.0.0.3:28960"
                                               << "127.0.0.2" << true;
    // A master in a special range lists its own kind only, and nobody lists what no server is.
    const QStringList elsewhere{"10.0.0.1",     "192.168.1.1", "172.16.0.1",      "169.254.1.1",
                                "224.0.0.1",    "100.64.0.1",  "239.255.255.250", "192.0.2.1",
                                "198.51.100.1", "203.0.113.1", "198.18.0.1",      "240.0.0.1",
                                "0.0.0.1",      "8.8.4.4"};
    for (const QString &server : elsewhere)
        QTest::addRow("%s from loopback", qPrintable(server)) << server + ":28960"
                                                              << "127.0.5.2" << false;
    QTest::newRow("public from LAN master") << "8.8.4.4:28960"
                                            << "192.168.1.2" << false;
    QTest::newRow("link-local from LAN master") << "169.254.1.1:28960"
                                                << "192.168.1.2" << false;
    QTest::newRow("loopback from LAN master") << "127.0.0.1:28960"
                                              << "10.0.0.2" << false;
    QTest::newRow("link-local from link-local master") << "169.254.1.1:28960"
                                                       << "169.254.9.9" << true;
    QTest::newRow("multicast from LAN master") << "239.255.255.250:28960"
                                               << "192.168.1.2" << false;
    QTest::newRow("documentation from public") << "198.51.100.7:28960"
                                               << "9.9.9.9" << false;
    QTest::newRow("benchmarking from public") << "198.19.0.1:28960"
                                              << "9.9.9.9" << false;
}

void tst_Servers::acceptableServers()
{
    QFETCH(QString, server);
    QFETCH(QString, master);
    QFETCH(bool, accepted);
    QCOMPARE(isAcceptableServer(endpoint(server), QHostAddress(master).toIPv4Address()), accepted);
}

void tst_Servers::askMasters_data()
{
    using Datagrams = QList<FakeStatusServer::Datagram>;
    QTest::addColumn<Datagrams>("answer");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("outcome");
    const QStringList first{"127.0.0.5:28960", "127.0.0.6:28960"};
    const QStringList second{"127.0.0.6:28960", "127.0.0.7:28961"}; // one listed twice
    QTest::newRow("EOT, then EOF") << Datagrams{{listDatagram(first, kMasterEot)},
                                                {listDatagram(second, kMasterEof), {}, 50ms}}
                                   << 3 << "4 servers";
    QTest::newRow("EOT, then quiet")
        << Datagrams{{listDatagram(first, kMasterEot)}} << 2 << "2 servers";
    QTest::newRow("garbage") << Datagrams{{"\xff\xff\xff\xffgetstatus"}} << 0 << "bad reply";
    QTest::newRow("silence") << Datagrams{} << 0 << "no answer";
    Datagrams endless;
    for (int d = 0; d < 100; ++d) {
        QStringList many;
        for (int i = 0; i < 1000; ++i)
            many.append(QStringLiteral("127.%1.%2.%3:28960").arg(d + 1).arg(i % 200).arg(i / 200));
        endless.append({listDatagram(many, kMasterEot)});
    }
    QTest::newRow("100,000 entries") << endless << 4096 << "4096 servers";
}

void tst_Servers::askMasters()
{
    using Datagrams = QList<FakeStatusServer::Datagram>;
    QFETCH(Datagrams, answer);
    QFETCH(int, listed);
    QFETCH(QString, outcome);
    FakeStatusServer master;
    master.answerNext(answer);
    MasterClient client({200ms, 300ms, 2000ms});
    QSignalSpy servers(&client, &MasterClient::serversListed);
    QSignalSpy ended(&client, &MasterClient::masterEnded);
    QSignalSpy finished(&client, &MasterClient::finished);
    // An IPv6 address, which no master has, ends at once; the others are asked all the same.
    client.fetch(
        {QStringLiteral("::1:20510"), master.addressText(), QStringLiteral("127.0.0.2:99999")},
        {GameId::Cod, 4}, false);
    master.readRequests(); // a dotted address is asked at once: no lookup of its name first
    QCOMPARE(master.received.size(), 1);
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(master.received.size(), 1);
    QCOMPARE(master.received.first().data, QByteArray("\xff\xff\xff\xffgetservers 4 full empty"));
    int total = 0;
    for (const auto &signal : servers)
        total += int(signal.at(0).value<QList<ServerEndpoint>>().size());
    QCOMPARE(total, listed);
    QStringList outcomes;
    for (const auto &signal : ended)
        outcomes.append(signal.at(0).toString() + u' '
                        + outcomeWords(signal.at(1).value<MasterOutcome>()));
    QCOMPARE(QSet<QString>(outcomes.begin(), outcomes.end()),
             QSet<QString>({"::1:20510 name not found", "127.0.0.2:99999 name not found",
                            master.addressText() + u' ' + outcome}));
    QCOMPARE(finished.size(), 1);
}

void tst_Servers::askedRecentlyIsSkipped()
{
    FakeStatusServer master;
    MasterClient client({50ms, 50ms, 500ms});
    QSignalSpy finished(&client, &MasterClient::finished);
    client.fetch({master.addressText()}, {GameId::Cod, 1}, false);
    QTRY_COMPARE(finished.size(), 1);
    client.fetch({master.addressText()}, {GameId::Cod, 1}, false); // within five minutes
    QCOMPARE(finished.size(), 2);
    QCOMPARE(finished.last().at(0).toBool(), false);
    client.fetch({master.addressText()}, {GameId::Cod, 6}, false); // another version's list
    QTRY_COMPARE(finished.size(), 3);
    client.fetch({master.addressText()}, {GameId::Cod4, 1}, false); // another game's, same number
    QTRY_COMPARE(finished.size(), 4);
    client.fetch({master.addressText()}, {GameId::Cod, 1}, true); // Refresh
    QTRY_COMPARE(finished.size(), 5);
    QCOMPARE(master.received.size(), 4);
    // Asked "in an hour": the clock has been set back since, and the master is asked again.
    client.setAskedAt(
        {{"cod 1 " + master.addressText(), QDateTime::currentDateTimeUtc().addSecs(3600)}});
    client.fetch({master.addressText()}, {GameId::Cod, 1}, false);
    QTRY_COMPARE(finished.size(), 6);
    QCOMPARE(master.received.size(), 5);
    // The rule's real length: asked four minutes ago, spared; six minutes ago, asked again.
    const QString key = "cod 1 " + master.addressText();
    client.setAskedAt({{key, QDateTime::currentDateTimeUtc().addSecs(-4 * 60)}});
    client.fetch({master.addressText()}, {GameId::Cod, 1}, false);
    QCOMPARE(finished.size(), 7);
    QCOMPARE(finished.last().at(0).toBool(), false);
    client.setAskedAt({{key, QDateTime::currentDateTimeUtc().addSecs(-6 * 60)}});
    client.fetch({master.addressText()}, {GameId::Cod, 1}, false);
    QTRY_COMPARE(finished.size(), 8);
    QCOMPARE(master.received.size(), 6);
}

void tst_Servers::cacheRoundTrip()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("deep/servers.cache"));
    FoundServer server;
    server.address = {QHostAddress(QStringLiteral("8.8.4.4")).toIPv4Address(), 28960};
    // A mod's score of kills and deaths reads as its first number.
    server.take(*parseStatusReply(FakeStatusServer::statusReply(
                    {R"(\sv_hostname\Harbor\protocol\6\sv_maxclients\20\g_needpass\1)",
                     R"(k:5;d:2 40 "Bob")"})),
                45ms);
    // A server that never said its limit, with more players than the file keeps: the rest of the
    // list stays readable.
    FoundServer crowded;
    crowded.address = {QHostAddress(QStringLiteral("8.8.8.8")).toIPv4Address(), 28961};
    QStringList lines{R"(\sv_hostname\Crowd)"};
    for (int i = 0; i < 1'350; ++i)
        lines.append(QStringLiteral(R"(0 40 "p%1")").arg(i));
    crowded.take(*parseStatusReply(FakeStatusServer::statusReply(lines)), 45ms);
    CachedList list{
        6, {{QStringLiteral("6 master"), QDateTime::currentDateTimeUtc()}}, {crowded, server}};
    QVERIFY(writeServerCache(path, list));
    const std::optional<CachedList> back = readServerCache(path);
    QVERIFY(back);
    QCOMPARE(back->protocol, 6);
    QCOMPARE(back->askedAt.keys(), list.askedAt.keys());
    QCOMPARE(back->servers.size(), 2);
    QCOMPARE(playersFigure(back->servers.first().status.server), QStringLiteral("1350/?"));
    QCOMPARE(back->servers.first().players.size(), 1024);
    const FoundServer &read = back->servers.last();
    QCOMPARE(read.addressText(), QStringLiteral("8.8.4.4:28960"));
    QCOMPARE(statusWords(read.status, PlayedVersion{GameId::Cod, 1}),
             statusWords(server.status, PlayedVersion{GameId::Cod, 1}));
    QCOMPARE(read.players.first().score, 5);
    QCOMPARE(read.players.first().ping, 40);

    // Servers that would take the file past the size the reader takes are left out of it.
    const QString name(500, u'n');
    for (FoundPlayer &player : crowded.players)
        player.name = name;
    list.servers = QList<FoundServer>(20, crowded); // 20 MiB of names
    QVERIFY(writeServerCache(path, list));
    const std::optional<CachedList> kept = readServerCache(path);
    QVERIFY(kept);
    QVERIFY2(kept->servers.size() >= 15 && kept->servers.size() < 20,
             qPrintable(QString::number(kept->servers.size())));
}

void tst_Servers::badCacheIsIgnored_data()
{
    QTest::addColumn<int>("cut");                // bytes cut off a good file's end
    QTest::addColumn<QByteArray>("appended");    // bytes added to its end
    QTest::addColumn<QByteArray>("replacement"); // the whole file instead, when not empty
    QTest::addColumn<bool>("fifo");              // a FIFO in the file's place, which nobody writes
    QTest::newRow("truncated") << 5 << QByteArray() << QByteArray() << false;
    QTest::newRow("trailing bytes") << 0 << QByteArray("x") << QByteArray() << false;
    QTest::newRow("garbage") << 0 << QByteArray() << QByteArray(4000, '\x7f') << false;
    QTest::newRow("huge count") << 0 << QByteArray()
                                << QByteArray("BSC1\0\0\0\1\0\0\0\6\0\0\0\0\x7f\xff\xff\xff", 20)
                                << false;
    // A later version's empty list, which would read well as this version's.
    QTest::newRow("another format")
        << 0 << QByteArray() << QByteArray("BSC1\0\0\0\2\0\0\0\1\0\0\0\0\0\0\0\0", 20) << false;
    QTest::newRow("a FIFO") << 0 << QByteArray() << QByteArray() << true;
}

void tst_Servers::badCacheIsIgnored()
{
    QFETCH(int, cut);
    QFETCH(QByteArray, appended);
    QFETCH(QByteArray, replacement);
    QFETCH(bool, fifo);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("servers.cache"));
    FoundServer server;
    server.address = {0x08080404, 28960};
    if (fifo) {
#ifdef Q_OS_WIN
        QSKIP("Windows has no FIFO at a plain path");
#else
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
#endif
    } else {
        QVERIFY(writeServerCache(path, {1, {}, {server, server}}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray contents = file.readAll();
        contents.chop(cut);
        contents += appended;
        file.resize(0);
        file.write(replacement.isEmpty() ? contents : replacement);
    }
    QVERIFY(!readServerCache(path));
    QVERIFY(writeServerCache(path, {1, {}, {server}})); // rewritten over it
    QCOMPARE(readServerCache(path)->servers.size(), 1);
}

void tst_Servers::lanScan_data()
{
    QTest::addColumn<QString>("secondSender"); // who answers for the second server, when not itself
    QTest::addColumn<int>("secondDelay");      // ms after each request
    QTest::addColumn<QStringList>("found");
    const QString first("10.77.0.2:28960"), second("10.77.0.2:28963");
    QTest::newRow("two servers") << "" << 0 << QStringList{first, second};
    QTest::newRow("reply from another network") << "10.78.0.2:28963" << 0 << QStringList{first};
    QTest::newRow("reply from a port not asked") << "10.77.0.2:28970" << 0 << QStringList{first};
    QTest::newRow("reply after 1.5 s") << "" << 2500 << QStringList{first};
}

// Two servers at the first and last port asked, on a LAN of the test's own; the second answers
// as the row says. The scan asks each network's broadcast addresses only, and finds each server
// that answers as it should, once.
void tst_Servers::lanScan()
{
    QFETCH(QString, secondSender);
    QFETCH(int, secondDelay);
    QFETCH(QStringList, found);
    LanNamespaces lan;
    LAN_OR_SKIP(lan);
    // Loopback and the interface that is down are left out.
    const QList<LanNetwork> networks = lanNetworks(QNetworkInterface::allInterfaces());
    QCOMPARE(networks,
             QList<LanNetwork>({{LanNamespaces::nearAddress(), 24,
                                 QHostAddress(QStringLiteral("10.77.0.255"))}}));
    InfoSender sender{{}, 0, std::chrono::milliseconds(secondDelay)};
    if (!secondSender.isEmpty()) {
        const ServerEndpoint stranger = endpoint(secondSender);
        sender.address = stranger.host();
        sender.port = stranger.port;
    }
    const auto servers = lan.onFarSide([&] {
        return std::array{std::make_unique<FakeLanServer>(28960, QStringLiteral("First")),
                          std::make_unique<FakeLanServer>(28963, QStringLiteral("Second"), sender)};
    });
    LanScan scan;
    QSignalSpy told(&scan, &LanScan::found);
    QSignalSpy finished(&scan, &LanScan::finished);
    scan.start(networks);
    QVERIFY(scan.isScanning());
    QTRY_COMPARE(finished.size(), 1);
    QVERIFY(!scan.isScanning());
    // Every answer is out, and one that came in would have been read.
    QTRY_COMPARE(servers[1]->infoSent, 4);
    QTest::qWait(50);
    QStringList foundTexts;
    for (const QList<QVariant> &signal : told)
        foundTexts.append(signal.at(0).value<ServerEndpoint>().text());
    foundTexts.sort();
    QCOMPARE(foundTexts, found);
    // Twice to each of the two broadcast addresses.
    for (const auto &server : servers)
        QCOMPARE(server->received, QList<QByteArray>(4, QByteArray("\xff\xff\xff\xffgetinfo xxx")));
}

// Answering servers, a silent one, one that only answers the resend, one whose answer comes
// from a stranger's port: each ends once, as it should.
void tst_Servers::sweepManyServers()
{
    FakeStatusServer answering(2), silent(3), secondTime(4), stranger(5);
    const QByteArray reply = FakeStatusServer::statusReply({R"(\sv_hostname\Harbor)"});
    answering.answerNext({{reply, FakeStatusServer::Sender::Server, 20ms}});
    secondTime.answerNext(QList<FakeStatusServer::Datagram>{});
    secondTime.answerNext(reply);
    stranger.answerNext({{reply, FakeStatusServer::Sender::OtherPort}});
    ServerSweep sweep({1000, 100ms, 300ms});
    QSignalSpy replied(&sweep, &ServerSweep::replied);
    QSignalSpy noReply(&sweep, &ServerSweep::noReply);
    sweep.ask({keyOf(answering), keyOf(silent), keyOf(secondTime), keyOf(stranger)});
    QTRY_VERIFY(sweep.isIdle());
    QCOMPARE(replied.size(), 2);
    QCOMPARE(replied.at(0).at(0).value<quint64>(), keyOf(answering));
    QCOMPARE(replied.at(1).at(0).value<quint64>(), keyOf(secondTime));
    QVERIFY(replied.at(1).at(2).value<std::chrono::microseconds>() < 100ms); // since the resend
    QCOMPARE(noReply.size(), 2);
    QCOMPARE(answering.received.size(), 1);
    QCOMPARE(silent.received.size(), 2);
    QCOMPARE(silent.received.first().data, QByteArray("\xff\xff\xff\xffgetstatus"));
}

void tst_Servers::sweepKeepsThePace()
{
    std::vector<std::unique_ptr<FakeStatusServer>> servers;
    QList<quint64> keys;
    for (int i = 0; i < 21; ++i) {
        servers.push_back(std::make_unique<FakeStatusServer>(2));
        servers.back()->answerNext(FakeStatusServer::statusReply({}));
        keys.append(keyOf(*servers.back()));
    }
    ServerSweep sweep({100, 1000ms, 3000ms});
    QSignalSpy replied(&sweep, &ServerSweep::replied);
    // A quiet while earns no burst afterwards.
    sweep.ask({keys.takeLast()});
    QTRY_COMPARE(replied.size(), 1);
    QTest::qWait(300);
    QElapsedTimer clock;
    clock.start();
    sweep.ask(keys);
    QTRY_COMPARE(replied.size(), 21);
    QVERIFY2(clock.elapsed() >= 185, qPrintable(QString::number(clock.elapsed())));
}

void tst_Servers::progressWords_data()
{
    QTest::addColumn<BrowserProgress>("progress");
    QTest::addColumn<QString>("words");
    QTest::newRow("many") << BrowserProgress{2000, 2, {}, 1500, {}}
                          << "2000 servers from 2 masters, 1500 answered";
    QTest::newRow("one of each, a failure")
        << BrowserProgress{1, 1, {}, 1, {"127.0.0.62:20510: no answer"}}
        << "1 server from 1 master, 1 answered; 127.0.0.62:20510: no answer";
    QTest::newRow("kept list, just taken")
        << BrowserProgress{4, 0, 59s, 0, {}}
        << "4 servers from the cache, less than 1 min old, 0 answered";
    QTest::newRow("kept list, minutes")
        << BrowserProgress{4, 0, 299s, 3, {}} << "4 servers from the cache, 4 min old, 3 answered";
    QTest::newRow("kept list, hours")
        << BrowserProgress{4, 0, 3h, 3, {}} << "4 servers from the cache, 3 h old, 3 answered";
    QTest::newRow("kept list, days") << BrowserProgress{4, 0, 24h * 9 + 5h, 3, {}}
                                     << "4 servers from the cache, 9 days old, 3 answered";
    QTest::newRow("from the LAN too") << BrowserProgress{5, 1, {}, 4, {}, 2}
                                      << "3 servers from 1 master, 2 on the LAN, 4 answered";
    QTest::newRow("kept list, none on the LAN")
        << BrowserProgress{4, 0, 299s, 3, {}, 0}
        << "4 servers from the cache, 4 min old, 0 on the LAN, 3 answered";
}

void tst_Servers::progressWords()
{
    QFETCH(BrowserProgress, progress);
    QTEST(::progressWords(progress), "words");
}

void tst_Servers::countryColumn_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("german");       // the program's German translation installed
    QTest::addColumn<QStringList>("shown"); // the Country cells of the rows kept, sorted by it
    QTest::addColumn<QStringList>("names"); // their tooltips, and how their descriptions end
    QTest::newRow("all: by code, then LAN, then unknown")
        << "" << false << QStringList{"CI", "DE", "US", "LAN", ""}
        << QStringList{"Côte d'Ivoire", "Germany", "United States", "LAN", ""};
    QTest::newRow("code, any case") << "de" << false << QStringList{"DE"} << QStringList{"Germany"};
    QTest::newRow("English name") << "GERMAN" << false << QStringList{"DE"}
                                  << QStringList{"Germany"};
    QTest::newRow("English name beyond ASCII")
        << "côte" << false << QStringList{"CI"} << QStringList{"Côte d'Ivoire"};
    QTest::newRow("part of several")
        << "an" << false << QStringList{"DE", "LAN"} << QStringList{"Germany", "LAN"};
    QTest::newRow("German name, in German")
        << "deutsch" << true << QStringList{"DE"} << QStringList{"Deutschland"};
    QTest::newRow("English name, in German")
        << "germany" << true << QStringList{"DE"} << QStringList{"Deutschland"};
}

// Servers in Germany, Côte d'Ivoire, the United States, on a LAN (the scan found it there, though
// its address has no country) and on an address no country has, all silent.
void tst_Servers::countryColumn()
{
    QFETCH(QString, filter);
    QFETCH(bool, german);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, names);
    QTranslator translation;
    if (german) {
        QVERIFY(translation.load(QStringLiteral(BRINEMOOR_GERMAN_TRANSLATION)));
        QCoreApplication::installTranslator(&translation);
    }
    QList<FoundServer> servers;
    for (const char *address : {"8.8.8.8:28960", "203.0.113.9:28960", "81.169.145.10:28960",
                                "198.51.100.7:28960", "41.66.0.1:28960"}) {
        FoundServer server;
        server.address = endpoint(QString::fromLatin1(address));
        server.foundOnLan = server.addressText() == QLatin1String("203.0.113.9:28960");
        server.status.state = BookmarkStatus::State::NoReply;
        servers.append(server);
    }
    ServerListModel model;
    model.setServers(servers);
    ServerFilter rows(model);
    rows.setText(filter);
    rows.sort(ServerListModel::Country);
    QStringList cells;
    for (int row = 0; row < rows.rowCount(); ++row) {
        const QModelIndex country = rows.index(row, ServerListModel::Country);
        const QModelIndex name = rows.index(row, ServerListModel::Name);
        const QString place = names.value(row);
        cells.append(country.data().toString());
        QCOMPARE(country.data(Qt::ToolTipRole),
                 place.isEmpty() ? name.data(Qt::ToolTipRole) : place);
        const QString description = name.data(Qt::AccessibleDescriptionRole).toString();
        QVERIFY2(place.isEmpty() ? !description.contains(u',')
                                 : description.endsWith(QStringLiteral(", ") + place),
                 qPrintable(description));
        QCOMPARE(name.data(Qt::ToolTipRole), description);
    }
    QCOMPARE(cells, shown);
}

QTEST_GUILESS_MAIN(tst_Servers)
#include "tst_servers.moc"
