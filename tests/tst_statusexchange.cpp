// SPDX-License-Identifier: GPL-3.0-or-later
// The status exchange on the main window against fake servers on loopback: the request, the reply
// on display, the rename offer, the ends of an exchange and the ping shown; and the background
// refresh of every bookmark's status in the list.
#include "app/bookmarkdelegate.h"
#include "app/bookmarklist.h"
#include "bookmarks/bookmarkmodel.h"
#include "fakestatusserver.h"
#include "friends/friendsettings.h"
#include "query/statusrefresh.h"
#include "settings/appsettings.h"
#include "storedump.h"
#include "windowharness.h"

#include <QAccessible>
#include <QAction>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPaintEvent>
#include <QListWidget>
#include <QPainter>
#include <QSignalSpy>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

// What hovering over the label shows.
QString tooltipOf(QLabel *label)
{
    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &hover);
    const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
    QToolTip::hideText();
    return shown;
}

// A window on a fresh store, a fake server on 127.0.0.2 and a pinger that answers in 47 ms.
class ExchangeSession
{
public:
    explicit ExchangeSession(std::chrono::milliseconds queryTimeout = 5s)
        : ended(&start(queryTimeout), &Brinemoor::exchangeEnded)
    { }

    void query(const QString &address) { harness.getDetails(address); }
    void queryServer() { query(server.addressText()); }

    QString text(const char *label) { return harness.find<QLabel>(label)->text(); }
    QStringList rows(const char *list)
    {
        QStringList all;
        const QListWidget *widget = harness.find<QListWidget>(list);
        for (int row = 0; row < widget->count(); ++row)
            all.append(widget->item(row)->text());
        return all;
    }
    bool ready() { return harness.window().state().ServerReady; }
    bool timerRunning() { return harness.find<QTimer>("timeout")->isActive(); }
    bool idle() { return harness.idle(); }

    WindowHarness harness;
    FakeStatusServer server;
    QSignalSpy ended;

private:
    Brinemoor &start(std::chrono::milliseconds queryTimeout)
    {
        harness.storeGamePath();
        harness.pinger.roundTrip = 47ms;
        StartOptions options;
        options.exchange.reply = queryTimeout;
        return harness.start(options);
    }
};

} // namespace

class TestStatusExchange : public QObject
{
    Q_OBJECT

private slots:
    void requestOnTheWire();
    void replyFillsTheDisplay_data();
    void replyFillsTheDisplay();
    void playerListEditsTheFriends();
    void serverNameOffer_data();
    void serverNameOffer();
    void silentServerTimesOutAndALateReplyIsStillShown();
    void refusedPortEndsAtOnce();
    void querySentNowhere_data();
    void querySentNowhere();
    void failedCheckResetsTheDisplayAndSendsNothing();
    void twoQueriesInARow();
    void strayDatagramsNeverReachTheDisplay_data();
    void strayDatagramsNeverReachTheDisplay();
    void pingFromTheEcho_data();
    void pingFromTheEcho();
    void pingFromTheRequestWhenTheEchoIsLost();
    void backgroundRefresh_data();
    void backgroundRefresh();
    void refreshLeavesTheForegroundAlone();
    void rowMarks_data();
    void rowMarks();
    void statusRepaintsItsRowAlone();
};

void TestStatusExchange::requestOnTheWire()
{
    ExchangeSession session;
    QVERIFY(session.server.isListening());
    session.queryServer();
    QVERIFY(!session.harness.window().isEnabled());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QTRY_COMPARE(session.server.received.size(), 1);
    const FakeStatusServer::Received request = session.server.received.constFirst();
    QCOMPARE(request.data, QByteArray::fromHex("ffffffff676574737461747573"));
    QCOMPARE(request.senderPort, session.server.port());
    QCOMPARE(request.sender, QHostAddress(QStringLiteral("127.0.0.1")));
    QCOMPARE(session.harness.pinger.hosts, QStringList{QStringLiteral("127.0.0.2")});
    QVERIFY(!session.ready());
    QVERIFY(session.timerRunning());
}

