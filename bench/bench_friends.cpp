// SPDX-License-Identifier: GPL-3.0-or-later
// Friends: matching a refresh of 1,000 full servers against 200 friends with wildcards, the same
// with hostile lists, and the time from a server's answer to the notification on the session
// bus (a bus and notification service of the benchmark's own).
#include "fakestatusserver.h"
#include "privatebus.h"

#include "settings/appsettings.h"
#include "storage/keyvaluestore.h"
#include "friends/friendalerts.h"
#include "friends/friendsettings.h"
#include "platform/dbusnotifier.h"
#include "query/statusrefresh.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

namespace {

constexpr int kServers = 1'000;
constexpr int kPlayers = 64;

QString clanTag(int i)
{
    return QStringLiteral("[T%1]").arg(i);
}

// Names as servers send them: colour codes gone, some with a clan tag in front or behind.
QStringList playersOf(int server)
{
    QStringList players;
    for (int i = 0; i < kPlayers; ++i) {
        const int n = server * kPlayers + i;
        QString name = QStringLiteral("Soldier%1x%2").arg(n % 9'973).arg(n % 7);
        if (n % 11 == 0)
            name.prepend(clanTag(n % 97));
        else if (n % 13 == 0)
            name.append(u'|' + clanTag(n % 89));
        players.append(name);
    }
    return players;
}

// 140 names (some of them playing), 40 clan tags in front, 15 behind, 5 inside.
QStringList twoHundredFriends()
{
    QStringList friends;
    for (int i = 0; i < 140; ++i)
        friends.append(QStringLiteral("soldier%1X%2").arg(i * 71).arg(i * 71 % 7));
    for (int i = 0; i < 40; ++i)
        friends.append(clanTag(i) + u'*');
    for (int i = 0; i < 15; ++i)
        friends.append(QStringLiteral("*|") + clanTag(i));
    for (int i = 0; i < 5; ++i)
        friends.append(QStringLiteral("*dier%1x*").arg(i * 1'000 + 3));
    return friends;
}

QList<BookmarkStatus> refreshOfFullServers()
{
    QList<BookmarkStatus> statuses;
    for (int server = 0; server < kServers; ++server) {
        BookmarkStatus &status = statuses.emplace_back();
        status.state = BookmarkStatus::State::Answered;
        status.server.players = kPlayers;
        status.server.limit = kPlayers;
        status.server.map = QStringLiteral("mp_harbor");
        status.server.playerNames = playersOf(server);
    }
    return statuses;
}

// What follows every refresh: the watch's notices, and each row's friends for its mark. Each
// answer is a turn of the event loop of its own, as it is a datagram of its own; the list is new
// each time, so that nothing matched before is remembered.
void matchAfterRefresh(benchmark::State &state, const QStringList &friendNames)
{
    const QList<BookmarkStatus> statuses = refreshOfFullServers();
    QStringList addresses;
    for (int server = 0; server < kServers; ++server)
        addresses.append(QStringLiteral("127.0.%1.%2:28960").arg(server / 250).arg(server % 250));
    FriendWatch watch;
    qsizetype found = 0;
    for (auto _ : state) {
        state.PauseTiming();
        watch.setFriends(FriendList(friendNames));
        state.ResumeTiming();
        for (int server = 0; server < kServers; ++server) {
            QCoreApplication::processEvents();
            const BookmarkStatus &status = statuses[server];
            const auto notices = watch.serverAnswered(addresses[server], addresses[server], status);
            benchmark::DoNotOptimize(notices);
            found += watch.friendsOn(addresses[server]).size();
        }
        benchmark::DoNotOptimize(watch.refreshEnded());
    }
    state.counters["friends playing"] = double(found) / double(state.iterations());
}

void matchTwoHundredFriends(benchmark::State &state)
{
    matchAfterRefresh(state, twoHundredFriends());
}

// 10,000 friends of 10,000 characters with wildcards, and "*": every player matches.
void matchHostileList(benchmark::State &state)
{
    QStringList friends{QStringLiteral("*")};
    for (int i = 1; i < 10'000; ++i)
        friends.append(QString(i % 2 ? u'*' : u'a') + QString(9'998, QChar(u'a' + i % 26)) + u'*');
    matchAfterRefresh(state, friends);
}

void buildHostileList(benchmark::State &state)
{
    QStringList friends;
    for (int i = 0; i < 10'000; ++i)
        friends.append(QString(10'000, QChar(u'a' + i % 26)).replace(i % 9'000, 1, u'*'));
    for (auto _ : state) {
        FriendList list(friends);
        benchmark::DoNotOptimize(list);
    }
}

// 10,000 patterns of five letters such as "*r*s*o*l*d*", each letter in every player's name but
// never in that order, so that every pattern passes the look at the characters and is searched.
QStringList lettersOutOfOrder()
{
    const QString letters = QStringLiteral("soldierx"); // in the names' order
    QStringList patterns;
    for (int n = 0; patterns.size() < 10'000; ++n) {
        QString pattern(1, u'*');
        qsizetype inOrder = 0; // how much of the pattern "soldierx" holds in order
        for (int digit = n, i = 0; i < 5; ++i, digit /= 8) {
            const QChar letter = letters[digit % 8];
            pattern += letter + u'*';
            const qsizetype at = letters.indexOf(letter, inOrder);
            inOrder = at < 0 ? letters.size() + 1 : at + 1;
        }
        if (inOrder > letters.size())
            patterns.append(pattern);
    }
    return patterns;
}

// Twenty servers of 1,350 players against those patterns, on a list that has matched nothing yet:
// the longest time a single answer took (each turn's work is bounded), and the time until every
// player has been matched in the turns that followed.
void answersAgainstLongPatternList(benchmark::State &state)
{
    constexpr int kAnswering = 20;
    const QStringList patterns = lettersOutOfOrder();
    QList<BookmarkStatus> statuses(kAnswering);
    for (int server = 0; server < kAnswering; ++server) {
        statuses[server].state = BookmarkStatus::State::Answered;
        for (int i = 0; i < 1'350; ++i)
            statuses[server].server.playerNames.append(
                QStringLiteral("Soldier%1x%2").arg(server * 1'350 + i).arg(i % 7));
    }
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FriendWatch watch;
        watch.setFriends(FriendList(patterns));
        state.ResumeTiming();
        for (int server = 0; server < kAnswering; ++server) {
            const auto began = std::chrono::steady_clock::now();
            const QString address = QString::number(server);
            benchmark::DoNotOptimize(watch.serverAnswered(address, address, statuses[server]));
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now()
                - began;
            longest = std::max(longest, took.count());
        }
        if (!QTest::qWaitFor([&watch] { return !watch.friends().isDeciding(); }, 120'000)) {
            state.SkipWithError("the players were never all matched");
            return;
        }
    }
    state.counters["longest answer ms"] = longest;
}

// From asking a server whose answer newly lists a friend until the notification service has the
// Notify call: the server answers at once, so this is the answer's way to the service plus one
// round trip on loopback.
void notificationAfterAnswer(benchmark::State &state)
{
    PrivateBus bus;
    FakeNotificationService service(bus);
    if (!bus.isRunning() || !service.isRegistered()) {
        state.SkipWithError("no private session bus");
        return;
    }
    DBusNotifier notifier([&bus] { return bus.connect(); });
    FriendAlerts alerts(notifier);
    FakeStatusServer server(2);
    const QStringList address{server.addressText()};
    StatusRefresh refresh({1000ms, 1000ms, 1000ms, 4});
    QObject::connect(&refresh, &StatusRefresh::addressStatus, &alerts,
                     [&](const QString &answered, const BookmarkStatus &status) {
                         alerts.serverAnswered(answered, QStringLiteral("Harbor"), status);
                     });
    QObject::connect(&refresh, &StatusRefresh::finished, &alerts, &FriendAlerts::refreshEnded);
    QSignalSpy finished(&refresh, &StatusRefresh::finished);
    QTemporaryDir dir;
    const std::unique_ptr<KeyValueStore> store = openIniStore(
        dir.filePath(QStringLiteral("b.ini")));
    AppSettings settings(*store);
    if (!addFriend(settings, QStringLiteral("alice"))) {
        state.SkipWithError("no settings file");
        return;
    }
    alerts.readSettings(settings);
    const QByteArray there = FakeStatusServer::statusReply(
        {R"(\sv_maxclients\20)", R"(0 40 "Alice")"});
    const QByteArray gone = FakeStatusServer::statusReply({R"(\sv_maxclients\20)"});
    qsizetype refreshes = 0;
    for (auto _ : state) {
        server.answerNext(there);
        const qsizetype before = service.calls.size();
        const auto asked = std::chrono::steady_clock::now();
        refresh.refresh(address);
        if (!QTest::qWaitFor([&] { return service.calls.size() > before; }, 2000)) {
            state.SkipWithError("no notification");
            return;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(service.calls.constLast().at - asked).count());
        // Alice leaves, so that she is new again in the next round.
        server.answerNext(gone);
        refresh.refresh(address);
        refreshes += 2;
        if (!QTest::qWaitFor([&] { return finished.size() == refreshes; }, 2000)) {
            state.SkipWithError("the refresh did not end");
            return;
        }
    }
}

} // namespace

BENCHMARK(matchTwoHundredFriends)->Unit(benchmark::kMillisecond);
BENCHMARK(matchHostileList)->Unit(benchmark::kMillisecond);
BENCHMARK(buildHostileList)->Unit(benchmark::kMillisecond);
BENCHMARK(answersAgainstLongPatternList)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(notificationAfterAnswer)->UseManualTime()->Unit(benchmark::kMillisecond);
