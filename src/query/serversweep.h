// SPDX-License-Identifier: GPL-3.0-or-later
// Asks thousands of game servers for their status, most of them perhaps long gone.
#pragma once

#include "query/statusreply.h"

#include <QHash>
#include <QObject>

#include <chrono>
#include <deque>

class QTimer;
class QUdpSocket;

// The pace and bounds of a sweep: home routers drop bursts, so requests leave evenly.
struct SweepBounds
{
    int requestsPerSecond = 1000;
    std::chrono::milliseconds resend{1000};
    std::chrono::milliseconds noReply{3000};
};

// One socket for every server: each request goes to its server from the same local port, and a
// datagram counts only when it comes from an address and port that was asked and has not
// answered yet. Servers are asked in the order given, first requests ahead of resends; a silent
// server only ever costs its own two requests and its place in the deadline queues, so it never
// holds up one that answers. What is kept grows with the servers waiting to be asked, and at
// most three seconds' worth of requests in flight.
class ServerSweep final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ServerSweep)

public:
    explicit ServerSweep(SweepBounds bounds = {}, QObject *parent = nullptr);
    ~ServerSweep() override;

    // A server is its IPv4 address and port, as ServerEndpoint::key() packs them. A server in
    // flight is not asked again.
    void ask(const QList<quint64> &servers);
    // Forgets every server not yet answered, without a word.
    void stop();
    bool isIdle() const { return m_waiting.empty() && m_inFlight.isEmpty(); }

signals:
    void replied(quint64 server, const StatusReply &reply, std::chrono::microseconds roundTrip);
    void noReply(quint64 server);
    // The socket could not be opened: nothing is asked.
    void failed(const QString &reason);

private:
    using Clock = std::chrono::steady_clock;
    struct Due
    {
        Clock::time_point at;
        quint64 server;
    };

    bool openSocket();
    void work();
    void sendDue(Clock::time_point now);
    void expire(Clock::time_point now);
    void send(quint64 server);
    void readReplies();
    void scheduleWork();

    const SweepBounds m_bounds;
    QUdpSocket *const m_socket;
    QTimer *const m_timer;
    std::deque<quint64> m_waiting;
    QHash<quint64, Clock::time_point> m_inFlight; // when its last request left
    std::deque<Due> m_resends;                    // ordered by time, as requests leave in order
    std::deque<Due> m_expiries;
    Clock::time_point m_lastTurn; // of sending and expiring
    Clock::time_point m_paceStart;
    qint64 m_sentSincePaceStart = 0;
    bool m_pacing = false; // requests were due that the pace did not allow yet
    bool m_readScheduled = false;
};