void TestStatusExchange::replyFillsTheDisplay_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("players");
    QTest::addColumn<QString>("playersLabel");
    QTest::addColumn<QVariant>("limit"); // invalid: no limit came
    QTest::addColumn<QString>("typeLabel");
    QTest::addColumn<QString>("mapLabel");
    QTest::addColumn<QString>("reservedLabel");
    QTest::addColumn<QStringList>("cutShort"); // labels that show "…" and the whole text as tooltip

    QTest::newRow("worked example") << QStringList{kWorkedInfo, kBob} << QStringList{"Bob"}
                                    << "Players: 1/20" << QVariant("20") << "Type: dm"
                                    << "Map: mp_harbor"
                                    << "Reserved Spaces: 0" << QStringList{};
    QTest::newRow("no players and no limit") << QStringList{R"(\g_gametype\ctf)"} << QStringList{}
                                             << "Players: 0/0" << QVariant() << "Type: ctf"
                                             << "Map:"
                                             << "Reserved Spaces: 0" << QStringList{};
    QTest::newRow("labels trimmed, list as sent")
        << QStringList{R"(\g_gametype\ sd \mapname\ mp_dawnville\sv_privateClients\ 2 )"
                       R"(\sv_maxclients\ 24 )",
                       R"(0 50 "Al")", R"(3 70 "Eve")"}
        << QStringList{"Al", "Eve"} << "Players: 2/24" << QVariant("24") << "Type: sd"
        << "Map: mp_dawnville"
        << "Reserved Spaces: 2" << QStringList{};
    QTest::newRow("limit sent as empty text keeps the count of the variables' line")
        << QStringList{R"(\sv_maxclients\)", R"(1 20 "Al")"} << QStringList{"Al"} << "Players: 0/"
        << QVariant("") << "Type:"
        << "Map:"
        << "Reserved Spaces: 0" << QStringList{};
    QTest::newRow("names too long for their room")
        << QStringList{R"(\g_gametype\searchanddestroy\mapname\mp_carentan_winter_final_v2)"}
        << QStringList{} << "Players: 0/0" << QVariant() << "Type: searchanddestroy"
        << "Map: mp_carentan_winter_final_v2"
        << "Reserved Spaces: 0" << QStringList{"lbl_map", "lbl_type"};
}

void TestStatusExchange::replyFillsTheDisplay()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, players);
    QFETCH(QString, playersLabel);
    QFETCH(QVariant, limit);
    QFETCH(QString, typeLabel);
    QFETCH(QString, mapLabel);
    QFETCH(QString, reservedLabel);
    QFETCH(QStringList, cutShort);
    ExchangeSession session;
    session.server.answerNext(FakeStatusServer::statusReply(lines));
    session.queryServer();
    QTRY_VERIFY(session.ready());
    QCOMPARE(session.rows("server_players"), players);
    QCOMPARE(session.text("lbl_players"), playersLabel);
    QCOMPARE(session.text("lbl_type"), typeLabel);
    QCOMPARE(session.text("lbl_map"), mapLabel);
    QCOMPARE(session.text("lbl_reserved"), reservedLabel);
    QCOMPARE(session.text("lbl_ping"), QStringLiteral("Ping: 47"));
    for (const char *name : {"lbl_players", "lbl_ping", "lbl_reserved", "lbl_map", "lbl_type"}) {
        auto *label = session.harness.find<QLabel>(name);
        QCOMPARE(tooltipOf(label), cutShort.contains(QLatin1String(name)) ? label->text() : "");
    }
    // A label ends before its neighbour on the right, so a long text cannot run into it.
    const auto endsBefore = [&session](const char *label, const char *neighbour) {
        return session.harness.find<QLabel>(label)->geometry().right()
            < session.harness.find<QLabel>(neighbour)->x();
    };
    QVERIFY(endsBefore("lbl_players", "lbl_ping"));
    QVERIFY(endsBefore("lbl_map", "lbl_type"));
    const std::optional<QString> storedLimit = session.harness.window().state().sv_maxclients;
    QCOMPARE(storedLimit.has_value(), limit.isValid());
    QCOMPARE(storedLimit.value_or(QString()), limit.toString());
    QVERIFY(session.idle());
    QVERIFY(!session.timerRunning());
    QCOMPARE(session.ended.size(), 1);
    QVERIFY(session.harness.dialogs.messages.isEmpty());
}

// The player list's context menu offers the one of "Add to Friends" and "Remove from Friends"
// that fits the chosen player; a friend's name is bold.
void TestStatusExchange::playerListEditsTheFriends()
{
    ExchangeSession session;
    session.server.answerNext(FakeStatusServer::statusReply({kWorkedInfo, kBob, kBob}));
    session.queryServer();
    QTRY_VERIFY(session.ready());
    auto *players = session.harness.find<QListWidget>("server_players");
    auto *add = session.harness.find<QAction>("addFriend");
    auto *remove = session.harness.find<QAction>("removeFriend");
    QCOMPARE(players->actions(), (QList<QAction *>{add, remove}));
    QCOMPARE(add->text(), QStringLiteral("Add to Friends"));
    QCOMPARE(remove->text(), QStringLiteral("Remove from Friends"));
    const auto bold = [players](int row) { return players->item(row)->font().bold(); };

    players->setCurrentRow(0);
    QVERIFY(add->isVisible() && !remove->isVisible());
    add->trigger();
    QCOMPARE(AppSettings(*session.harness.reopenStore()).friends(),
             QStringList{players->item(0)->text()});
    QVERIFY(bold(0) && bold(1)); // the same name twice
    QVERIFY(!add->isVisible() && remove->isVisible());
    remove->trigger();
    QVERIFY(AppSettings(*session.harness.reopenStore()).friends().isEmpty());
    QVERIFY(!bold(0) && !bold(1));
    QVERIFY(session.harness.dialogs.messages.isEmpty());
}

