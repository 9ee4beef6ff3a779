// SPDX-License-Identifier: GPL-3.0-or-later
// Friends: the list's matching and storage, who is told of when, and the notifications that reach
// a notification service on a session bus of the test's own from real servers on loopback.
#include "fakestatusserver.h"
#include "storedump.h"
#include "awkwardnames.h"
#include "longfriendlist.h"
#include "recordingnotifier.h"

#include "friends/friendalerts.h"
#include "friends/friendsettings.h"
#include "friends/periodicrefresh.h"
#include "query/statusrefresh.h"
#include "settings/appsettings.h"
#include "storage/keyvaluestore.h"

#ifndef Q_OS_WIN
#include "platform/dbusnotifier.h"
#include "privatebus.h"
#endif

#include <QJsonObject>
#include <QtTest>

using namespace std::chrono_literals;

class TestFriends : public QObject
{
    Q_OBJECT

private slots:
    void matching_data();
    void matching();
    void notices_data();
    void notices();
    void listRoundTrip_data();
    void listRoundTrip();
    void periodicRefresh();
    void notificationsFromRealServers_data();
    void notificationsFromRealServers();
};

namespace {

// A round is "ADDRESS:NAME,NAME;ADDRESS:-", "-" for a server that did not answer, and
// "ADDRESS#N:..." for a bookmark that asks to be told of N players; it gives the notices'
// summaries and the servers their Join leads to, "|" between them.
QString playRound(FriendAlerts &alerts, RecordingNotifier &notifier, const QString &round)
{
    notifier.shown.clear();
    const QStringList answers = round.split(u';', Qt::SkipEmptyParts);
    for (const QString &answer : answers) {
        const QString address = answer.section(u':', 0, 0).section(u'#', 0, 0);
        const int alert = answer.section(u':', 0, 0).section(u'#', 1).toInt();
        const QString players = answer.section(u':', 1);
        BookmarkStatus status;
        status.state = BookmarkStatus::State::NoReply;
        if (players != u"-") {
            status.state = BookmarkStatus::State::Answered;
            status.server.playerNames = players.split(u',', Qt::SkipEmptyParts);
            status.server.players = int(status.server.playerNames.size());
        }
        alerts.serverAnswered(address, address, status);
        alerts.playersCounted(address, address, alert, status);
    }
    alerts.refreshEnded();
    if (!QTest::qWaitFor([&alerts] { return !alerts.friends().isDeciding(); }))
        return QStringLiteral("never decided");
    QStringList told;
    for (const DesktopNotification &shown : std::as_const(notifier.shown)) {
        told.append(shown.actionLabel.isEmpty() ? shown.summary
                                                : shown.summary + u'@' + shown.actionKey);
    }
    return told.join(u'|');
}

} // namespace

