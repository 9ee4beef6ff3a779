// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/serversweep.h"

#include "query/serverendpoint.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QTimer>
#include <QUdpSocket>

using namespace std::chrono;

namespace {

// How long one turn of the event loop may spend sending or reading, so the window stays smooth.
constexpr milliseconds kSweepTurn{4};
// The socket buffer holds the replies that arrive while a turn is busy elsewhere.
constexpr int kReceiveBuffer = 4 * 1024 * 1024;
// Requests one turn may send at once to catch up with the pace: a turn of the event loop held up
// by other work must not slow the sweep down for good, nor let a burst out.
constexpr qint64 kMaxBurst = 16;
// The least time between two turns of sending: each wake-up of the event loop costs more than
// the few requests it sends, and a few requests together are no burst to a router.
constexpr milliseconds kTurnInterval{4};

} // namespace

ServerSweep::ServerSweep(SweepBounds bounds, QObject *parent)
    : QObject(parent),
      m_bounds(bounds),
      m_socket(new QUdpSocket(this)),
      m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &ServerSweep::work);
    connect(m_socket, &QUdpSocket::readyRead, this, &ServerSweep::readReplies);
}

ServerSweep::~ServerSweep() = default;

void ServerSweep::ask(const QList<quint64> &servers)
{
    if (!openSocket())
        return;
    for (const quint64 server : servers) {
        if (!m_inFlight.contains(server))
            m_waiting.push_back(server);
    }
    work(); // the first request leaves now, not after what the caller does next
}

void ServerSweep::stop()
{
    m_waiting.clear();
    m_inFlight.clear();
    m_resends.clear();
    m_expiries.clear();
    m_pacing = false;
    m_timer->stop();
}

bool ServerSweep::openSocket()
{
    if (m_socket->state() == QAbstractSocket::BoundState)
        return true;
    m_socket->setProxy(QNetworkProxy::NoProxy);
    if (!m_socket->bind(QHostAddress::AnyIPv4, 0)) {
        emit failed(m_socket->errorString());
        return false;
    }
    m_socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, kReceiveBuffer);
    return true;
}

void ServerSweep::work()
{
    const Clock::time_point now = Clock::now();
    m_lastTurn = now;
    expire(now);
    sendDue(now);
    scheduleWork();
}

// Sends what the pace allows by now: first requests, then resends that are due. The pace counts
// from the first request after a time with nothing to send, so only a held-up turn earns a
// catch-up, and that in steps of kMaxBurst.
void ServerSweep::sendDue(Clock::time_point now)
{
    if (!m_pacing) {
        m_paceStart = now;
        m_sentSincePaceStart = 0;
    }
    const qint64 paced = m_bounds.requestsPerSecond
            * duration_cast<microseconds>(now - m_paceStart).count() / 1'000'000
        + 1;
    const qint64 allowed = std::min(paced, m_sentSincePaceStart + kMaxBurst);
    const Clock::time_point turnEnds = Clock::now() + kSweepTurn;
    while (m_sentSincePaceStart < allowed && Clock::now() < turnEnds) {
        if (!m_waiting.empty()) {
            const quint64 server = m_waiting.front();
            m_waiting.pop_front();
            if (m_inFlight.contains(server))
                continue;
            send(server);
            m_inFlight.insert(server, now);
            m_resends.push_back({now + m_bounds.resend, server});
            m_expiries.push_back({now + m_bounds.noReply, server});
        } else if (!m_resends.empty() && m_resends.front().at <= now) {
            const quint64 server = m_resends.front().server;
            m_resends.pop_front();
            const auto lastSent = m_inFlight.find(server);
            if (lastSent == m_inFlight.end())
                continue;
            send(server);
            *lastSent = now;
        } else {
            break;
        }
        ++m_sentSincePaceStart;
    }
    m_pacing = !m_waiting.empty() || (!m_resends.empty() && m_resends.front().at <= now);
}

void ServerSweep::expire(Clock::time_point now)
{
    while (!m_expiries.empty() && m_expiries.front().at <= now) {
        const quint64 server = m_expiries.front().server;
        m_expiries.pop_front();
        if (m_inFlight.remove(server))
            emit noReply(server);
    }
    while (!m_resends.empty() && !m_inFlight.contains(m_resends.front().server))
        m_resends.pop_front();
}

// A request the platform refuses to send (no route, say) is left to its time-out.
void ServerSweep::send(quint64 server)
{
    const ServerEndpoint endpoint = ServerEndpoint::fromKey(server);
    m_socket->writeDatagram(statusRequest(), endpoint.host(), endpoint.port);
}

void ServerSweep::scheduleWork()
{
    if (isIdle()) {
        m_timer->stop();
        return;
    }
    const Clock::time_point now = Clock::now();
    Clock::time_point next = Clock::time_point::max();
    if (!m_waiting.empty() || !m_resends.empty()) {
        next = m_waiting.empty() ? m_resends.front().at : now;
        // A request that is due but held back by the pace waits for the pace's next slot: a
        // timer set for its own time, gone by, would spin the event loop until then.
        if (m_pacing) {
            next = std::max(next,
                            m_paceStart
                                + microseconds((m_sentSincePaceStart * 1'000'000)
                                               / m_bounds.requestsPerSecond));
        }
    }
    if (!m_expiries.empty())
        next = std::min(next, m_expiries.front().at);
    next = std::max(next, m_lastTurn + kTurnInterval);
    const auto wait = ceil<milliseconds>(std::max(next - now, Clock::duration::zero()));
    m_timer->start(wait);
}

void ServerSweep::readReplies()
{
    m_readScheduled = false;
    const Clock::time_point turnEnds = Clock::now() + kSweepTurn;
    for (;;) {
        if (Clock::now() > turnEnds) {
            if (!m_readScheduled) {
                m_readScheduled = true;
                QTimer::singleShot(0, this, &ServerSweep::readReplies);
            }
            return;
        }
        const QNetworkDatagram datagram = m_socket->receiveDatagram(65536);
        if (!datagram.isValid())
            break;
        const quint64 server =
            ServerEndpoint::of(datagram.senderAddress(), quint16(datagram.senderPort())).key();
        const auto lastSent = m_inFlight.constFind(server);
        if (lastSent == m_inFlight.cend())
            continue;
        std::optional<StatusReply> reply = parseStatusReply(datagram.data());
        if (!reply)
            continue;
        const auto roundTrip = duration_cast<microseconds>(Clock::now() - *lastSent);
        m_inFlight.erase(lastSent);
        emit replied(server, *reply, roundTrip);
    }
    scheduleWork();
}