void TestStatusExchange::serverNameOffer_data()
{
    QTest::addColumn<QString>("nameBefore");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("nameAfter"); // when nothing is saved
    QTest::addColumn<bool>("saved");

    QTest::newRow("empty name filled in silently")
        << "" << false << false << "Harbor Nights" << false;
    QTest::newRow("same name, nothing asked")
        << "Harbor Nights" << false << false << "Harbor Nights" << false;
    QTest::newRow("letter case differs, declined")
        << "harbor nights" << true << false << "harbor nights" << false;
    QTest::newRow("accepted, saved under the server's name")
        << "Old Name" << true << true << "" << true;
}

void TestStatusExchange::serverNameOffer()
{
    QFETCH(QString, nameBefore);
    QFETCH(bool, asked);
    QFETCH(bool, accept);
    QFETCH(QString, nameAfter);
    QFETCH(bool, saved);
    ExchangeSession session;
    // A second copy of the reply arrives while the question is open: it must not be asked twice.
    const QByteArray reply = FakeStatusServer::statusReply(
        {R"(\sv_hostname\ Harbor Nights \sv_maxclients\16)"});
    session.server.answerNext({{reply}, {reply}});
    if (asked)
        session.harness.dialogs.answerNext(accept ? Dialogs::Answer::Ok : Dialogs::Answer::Cancel);
    session.harness.find<QLineEdit>("server_name")->setText(nameBefore);
    session.queryServer();
    QTRY_VERIFY(session.ready());

    QCOMPARE(session.harness.window().state().sv_hostname, QStringLiteral("Harbor Nights"));
    QCOMPARE(session.harness.dialogs.messages.size(), asked ? 1 : 0);
    if (asked) {
        const ScriptedDialogs::Shown question = session.harness.dialogs.messages.constFirst();
        QCOMPARE(question.text, QStringLiteral("Update Server Name?"));
        QCOMPARE(question.buttons, Dialogs::Buttons::OkCancel);
        QCOMPARE(question.icon, Dialogs::Icon::None);
    }
    const QJsonArray store = dumpStore(session.harness.settingsPath());
    const auto savedEntry = std::find_if(store.begin(), store.end(), [](const QJsonValue &entry) {
        return entry.toObject().value(QStringLiteral("name")) == QStringLiteral("Harbor Nights");
    });
    QCOMPARE(savedEntry != store.end(), saved);
    if (saved)
        QCOMPARE(savedEntry->toObject().value(QStringLiteral("ip")).toString(),
                 session.server.addressText());
    else
        QCOMPARE(session.harness.find<QLineEdit>("server_name")->text(), nameAfter);
    QCOMPARE(session.text("lbl_ping"), QStringLiteral("Ping: 47"));
    QVERIFY(session.idle());
    QTest::qWait(50); // the second copy has had its chance
    QCOMPARE(session.ended.size(), 1);
}

void TestStatusExchange::silentServerTimesOutAndALateReplyIsStillShown()
{
    ExchangeSession session(200ms);
    // The echo comes back after the time-out, within its own bound: a host that answers echoes
    // but not status requests must not look alive.
    session.harness.pinger.answerAfter = 300ms;
    session.queryServer();
    QTRY_VERIFY(session.ready());
    QCOMPARE(session.text("lbl_ping"), QStringLiteral("Ping: Timeout"));
    QTest::qWait(250);
    QCOMPARE(session.text("lbl_ping"), QStringLiteral("Ping: Timeout"));
    QCOMPARE(session.text("lbl_players"), QStringLiteral("Players: 0/0"));
    QVERIFY(session.rows("server_players").isEmpty());
    QVERIFY(session.idle());
    QCOMPARE(session.ended.size(), 1);
    QVERIFY(session.harness.dialogs.messages.isEmpty());

    session.server.sendToLastClient(workedExample());
    QTRY_COMPARE(session.rows("server_players"), QStringList{QStringLiteral("Bob")});
    const QString ping = session.text("lbl_ping"); // the request's own round trip
    QVERIFY2(ping.startsWith(QStringLiteral("Ping: ")) && ping.mid(6).toInt() >= 200,
             qPrintable(ping));
    QCOMPARE(session.text("lbl_players"), QStringLiteral("Players: 1/20"));
    QVERIFY(session.idle());
}

