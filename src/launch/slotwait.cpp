// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/slotwait.h"

#include "launch/launchlog.h"
#include "query/statusexchange.h"

#include <QTimer>

namespace {

// Each exchange ends before the next question: its bound is the interval.
ExchangeBounds boundsFor(const SlotWaitBounds &bounds)
{
    ExchangeBounds exchange;
    exchange.reply = std::min(exchange.reply, bounds.interval);
    return exchange;
}

} // namespace

SlotWait::SlotWait(SlotWaitBounds bounds, QObject *parent)
    : QObject(parent),
      m_exchange(new StatusExchange(nullptr, LocalPort::Any, boundsFor(bounds), this)),
      m_interval(new QTimer(this)),
      m_limit(new QTimer(this))
{
    m_interval->setInterval(bounds.interval);
    m_limit->setInterval(bounds.limit);
    m_limit->setSingleShot(true);
    connect(m_interval, &QTimer::timeout, this, &SlotWait::ask);
    connect(m_limit, &QTimer::timeout, this, [this] {
        qCInfo(lcLaunch) << "no slot freed on" << m_server.host.toString() << m_server.port
                         << "in time: the wait ends";
        stop();
        emit gaveUp();
    });
    connect(m_exchange, &StatusExchange::replied, this, &SlotWait::judge);
}

SlotWait::~SlotWait() = default;

void SlotWait::start(const StatusTarget &server)
{
    qCInfo(lcLaunch) << "waiting for a slot on" << server.host.toString() << server.port;
    m_server = server;
    m_interval->start();
    m_limit->start();
    ask();
}

void SlotWait::stop()
{
    m_interval->stop();
    m_limit->stop();
    m_exchange->stop();
}

void SlotWait::ask()
{
    m_exchange->start(m_server);
}

void SlotWait::judge(const StatusReply &reply)
{
    if (isFull(reply))
        return;
    qCInfo(lcLaunch) << "a slot freed on" << m_server.host.toString() << m_server.port;
    stop();
    emit slotFreed();
}