void TestFriends::matching_data()
{
    using Match = FriendList::Match;
    QTest::addColumn<QStringList>("friends");
    QTest::addColumn<QString>("player");
    QTest::addColumn<Match>("expected");
    QTest::newRow("letter case") << QStringList{"Bob"} << "bOB" << Match::Named;
    QTest::newRow("letter case beyond ASCII")
        << QStringList{QStringLiteral(u"Ärger^1Ω")} << QStringLiteral(u"äRGERω") << Match::Named;
    QTest::newRow("colour codes in the entry") << QStringList{"^1B^2ob"} << "Bob" << Match::Named;
    QTest::newRow("colour codes in the name") << QStringList{"bob"} << "^3Bob" << Match::Named;
    QTest::newRow("control bytes") << QStringList{"Bo\x01"
                                                  "b\x1f"}
                                   << "Bob" << Match::Named;
    QTest::newRow("longer name") << QStringList{"Bob"} << "Bobby" << Match::None;
    QTest::newRow("clan tag") << QStringList{"[1SK]*"} << "[1sk]Sniper" << Match::Named;
    QTest::newRow("the tag alone") << QStringList{"[1SK]*"} << "[1sk]" << Match::Named;
    QTest::newRow("clan tag elsewhere") << QStringList{"[1SK]*"} << "Sniper[1SK]" << Match::None;
    QTest::newRow("tag at the end") << QStringList{"*|TT"} << "Sniper|tt" << Match::Named;
    QTest::newRow("inside") << QStringList{"*sk*"} << "a SK b" << Match::Named;
    QTest::newRow("start and end overlap") << QStringList{"ab*ba"} << "aba" << Match::None;
    QTest::newRow("start and end") << QStringList{"ab*ba"} << "abXba" << Match::Named;
    QTest::newRow("parts in order") << QStringList{"*b*a*"} << "ab" << Match::None;
    QTest::newRow("star alone") << QStringList{"*"} << "anyone" << Match::Everyone;
    QTest::newRow("named before everyone") << QStringList{"***", "bob"} << "Bob" << Match::Named;
    QTest::newRow("empty entry") << QStringList{""} << "" << Match::None;
    // No server sends a name that long: such an entry costs nothing and names nobody.
    QTest::newRow("10,000 characters")
        << QStringList{QString(10'000, u'a')} << QString(10'000, u'a') << Match::None;
    QTest::newRow("256 characters, the longest kept")
        << QStringList{QString(256, u'a')} << QString(256, u'a') << Match::Named;
    QTest::newRow("beyond 10,000 friends")
        << QStringList(10'000, "x") + QStringList{"bob"} << "bob" << Match::None;
}

void TestFriends::matching()
{
    QFETCH(QStringList, friends);
    QFETCH(QString, player);
    QFETCH(FriendList::Match, expected);
    const FriendList list(friends);
    QCOMPARE(list.match(player), expected);
    const QString words = expected == FriendList::Match::None ? QString() : "friends: " + player;
    QCOMPARE(friendsWords(list.friendsAmong({player})), words);
}

void TestFriends::notices_data()
{
    QTest::addColumn<QStringList>("friends");
    QTest::addColumn<QStringList>("rounds");
    QTest::addColumn<QStringList>("told");
    QTest::newRow("first answer tells")
        << QStringList{"alice"} << QStringList{"A:bob,alice"} << QStringList{"alice is playing@A"};
    QTest::newRow("once until gone")
        << QStringList{"alice"} << QStringList{"A:alice", "A:alice", "A:bob", "A:ALICE"}
        << QStringList{"alice is playing@A", "", "", "ALICE is playing@A"};
    QTest::newRow("once per server") << QStringList{"alice"} << QStringList{"A:alice;B:alice"}
                                     << QStringList{"alice is playing@A|alice is playing@B"};
    QTest::newRow("silence is no leaving")
        << QStringList{"alice"} << QStringList{"A:alice", "A:-", "A:alice"}
        << QStringList{"alice is playing@A", "", ""};
    QTest::newRow("star alone: one per server and refresh")
        << QStringList{"*"} << QStringList{"A:p1,p2,p3;B:q1", "A:p1,p2,p3,p4,p5"}
        << QStringList{"p1 is playing@A|q1 is playing@B", "p4 is playing@A"};
    QTest::newRow("five, then the rest summed up")
        << QStringList{"p*"} << QStringList{"A:p1,p2,p3;B:p4,p5,p6,p7", "A:p1,p2,p3,p8"}
        << QStringList{"p1 is playing@A|p2 is playing@A|p3 is playing@A|p4 is playing@B"
                       "|p5 is playing@B|and 2 more",
                       "p8 is playing@A"};
    QTest::newRow("players: once per rise to the number asked")
        << QStringList{}
        << QStringList{"A#2:p1", "A#2:p1,p2", "A#2:p1,p2,p3", "A#2:p1", "A#2:p1,p2"}
        << QStringList{"", "A: 2/? players@A", "", "", "A: 2/? players@A"};
    QTest::newRow("players: the first answer tells, silence is no fall")
        << QStringList{} << QStringList{"A#1:p1;B#0:p1", "A#1:-", "A#1:p1"}
        << QStringList{"A: 1/? players@A", "", ""};
    // The same behind a long list of patterns that a turn of the event loop cannot finish: the
    // friends are found later, told of in the same order, and summed up after them.
    QString others;
    for (int i = 1; i <= 12; ++i)
        others += QStringLiteral("reidlos%1,").arg(i);
    QTest::newRow("five, then the rest, behind 9,999 patterns")
        << patternsNamingNobody(QStringLiteral("soldier"), 8) + QStringList{"*dier*"}
        << QStringList{"A:" + others
                           + "soldier1,soldier2,soldier3;B:soldier4,soldier5,soldier6,"
                             "soldier7",
                       "A:" + others + "soldier1,soldier2,soldier3,soldier8"}
        << QStringList{"soldier1 is playing@A|soldier2 is playing@A|soldier3 is playing@A"
                       "|soldier4 is playing@B|soldier5 is playing@B|and 2 more",
                       "soldier8 is playing@A"};
}

void TestFriends::notices()
{
    QFETCH(QStringList, friends);
    QFETCH(QStringList, rounds);
    QFETCH(QStringList, told);
    QTemporaryDir dir;
    const std::unique_ptr<KeyValueStore> store = openIniStore(
        dir.filePath(QStringLiteral("b.ini")));
    AppSettings settings(*store);
    QVERIFY(settings.setFriends(friends));
    RecordingNotifier notifier;
    FriendAlerts alerts(notifier);
    alerts.readSettings(settings);
    QStringList seen;
    for (const QString &round : std::as_const(rounds))
        seen.append(playRound(alerts, notifier, round));
    QCOMPARE(seen, told);
}

void TestFriends::listRoundTrip_data()
{
    addAwkwardNameRows();
    QTest::newRow("list punctuation") << "a, b,c";
    QTest::newRow("at sign first") << "@Invalid()";
    QTest::newRow("control bytes") << "x\x01y\x1f";
    QTest::newRow("clan tag") << "[1SK]*";
}

void TestFriends::listRoundTrip()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Brinemoor.ini"));
    const std::unique_ptr<KeyValueStore> store = openIniStore(path);
    AppSettings settings(*store);
    QVERIFY(settings.setGamePath(QStringLiteral("/g/CoDMP.exe")));
    QVERIFY(addFriend(settings, name));
    QVERIFY(addFriend(settings, QStringLiteral("Zed")));
    QVERIFY(addFriend(settings, QStringLiteral("^1zED"))); // the same friend
    const QStringList both{name, QStringLiteral("Zed")};
    const QJsonArray onDisk = dumpStore(path);
    QCOMPARE(onDisk.size(), 1);
    QCOMPARE(onDisk[0][QStringLiteral("friends")].toArray(), QJsonArray::fromStringList(both));
    QCOMPARE(onDisk[0][QStringLiteral("codpath")].toString(), QStringLiteral("/g/CoDMP.exe"));

    QVERIFY(removeFriend(settings, QStringLiteral("^2zed")));
    QCOMPARE(settings.friends(), QStringList{name});
}

void TestFriends::periodicRefresh()
{
    PeriodicRefresh periodic;
    QSignalSpy due(&periodic, &PeriodicRefresh::due);
    periodic.setPeriod(20ms);
    QTRY_VERIFY(due.size() >= 2);
    periodic.setPeriod(std::nullopt);
    periodic.refreshed(); // a refresh by hand must not turn the periodic one on again
    due.clear();
    QVERIFY(!due.wait(100));
}

void TestFriends::notificationsFromRealServers_data()
{
    QTest::addColumn<QString>("notify");
    QTest::addColumn<bool>("service");
    QTest::addColumn<bool>("bus");
    QTest::addColumn<bool>("shown");
    QTest::newRow("shown") << "" << true << true << true;
    QTest::newRow("notify off") << "false" << true << true << false;
    QTest::newRow("no notification service") << "" << false << true << false;
    QTest::newRow("no session bus") << "" << false << false << false;
}

// Two bookmarks' servers on loopback, Alice on one; a refresh, then "Join" on the notification.
void TestFriends::notificationsFromRealServers()
{
#ifdef Q_OS_WIN
    QSKIP("Windows has no session D-Bus: its notifier shows nothing");
#else
    QFETCH(QString, notify);
    QFETCH(bool, service);
    QFETCH(bool, bus);
    QFETCH(bool, shown);
    PrivateBus privateBus;
    QVERIFY2(privateBus.isRunning(), "dbus-daemon did not start (scripts/setup-debian.sh)");
    std::optional<FakeNotificationService> notifications;
    if (service) {
        notifications.emplace(privateBus);
        QVERIFY(notifications->isRegistered());
    }
    DBusNotifier notifier([&] {
        return bus ? privateBus.connect()
                   : QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"),
                                                   QStringLiteral("brinemoor-no-bus"));
    });

    QTemporaryDir dir;
    const std::unique_ptr<KeyValueStore> store = openIniStore(
        dir.filePath(QStringLiteral("b.ini")));
    AppSettings settings(*store);
    QVERIFY(addFriend(settings, QStringLiteral("alice")));
    if (!notify.isEmpty())
        QVERIFY(store->write(AppSettings::sectionName(), QStringLiteral("notify"), notify));
    FriendAlerts alerts(notifier);
    alerts.readSettings(settings);

    FakeStatusServer harbor(2);
    FakeStatusServer dunes(3);
    const QByteArray aliceThere = FakeStatusServer::statusReply(
        {R"(\sv_maxclients\20\mapname\mp_harbor)", R"(0 40 "^1Alice")", R"(3 60 "Bob")"});
    harbor.answerNext(aliceThere);
    harbor.answerNext(aliceThere);
    dunes.answerNext(FakeStatusServer::statusReply({R"(\sv_maxclients\8)", R"(0 40 "Carl")"}));
    dunes.answerNext(FakeStatusServer::statusReply({R"(\sv_maxclients\8)"}));
    const QStringList addresses{harbor.addressText(), dunes.addressText()};
    const QStringList names{QStringLiteral("Harbor"), QStringLiteral("Dunes")};
    StatusRefresh refresh({1000ms, 1000ms, 1000ms, 4});
    connect(&refresh, &StatusRefresh::addressStatus, &alerts,
            [&](const QString &address, const BookmarkStatus &status) {
                alerts.serverAnswered(address, names[addresses.indexOf(address)], status);
            });
    connect(&refresh, &StatusRefresh::finished, &alerts, &FriendAlerts::refreshEnded);
    QSignalSpy finished(&refresh, &StatusRefresh::finished);
    QSignalSpy failures(&notifier, &Notifier::failed);
    const bool fails = !service && notify.isEmpty();
    if (fails)
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression("^No desktop notification: .+"));

    refresh.refresh(addresses);
    QTRY_COMPARE(finished.size(), 1);
    refresh.refresh(addresses); // Alice is still there: no second notification
    QTRY_COMPARE(finished.size(), 2);
    QTRY_COMPARE(failures.size(), fails ? 1 : 0);
    QCOMPARE(alerts.friendsOn(harbor.addressText()), QStringList{"Alice"});
    QCOMPARE(alerts.friendsOn(dunes.addressText()), QStringList());
    if (!service)
        return;
    QTRY_COMPARE(notifications->calls.size(), shown ? 1 : 0); // no more come meanwhile
    if (!shown)
        return;
    const FakeNotificationService::Call &call = notifications->calls.constFirst();
    QCOMPARE(call.appName, QStringLiteral("Brinemoor"));
    QCOMPARE(call.summary, QStringLiteral("Alice is playing"));
    QCOMPARE(call.body, QStringLiteral(u"Harbor \u2014 2/20 players, mp_harbor"));
    QCOMPARE(call.actions, (QStringList{"action", "Join"}));
    QCOMPARE(call.hints.value(QStringLiteral("desktop-entry")).toString(),
             QStringLiteral("brinemoor"));

    QSignalSpy join(&alerts, &FriendAlerts::joinRequested);
    notifications->invokeAction(call.id + 1, QStringLiteral("action")); // someone else's
    notifications->close(call.id + 1);                                  // its closing alone
    notifications->invokeAction(call.id, QStringLiteral("action"));
    QTRY_COMPARE(join.size(), 1);
    QCOMPARE(join.constFirst().constFirst().toString(), harbor.addressText());
#endif
}

QTEST_GUILESS_MAIN(TestFriends)
#include "tst_friends.moc"