void TestStatusExchange::refusedPortEndsAtOnce()
{
    ExchangeSession session(1h); // an end within QTRY's few seconds can only be the refusal
    session.query(QStringLiteral("127.0.0.2:%1").arg(FakeStatusServer::unusedPort()));
    QTRY_VERIFY(session.ready());
    QCOMPARE(session.text("lbl_ping"), QStringLiteral("Ping: -"));
    QCOMPARE(session.text("lbl_players"), QStringLiteral("Players: 0/0"));
    QVERIFY(session.rows("server_players").isEmpty());
    QVERIFY(session.idle());
    QVERIFY(!session.timerRunning());
    QCOMPARE(session.ended.size(), 1);
    QVERIFY(session.harness.dialogs.messages.isEmpty());
}

// A port no socket takes is an invalid address, told like any other: no exchange starts. A port
// this machine holds is found only by the socket, and ends the exchange it started.
void TestStatusExchange::querySentNowhere_data()
{
    QTest::addColumn<QString>("address"); // "%1": the fake server's port
    QTest::addColumn<bool>("portHeldHere");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Dialogs::Icon>("icon");
    QTest::addColumn<int>("exchanges");

    QTest::newRow("port held by another program here")
        << "127.0.0.2:%1" << true << "The bound address is already in use" << Dialogs::Icon::None
        << 1;
    QTest::newRow("port above 65535")
        << "127.0.0.2:65536" << false << "Invalid IP" << Dialogs::Icon::Critical << 0;
    QTest::newRow("octet above 255")
        << "127.0.0.256:%1" << false << "Invalid IP" << Dialogs::Icon::Critical << 0;
}

void TestStatusExchange::querySentNowhere()
{
    QFETCH(QString, address);
    QFETCH(bool, portHeldHere);
    QFETCH(QString, message);
    QFETCH(Dialogs::Icon, icon);
    QFETCH(int, exchanges);
    ExchangeSession session;
    // The holder would share its port: only a status socket that insists on the port for itself
    // finds it taken, as it must, so that no other program's datagrams reach it.
    QUdpSocket holder;
    if (portHeldHere)
        QVERIFY(holder.bind(QHostAddress(QStringLiteral("127.0.0.1")), session.server.port(),
                            QAbstractSocket::ShareAddress));
    session.harness.dialogs.answerNext(Dialogs::Answer::Ok);
    session.query(address.contains(u'%') ? address.arg(session.server.port()) : address);
    QCOMPARE(session.harness.dialogs.texts(), QStringList{message});
    QCOMPARE(session.harness.dialogs.messages.constFirst().buttons, Dialogs::Buttons::Ok);
    QCOMPARE(session.harness.dialogs.messages.constFirst().icon, icon);
    QCOMPARE(session.harness.window().state().result, exchanges ? "ok" : message);
    QCOMPARE(session.harness.pinger.hosts.size(), exchanges);
    QVERIFY(session.idle());
    QVERIFY(!session.ready());
    QVERIFY(!session.timerRunning());
    QCOMPARE(session.ended.size(), exchanges);
}

void TestStatusExchange::failedCheckResetsTheDisplayAndSendsNothing()
{
    ExchangeSession session;
    session.server.answerNext(workedExample());
    session.queryServer();
    QTRY_VERIFY(session.ready());
    session.harness.dialogs.answerNext(Dialogs::Answer::Ok);
    session.query(QStringLiteral("127.0.0.2"));
    QCOMPARE(session.harness.dialogs.texts(),
             QStringList{QStringLiteral("You must have a server port with the ip (ip:port)")});
    QCOMPARE(session.harness.dialogs.messages.constFirst().icon, Dialogs::Icon::Critical);
    QVERIFY(session.rows("server_players").isEmpty());
    QCOMPARE(session.text("lbl_ping"), QStringLiteral("Ping: -"));
    QCOMPARE(session.text("lbl_players"), QStringLiteral("Players: 0/0"));
    QCOMPARE(session.text("lbl_type"), QStringLiteral("Type: dm"));
    QCOMPARE(session.text("lbl_map"), QStringLiteral("Map: mp_harbor"));
    QVERIFY(!session.harness.window().state().sv_maxclients);
    QCOMPARE(session.harness.pinger.hosts.size(), 1);
    QCOMPARE(session.ended.size(), 1);
    QVERIFY(session.idle());
}

