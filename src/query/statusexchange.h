// SPDX-License-Identifier: GPL-3.0-or-later
// One status exchange with a game server: the echo and the request together, resent while no
// reply comes, within a bound, with the outcome reported through signals.
#pragma once

#include "query/statusreply.h"
#include "query/statussocket.h"

#include <QObject>

#include <chrono>
#include <memory>
#include <optional>

class EchoProbe;
class Pinger;
class QTimer;
class QUdpSocket;

// The bounds of an exchange. The request goes out again while no reply has come: after
// `firstResend`, then at doubling intervals, `requests` times in all, all within `reply`.
struct ExchangeBounds
{
    std::chrono::milliseconds reply{10000};
    std::chrono::milliseconds echo{1000};
    std::chrono::milliseconds firstResend{1000};
    int requests = 4;
};

// Owns the socket, the echo and the timers of one exchange at a time; a new start() drops the
// exchange before it. The echo and the first request leave together and nothing blocks.
//
// The round trip reported with a reply is the echo's when it is back by then; otherwise it is
// the time since the last request sent before the reply came, as a reply to a resent request is
// far likelier than one to a request more than a second old. An echo that comes back after the
// reply, within its own bound, is reported by echoed(). A refusal or the time-out discards the
// echo: a host that answers echoes but not status requests must not look alive.
class StatusExchange final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusExchange)

public:
    // `pinger` may be null: no echo, the request's round trip stands.
    StatusExchange(Pinger *pinger, LocalPort localPort, ExchangeBounds bounds,
                   QObject *parent = nullptr);
    ~StatusExchange() override;

    // Starts an exchange with `target`. When the request cannot be sent, notSent() is emitted
    // before this returns.
    void start(const StatusTarget &target);
    // Ends the exchange in hand, if any, without a word: no signal of it follows, and its socket
    // is closed.
    void stop();
    // From a sent request until its reply, refusal or time-out.
    bool isPending() const { return m_phase == Phase::Pending; }

signals:
    void replied(const StatusReply &reply, std::chrono::microseconds roundTrip);
    void echoed(std::chrono::microseconds roundTrip);
    void refused();
    void timedOut();
    void notSent(const QString &reason);
    // A socket error other than the refusal, with the platform's description.
    void failed(const QString &description);

private:
    enum class Phase { Idle, Pending, Replied, TimedOut, Ended };

    void startEcho(const QString &host);
    void discardEcho();
    void echoFinished(std::optional<std::chrono::microseconds> roundTrip);
    std::optional<QString> sendRequest();
    void scheduleResend();
    void resend();
    void readDatagram();
    void endRefused();
    void reportSocketError();
    void timeOut();
    void end(Phase phase);
    qint64 microsecondsIn() const;

    Pinger *const m_pinger;
    const LocalPort m_localPort;
    const ExchangeBounds m_bounds;
    QUdpSocket *const m_socket;
    QTimer *const m_timeout;
    QTimer *const m_resend;
    std::unique_ptr<EchoProbe> m_echo;
    std::optional<std::chrono::microseconds> m_echoRoundTrip;
    Phase m_phase = Phase::Idle;
    int m_requestsSent = 0;
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_lastSent;
};
