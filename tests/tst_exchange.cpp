// SPDX-License-Identifier: GPL-3.0-or-later
// The status exchange and the background refresh on their own sockets, against fake servers on
// loopback: the resend, its cap and the bound; how many servers are asked at once and again.
#include "fakestatusserver.h"
#include "query/statusrefresh.h"

#include <QSignalSpy>
#include <QtTest>

#include <algorithm>

using namespace std::chrono_literals;

class TestExchange : public QObject
{
    Q_OBJECT

private slots:
    void exchangeOutcome_data();
    void exchangeOutcome();
    void refreshAsksEachServerOnceAtMost64AtATime();
    void refreshAgainAsksWhatGaveNoAnswer();
};

// The exchange on its own: the resend, its cap and the bound, against a server that answers only
// the request it is told to.
void TestExchange::exchangeOutcome_data()
{
    QTest::addColumn<int>("answered"); // the request the server answers, counted from 1; 0: none
    QTest::addColumn<int>("requestsSeen");
    QTest::addColumn<bool>("ownBounds"); // the program's: resent at 1, 3 and 7 s, ended at 10 s
    QTest::newRow("answered at once") << 1 << 1 << false;
    QTest::newRow("first request lost, the one sent again answered") << 2 << 2 << false;
    QTest::newRow("silent: four requests, then the bound") << 0 << 4 << false;
    QTest::newRow("silent under the program's own bounds") << 0 << 4 << true;
}

void TestExchange::exchangeOutcome()
{
    QFETCH(int, answered);
    QFETCH(int, requestsSeen);
    QFETCH(bool, ownBounds);
    FakeStatusServer server;
    for (int request = 1; request < answered; ++request)
        server.answerNext(QList<FakeStatusServer::Datagram>{});
    if (answered)
        server.answerNext(workedExample());
    // Resent at 100, 300 and 700 ms; a fifth would still fit in the bound, at 1500 ms.
    const ExchangeBounds bounds = ownBounds ? ExchangeBounds{}
                                            : ExchangeBounds{2000ms, 1000ms, 100ms, 4};
    StatusExchange exchange(nullptr, LocalPort::Any, bounds);
    QSignalSpy replied(&exchange, &StatusExchange::replied);
    QSignalSpy timedOut(&exchange, &StatusExchange::timedOut);
    // The program's own bounds spelt out, so that a changed default shows.
    const auto bound = ownBounds ? 10000ms : bounds.reply;
    const auto firstResend = ownBounds ? 1000ms : bounds.firstResend;
    const auto started = std::chrono::steady_clock::now();
    exchange.start(*statusTarget(QStringLiteral("127.0.0.2"), QString::number(server.port())));
    QTRY_VERIFY_WITH_TIMEOUT(!exchange.isPending(), int(bounds.reply.count()) + 2000);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    QCOMPARE(replied.size(), answered ? 1 : 0);
    QCOMPARE(timedOut.size(), answered ? 0 : 1);
    if (!answered)
        QVERIFY(elapsed >= bound && elapsed < bound + 500ms);
    QTest::qWait(250); // nothing more leaves once the exchange is over
    QCOMPARE(server.received.size(), requestsSeen);
    // Each wait for a reply is twice the one before.
    for (qsizetype request = 0; ownBounds && request < server.received.size(); ++request) {
        const auto due = firstResend * ((1 << request) - 1);
        const auto sent = server.received.at(request).at - started;
        QVERIFY2(sent >= due && sent < due + 250ms, qPrintable(QString::number(request)));
    }
}

// More servers than may be asked at once, two bookmarks on one of them, and a second refresh
// while the first runs: each server is asked by one exchange at a time, what has answered is not
// asked again, and every row ends with one status.
void TestExchange::refreshAsksEachServerOnceAtMost64AtATime()
{
    FakeStatusServer answering;
    QVERIFY(answering.isListening());
    answering.answerNext(workedExample());
    QStringList addresses{answering.addressText(), answering.addressText()};
    std::vector<std::unique_ptr<FakeStatusServer>> silent(StatusRefresh::kMaxInFlight + 6);
    for (auto &server : silent) {
        server = std::make_unique<FakeStatusServer>();
        QVERIFY(server->isListening());
        addresses.append(server->addressText());
    }
    const auto asked = [&silent] {
        qsizetype requests = 0;
        for (const auto &server : silent)
            requests += server->received.size();
        return requests;
    };
    // No resend within the bound: every request on the wire is an exchange of its own.
    StatusRefresh refresh({1000ms, 1000ms, 1000ms, 4});
    QSignalSpy statuses(&refresh, &StatusRefresh::addressStatus);
    QSignalSpy finished(&refresh, &StatusRefresh::finished);
    refresh.refresh(addresses);
    QTRY_COMPARE(asked(), StatusRefresh::kMaxInFlight);
    QTest::qWait(100);
    QCOMPARE(asked(), StatusRefresh::kMaxInFlight);

    statuses.clear();
    refresh.refresh(addresses);
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(answering.received.size(), 1);
    QCOMPARE(asked(), 2 * StatusRefresh::kMaxInFlight + 6);
    QCOMPARE(statuses.size(), addresses.size());
    QStringList told;
    for (const QList<QVariant> &status : std::as_const(statuses)) {
        const QString address = status.at(0).toString();
        told.append(address);
        QCOMPARE(status.at(1).value<BookmarkStatus>().state,
                 address == answering.addressText() ? BookmarkStatus::State::Answered
                                                    : BookmarkStatus::State::NoReply);
    }
    std::sort(told.begin(), told.end());
    std::sort(addresses.begin(), addresses.end());
    QCOMPARE(told, addresses);
}

// F5 while a refresh runs asks again every server that has not answered it: one that fell silent
// is asked anew, one that answered keeps its status. One server more than may be asked at once
// keeps the first refresh running after the others have fallen silent.
void TestExchange::refreshAgainAsksWhatGaveNoAnswer()
{
    FakeStatusServer answering;
    answering.answerNext(workedExample());
    QStringList addresses{answering.addressText()};
    std::vector<std::unique_ptr<FakeStatusServer>> silent(StatusRefresh::kMaxInFlight + 1);
    for (auto &server : silent) {
        server = std::make_unique<FakeStatusServer>();
        addresses.append(server->addressText());
    }
    StatusRefresh refresh({300ms, 1000ms, 1000ms, 1});
    QSignalSpy statuses(&refresh, &StatusRefresh::addressStatus);
    QSignalSpy finished(&refresh, &StatusRefresh::finished);
    refresh.refresh(addresses);
    QTRY_VERIFY(statuses.size() > 1);
    QVERIFY(finished.isEmpty());
    refresh.refresh(addresses);
    QVERIFY(finished.wait(5000));
    QCOMPARE(silent.front()->received.size(), 2);
    QCOMPARE(answering.received.size(), 1);
}

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