void TestStatusExchange::twoQueriesInARow()
{
    ExchangeSession session;
    session.server.answerNext(
        FakeStatusServer::statusReply({R"(\mapname\mp_brecourt)", R"(0 9 "Al")", R"(0 9 "Bo")"}));
    session.server.answerNext(FakeStatusServer::statusReply({R"(\mapname\mp_pavlov)", kBob}));
    session.queryServer();
    QTRY_COMPARE(session.text("lbl_map"), QStringLiteral("Map: mp_brecourt"));
    QTRY_VERIFY(session.idle());
    session.queryServer();
    QTRY_COMPARE(session.text("lbl_map"), QStringLiteral("Map: mp_pavlov"));
    QCOMPARE(session.rows("server_players"), QStringList{QStringLiteral("Bob")});
    QCOMPARE(session.server.received.size(), 2);
    QCOMPARE(session.server.received.at(1).senderPort, session.server.port());
    QCOMPARE(session.ended.size(), 2);
}

void TestStatusExchange::strayDatagramsNeverReachTheDisplay_data()
{
    QTest::addColumn<FakeStatusServer::Sender>("sender");
    QTest::addColumn<QByteArray>("stray");
    const QByteArray forged = FakeStatusServer::statusReply({R"(\mapname\mp_forged)"});
    QTest::newRow("no status header, from the server")
        << FakeStatusServer::Sender::Server << QByteArray("\xff\xff\xff\xffprint\n");
    QTest::newRow("forged, from another port") << FakeStatusServer::Sender::OtherPort << forged;
    QTest::newRow("forged, from another address")
        << FakeStatusServer::Sender::OtherAddress << forged;
}

// The stray datagram goes first; had it been taken for the reply, the exchange would have ended
// with it and the real reply would never be shown.
void TestStatusExchange::strayDatagramsNeverReachTheDisplay()
{
    QFETCH(FakeStatusServer::Sender, sender);
    QFETCH(QByteArray, stray);
    ExchangeSession session;
    session.server.answerNext({{stray, sender}, {workedExample(), {}, 50ms}});
    session.queryServer();
    QTRY_VERIFY(session.ready());
    QCOMPARE(session.text("lbl_map"), QStringLiteral("Map: mp_harbor"));
    QCOMPARE(session.rows("server_players"), QStringList{QStringLiteral("Bob")});
    QCOMPARE(session.ended.size(), 1);
    QVERIFY(session.harness.dialogs.messages.isEmpty());
}

void TestStatusExchange::pingFromTheEcho_data()
{
    QTest::addColumn<qint64>("echoMicroseconds");
    QTest::addColumn<int>("echoAfter"); // milliseconds after the query started
    QTest::addColumn<bool>("newFirst"); // [ New ] empties the display before the echo is back
    QTest::addColumn<QString>("ping");
    QTest::newRow("47 ms") << qint64(47000) << 0 << false << "Ping: 47";
    QTest::newRow("whole milliseconds") << qint64(1999) << 0 << false << "Ping: 1";
    QTest::newRow("echo back after the reply corrects the ping")
        << qint64(47000) << 200 << false << "Ping: 47";
    QTest::newRow("echo back after New leaves the emptied display")
        << qint64(47000) << 200 << true << "Ping: -";
}

void TestStatusExchange::pingFromTheEcho()
{
    QFETCH(qint64, echoMicroseconds);
    QFETCH(int, echoAfter);
    QFETCH(bool, newFirst);
    QFETCH(QString, ping);
    ExchangeSession session;
    session.harness.pinger.roundTrip = std::chrono::microseconds(echoMicroseconds);
    session.harness.pinger.answerAfter = std::chrono::milliseconds(echoAfter);
    session.server.answerNext(workedExample());
    session.queryServer();
    QTRY_VERIFY(session.ready());
    if (newFirst)
        session.harness.find<QAction>("menu_new")->trigger();
    QTest::qWait(echoAfter + 50);
    QTRY_COMPARE(session.text("lbl_ping"), ping);
}

// Many servers drop echoes: the ping is then the status request's own round trip, never "Ping: 0".
void TestStatusExchange::pingFromTheRequestWhenTheEchoIsLost()
{
    ExchangeSession session;
    session.harness.pinger.roundTrip = std::nullopt;
    session.server.answerNext({{workedExample(), {}, 120ms}});
    session.queryServer();
    QTRY_VERIFY(session.ready());
    const QString ping = session.text("lbl_ping");
    QVERIFY2(ping.startsWith(QStringLiteral("Ping: ")), qPrintable(ping));
    QVERIFY2(ping.mid(6).toInt() >= 120 && ping.mid(6).toInt() < 1000, qPrintable(ping));
}

