// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/statusexchange.h"

#include "platform/pinger.h"
#include "query/querylog.h"

#include <QTimer>
#include <QUdpSocket>

using namespace std::chrono;

StatusExchange::StatusExchange(Pinger *pinger, LocalPort localPort, ExchangeBounds bounds,
                               QObject *parent)
    : QObject(parent),
      m_pinger(pinger),
      m_localPort(localPort),
      m_bounds(bounds),
      m_socket(new QUdpSocket(this)),
      m_timeout(new QTimer(this)),
      m_resend(new QTimer(this))
{
    m_socket->setObjectName(QStringLiteral("status socket"));
    m_timeout->setObjectName(QStringLiteral("timeout"));
    // Coarse timers may fire up to 5% early: the bound is a promise to the user.
    for (QTimer *timer : {m_timeout, m_resend}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(m_timeout, &QTimer::timeout, this, &StatusExchange::timeOut);
    connect(m_resend, &QTimer::timeout, this, &StatusExchange::resend);
    connect(m_socket, &QUdpSocket::readyRead, this, &StatusExchange::readDatagram);
    connect(m_socket, &QUdpSocket::errorOccurred, this, &StatusExchange::reportSocketError);
}

StatusExchange::~StatusExchange() = default;

void StatusExchange::start(const StatusTarget &target)
{
    end(Phase::Idle);
    m_echoRoundTrip.reset();
    m_requestsSent = 0;
    m_phase = Phase::Idle;
    m_started = steady_clock::now();
    qCDebug(lcQuery) << "query" << target.host.toString() << target.port;
    startEcho(target.host.toString());
    std::optional<QString> failure = openStatusSocket(*m_socket, target, m_localPort);
    if (!failure)
        failure = sendRequest();
    if (failure) {
        end(Phase::Idle);
        qCDebug(lcQuery) << "not sent:" << *failure;
        emit notSent(*failure);
        return;
    }
    m_phase = Phase::Pending;
    m_timeout->start(m_bounds.reply);
    scheduleResend();
}

void StatusExchange::stop()
{
    end(Phase::Idle);
}

void StatusExchange::startEcho(const QString &host)
{
    if (!m_pinger)
        return;
    m_echo = m_pinger->start(host, m_bounds.echo);
    connect(m_echo.get(), &EchoProbe::finished, this, &StatusExchange::echoFinished);
}

void StatusExchange::discardEcho()
{
    m_echo.reset();
}

void StatusExchange::echoFinished(std::optional<microseconds> roundTrip)
{
    qCDebug(lcQuery) << "echo" << (roundTrip ? roundTrip->count() : -1) << "us, at"
                     << microsecondsIn() << "us";
    m_echoRoundTrip = roundTrip;
    if (roundTrip && m_phase == Phase::Replied)
        emit echoed(*roundTrip);
}

// The platform's error text when the request did not go out.
std::optional<QString> StatusExchange::sendRequest()
{
    ++m_requestsSent;
    m_lastSent = steady_clock::now();
    qCDebug(lcQuery) << "request" << m_requestsSent << "at" << microsecondsIn() << "us";
    return sendStatusRequest(*m_socket);
}

// Doubling intervals: with the default bounds the requests leave at 0, 1, 3 and 7 s.
void StatusExchange::scheduleResend()
{
    const milliseconds gap = m_bounds.firstResend * (1 << (m_requestsSent - 1));
    const auto elapsed = duration_cast<milliseconds>(steady_clock::now() - m_started);
    if (m_requestsSent < m_bounds.requests && elapsed + gap < m_bounds.reply)
        m_resend->start(gap);
}

// A request that cannot go out now is no end of the exchange: its time-out still comes.
void StatusExchange::resend()
{
    if (hasPendingRefusal(*m_socket)) {
        endRefused();
        return;
    }
    if (const std::optional<QString> failure = sendRequest())
        qCDebug(lcQuery) << "not resent:" << *failure;
    scheduleResend();
}

void StatusExchange::readDatagram()
{
    const ArrivedDatagram arrived = readArrivedDatagram(*m_socket);
    if (arrived.kind == ArrivedDatagram::Kind::Refused) {
        endRefused();
        return;
    }
    if (arrived.kind == ArrivedDatagram::Kind::Failed)
        return; // reportSocketError has told; the time-out ends the exchange
    const std::optional<StatusReply> reply = parseStatusReply(arrived.data);
    if (!reply) {
        qCDebug(lcQuery) << "ignored" << arrived.data.size() << "bytes without a status header";
        return;
    }
    const auto requestRoundTrip = duration_cast<microseconds>(steady_clock::now() - m_lastSent);
    qCDebug(lcQuery) << "reply of" << arrived.data.size() << "bytes at" << microsecondsIn() << "us";
    // Closed before anyone hears of the reply: a nested event loop (a question to the user)
    // would otherwise hand a second copy of it over while the first is being shown.
    end(Phase::Replied);
    emit replied(*reply, m_echoRoundTrip.value_or(requestRoundTrip));
}

void StatusExchange::endRefused()
{
    qCDebug(lcQuery) << "refused at" << microsecondsIn() << "us";
    end(Phase::Ended);
    emit refused();
}

// The refusal is an end of its own, "no datagram available" no fault, and failures while the
// request is being sent are told by notSent().
void StatusExchange::reportSocketError()
{
    const QAbstractSocket::SocketError error = m_socket->error();
    qCDebug(lcQuery) << "socket error" << error << "at" << microsecondsIn() << "us";
    if (error == QAbstractSocket::ConnectionRefusedError
        || error == QAbstractSocket::TemporaryError)
        return;
    emit failed(m_socket->errorString());
}

// The socket stays open: a reply that comes late is still taken. A refusal that no resend has
// looked for yet (Windows tells it only on the next receive) is the answer, not silence.
void StatusExchange::timeOut()
{
    if (hasPendingRefusal(*m_socket)) {
        endRefused();
        return;
    }
    qCDebug(lcQuery) << "timed out at" << microsecondsIn() << "us";
    m_resend->stop();
    discardEcho();
    m_phase = Phase::TimedOut;
    emit timedOut();
}

void StatusExchange::end(Phase phase)
{
    m_timeout->stop();
    m_resend->stop();
    m_socket->close();
    // After a reply the echo may still come back to give the ping; any other end discards it.
    if (phase != Phase::Replied || m_phase != Phase::Pending)
        discardEcho();
    m_phase = phase;
}

qint64 StatusExchange::microsecondsIn() const
{
    return duration_cast<microseconds>(steady_clock::now() - m_started).count();
}