// One bookmark, stored before start-up or saved once the window shows, and its row after the
// refresh: the row's text stays the name, its words go to the tooltip and the accessible
// description.
void TestStatusExchange::backgroundRefresh_data()
{
    QTest::addColumn<QStringList>("reply"); // none: the server stays silent
    QTest::addColumn<QString>("address");   // "%1": the fake server's; empty: a port nobody holds
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("words"); // "%1": the ping

    const QString info = QStringLiteral(R"(\sv_maxclients\4\mapname\mp_harbor)");
    QTest::newRow("answered, listed at start-up") << QStringList{info, kBob} << "%1" << false
                                                  << "1/4 players, ping %1 ms, map mp_harbor, LAN";
    QTest::newRow("answered, saved")
        << QStringList{info, kBob} << "%1" << true << "1/4 players, ping %1 ms, map mp_harbor, LAN";
    QTest::newRow("password") << QStringList{info + QStringLiteral(R"(\pswrd\1)"), kBob} << "%1"
                              << false
                              << "1/4 players, ping %1 ms, map mp_harbor, password required, LAN";
    QTest::newRow("full") << QStringList{info + QStringLiteral(R"(\sv_privateClients\1)"), kBob,
                                         kBob, kBob}
                          << "%1" << false << "3/4 players, ping %1 ms, map mp_harbor, full, LAN";
    QTest::newRow("another game version than the game's 1.1")
        << QStringList{info + QStringLiteral(R"(\protocol\6)"), kBob} << "%1" << false
        << "1/4 players, ping %1 ms, map mp_harbor, other version 1.5, LAN";
    QTest::newRow("silent") << QStringList{} << "%1" << false << "no reply, LAN";
    QTest::newRow("refused") << QStringList{} << "" << false << "refused, LAN";
    // No address, no country.
    QTest::newRow("address the rules refuse")
        << QStringList{} << "127.0.0.2" << false
        << "bad address: You must have a server port with the ip (ip:port)";
    // A host name is never looked up, not even for its country.
    QTest::newRow("host name") << QStringList{} << "localhost:28960" << false
                               << "bad address: You must have a server port with the ip (ip:port)";
}

void TestStatusExchange::backgroundRefresh()
{
    QFETCH(QStringList, reply);
    QFETCH(QString, address);
    QFETCH(bool, saved);
    QFETCH(QString, words);
    FakeStatusServer server;
    QVERIFY(server.isListening());
    if (!reply.isEmpty())
        server.answerNext({{FakeStatusServer::statusReply(reply), {}, 30ms}});
    if (address.isEmpty())
        address = QStringLiteral("127.0.0.2:%1").arg(FakeStatusServer::unusedPort());
    else if (address.contains(u'%'))
        address = address.arg(server.addressText());
    WindowHarness harness;
    harness.storeGamePath();
    if (!saved)
        QVERIFY(
            harness.reopenStore()->write(QStringLiteral("Harbor"), QStringLiteral("ip"), address));
    StartOptions options;
    options.exchange.reply = 300ms;
    Brinemoor &window = harness.start(options);
    QSignalSpy refreshed(harness.find<StatusRefresh>("refresh"), &StatusRefresh::finished);
    window.show();
    QVERIFY(refreshed.wait());
    if (saved) {
        harness.find<QLineEdit>("server_name")->setText(QStringLiteral("Harbor"));
        QTest::keyClicks(harness.find<QLineEdit>("server_ip"), address);
        harness.find<QAction>("menu_save")->trigger();
        QVERIFY(refreshed.wait());
        // The watch on the store must take the program's own write for no news from outside.
        QTest::qWait(400);
    }

    QListView *list = harness.bookmarkList();
    QCOMPARE(harness.bookmarkRows().size(), 1);
    const QModelIndex bookmark = harness.bookmarkIndex(0);
    const auto status = bookmark.data(roleId(BookmarkRole::Status)).value<BookmarkStatus>();
    if (words.contains(u'%')) {
        QVERIFY2(status.server.pingMs >= 30, "the ping is the request's round trip");
        words = words.arg(status.server.pingMs);
    }
    QCOMPARE(bookmark.data().toString(), QStringLiteral("Harbor"));
    QCOMPARE(bookmark.data(Qt::ToolTipRole).toString(), words);
    QAccessibleInterface *row = QAccessible::queryAccessibleInterface(list)->child(0);
    QVERIFY(row);
    QCOMPARE(row->text(QAccessible::Name), QStringLiteral("Harbor"));
    QCOMPARE(row->text(QAccessible::Description), words);
    QCOMPARE(server.received.size(), address == server.addressText() ? 1 : 0);
    QVERIFY(harness.dialogs.messages.isEmpty());
}

// The refresh only ever changes the list's rows: neither the fields being edited, nor the status
// display, the selection or the window-level state; and it never offers a rename.
void TestStatusExchange::refreshLeavesTheForegroundAlone()
{
    FakeStatusServer server;
    QVERIFY(server.isListening());
    // Another name than the bookmark's: shown by the window's exchange, it would ask to rename.
    const auto elsewhere = [](int players) {
        return FakeStatusServer::statusReply(
            QStringList{QStringLiteral(R"(\sv_hostname\Elsewhere\mapname\mp_forged)")}
            + QStringList(players, kBob));
    };
    server.answerNext(elsewhere(1)); // the refresh as the window shows
    server.answerNext(workedExample());
    server.answerNext(elsewhere(2)); // F5
    WindowHarness harness;
    harness.storeGamePath();
    QVERIFY(harness.reopenStore()->write(QStringLiteral("Harbor"), QStringLiteral("ip"),
                                         server.addressText()));
    Brinemoor &window = harness.start();
    QSignalSpy refreshed(harness.find<StatusRefresh>("refresh"), &StatusRefresh::finished);
    QSignalSpy ended(&window, &Brinemoor::exchangeEnded);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(refreshed.wait());
    QTest::mouseClick(harness.bookmarkList()->viewport(), Qt::LeftButton, {},
                      harness.bookmarkCentre(0));
    QTRY_COMPARE(ended.size(), 1);
    harness.find<QLineEdit>("server_pass")->setText(QStringLiteral("being typed"));

    const auto foreground = [&harness] {
        QStringList shown;
        for (const char *field : {"server_name", "server_ip", "server_pass"})
            shown.append(harness.find<QLineEdit>(field)->text());
        for (const char *label : {"lbl_ping", "lbl_players", "lbl_type", "lbl_map", "lbl_reserved"})
            shown.append(harness.find<QLabel>(label)->text());
        const QListWidget *players = harness.find<QListWidget>("server_players");
        for (int row = 0; row < players->count(); ++row)
            shown.append(players->item(row)->text());
        const WindowState &state = harness.window().state();
        shown << QString::number(harness.currentBookmark())
              << QVariant(state.ServerReady).toString() << state.sv_hostname
              << state.sv_maxclients.value_or(QStringLiteral("none")) << state.result;
        return shown;
    };
    const QStringList before = foreground();
    QCOMPARE(harness.find<QAction>("refreshAll")->text(), QStringLiteral("Refresh all"));
    QTest::keyClick(&window, Qt::Key_F5);
    QVERIFY(refreshed.wait());
    QVERIFY(harness.bookmarkRows(Qt::ToolTipRole)
                .constFirst()
                .startsWith(QStringLiteral("2/? players")));
    QCOMPARE(foreground(), before);
    QCOMPARE(ended.size(), 1);
    QCOMPARE(server.received.size(), 3);
    QVERIFY(harness.dialogs.messages.isEmpty());
}

namespace {

// One row of the server list as the delegate paints it, with no name unless given, white on black.
QImage paintedRow(const BookmarkStatus &status, int friends = 0, const Bookmark &bookmark = {})
{
    BookmarkModel model;
    model.fill({bookmark});
    model.setStatus(QString(), status, friends);
    QListView view;
    view.setModel(&model);
    view.setItemDelegate(new BookmarkDelegate(&view));
    QPalette palette = view.palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, Qt::white);
    view.setPalette(palette);
    view.resize(345, 60);
    view.doItemsLayout();
    return view.viewport()->grab(view.visualRect(model.index(0))).toImage();
}

struct Painted
{
    int ink = 0;       // white-ish pixels
    int red = 0;       // the full mark's
    int leftmost = -1; // the first column painted at all
};

Painted painted(const QImage &image)
{
    Painted found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel == Qt::black)
                continue;
            if (found.leftmost < 0 || x < found.leftmost)
                found.leftmost = x;
            if (pixel.red() > 150 && pixel.green() < 140)
                ++found.red;
            else if (pixel.red() > 100 && pixel.red() == pixel.green())
                ++found.ink;
        }
    }
    return found;
}

BookmarkStatus answeredWith(bool password, bool full)
{
    BookmarkStatus status;
    status.state = BookmarkStatus::State::Answered;
    status.server.players = 12;
    status.server.limit = 20;
    status.server.pingMs = 45;
    status.server.password = password;
    status.server.full = full;
    return status;
}

} // namespace

// What a row draws right of the name: a lock for a password, a mark for a full server, the friends
// on it, and for a server without figures its short mark, never the whole sentence across the name.
void TestStatusExchange::rowMarks_data()
{
    QTest::addColumn<BookmarkStatus>("status");
    QTest::addColumn<QString>("drawn");
    BookmarkStatus badAddress{BookmarkStatus::State::BadAddress,
                              {},
                              QStringLiteral("You must have a server port with the ip (ip:port)")};
    BookmarkStatus notSent{
        BookmarkStatus::State::NotSent, {}, QStringLiteral("The bound address is already in use")};
    QTest::newRow("password") << answeredWith(true, false) << "lock";
    QTest::newRow("full") << answeredWith(false, true) << "full mark";
    QTest::newRow("bad address") << badAddress << "short mark";
    QTest::newRow("not sent") << notSent << "short mark";
    QTest::newRow("friends") << answeredWith(false, false) << "friend mark";
    QTest::newRow("name") << answeredWith(false, false) << "name";
    QTest::newRow("another game's short name") << answeredWith(false, false) << "game";
}

void TestStatusExchange::rowMarks()
{
    QFETCH(BookmarkStatus, status);
    QFETCH(QString, drawn);
    const Painted plain = painted(paintedRow(answeredWith(false, false)));
    const bool friendMark = drawn == QLatin1String("friend mark");
    const bool named = drawn == QLatin1String("name");
    const bool otherGame = drawn == QLatin1String("game");
    const Bookmark bookmark{named ? QStringLiteral("Harbor") : QString(),
                            {},
                            {},
                            0,
                            otherGame ? GameId::Cod2 : GameId::Cod};
    const QImage image = paintedRow(status, friendMark ? 1 : 0, bookmark);
    const Painted row = painted(image);
    if (friendMark) // the mark tells how many
        QVERIFY(image != paintedRow(status, 2));
    if (drawn == QLatin1String("short mark")) {
        // The mark alone: the same whatever the problem's words, and right of the name.
        BookmarkStatus otherWords = status;
        otherWords.problem = QStringLiteral("x");
        QCOMPARE(image, paintedRow(otherWords));
        QVERIFY2(row.leftmost > image.width() / 2, qPrintable(QString::number(row.leftmost)));
        return;
    }
    QCOMPARE(row.ink > plain.ink,
             drawn == QLatin1String("lock") || friendMark || named || otherGame);
    if (named)
        QVERIFY2(row.leftmost < image.width() / 4, qPrintable(QString::number(row.leftmost)));
    QCOMPARE(row.red > 0, drawn == QLatin1String("full mark"));
}

namespace {

// All that a widget was asked to paint.
class PaintedRegion final : public QObject
{
public:
    explicit PaintedRegion(QWidget &widget) { widget.installEventFilter(this); }

    QRegion painted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

// A server's new status repaints its bookmark's row alone and lays out nothing: in a refresh of
// thousands of bookmarks every answer would otherwise repaint the whole list.
void TestStatusExchange::statusRepaintsItsRowAlone()
{
    QList<Bookmark> bookmarks;
    for (int row = 0; row < 20; ++row)
        bookmarks.append({QStringLiteral("Server %1").arg(row),
                          QStringLiteral("127.0.0.%1:28960").arg(row + 2),
                          {}});
    BookmarkModel model;
    model.fill(bookmarks);
    BookmarkList list(nullptr);
    list.setModel(&model);
    list.resize(345, 200);
    PaintedRegion region(*list.viewport());
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    // Until the list is drawn whole and nothing more is due.
    QTRY_VERIFY(!region.painted.isEmpty());
    for (int turn = 0; turn < 20 && !region.painted.isEmpty(); ++turn) {
        region.painted = {};
        QTest::qWait(50);
    }
    QVERIFY(region.painted.isEmpty());
    model.setStatus(bookmarks.at(3).address, answeredWith(true, true), 1);
    QTRY_VERIFY(!region.painted.isEmpty());
    QTest::qWait(50); // a layout put off to a later turn would repaint then
    const QRect row = list.visualRect(model.index(3));
    QVERIFY(!row.isEmpty());
    QCOMPARE(region.painted.subtracted(row), QRegion());
}

QTEST_MAIN(TestStatusExchange)
#include "tst_statusexchange.moc"
