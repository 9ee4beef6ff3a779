// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/statusrefresh.h"

#include "address/addressrules.h"
#include "query/serverendpoint.h"

#include <QTimer>

#include <algorithm>

#include <variant>

using namespace std::chrono;

namespace {

// How long one turn of the event loop may spend starting queries: starting one opens a socket,
// and a few thousand bookmarks at once would freeze the window.
constexpr milliseconds kStartTurn{4};

// The server a stored address names, or the address rules' verdict on it, as a click on the
// bookmark would judge it.
std::variant<StatusTarget, QString> storedTarget(const QString &stored)
{
    AddressFilter filter;
    const QString address = ipcheck(filter, stored);
    return checkedTarget(checkip(filter, address), address);
}

quint64 keyOf(const StatusTarget &target)
{
    return ServerEndpoint::of(target.host, target.port).key();
}

StatusTarget targetOf(quint64 key)
{
    const ServerEndpoint server = ServerEndpoint::fromKey(key);
    return {server.host(), server.port};
}

} // namespace

StatusRefresh::StatusRefresh(ExchangeBounds bounds, QObject *parent)
    : QObject(parent),
      m_bounds(bounds)
{ }

StatusRefresh::~StatusRefresh() = default;

void StatusRefresh::refresh(const QStringList &addresses)
{
    refresh(addresses.size(), [addresses](qsizetype row) { return addresses.at(row); });
}

void StatusRefresh::refresh(qsizetype count, std::function<QString(qsizetype row)> addressAt)
{
    QHash<quint64, Query> answered;
    if (m_running) {
        for (auto query = m_queries.cbegin(); query != m_queries.cend(); ++query) {
            if (BookmarkStatus::hasAnswered(query->outcome))
                answered.insert(query.key(), {-1, query->outcome});
        }
    }
    m_told.removeIf([&answered](const auto &told) { return !answered.contains(told.key()); });
    for (auto busy = m_busy.cbegin(); busy != m_busy.cend(); ++busy) {
        busy.key()->stop();
        m_idle.append(busy.key());
    }
    m_busy.clear();
    m_queries = std::move(answered);
    m_moreRows.clear();
    // All at once: a hash that grows row by row holds its old and new tables while it does.
    m_queries.reserve(count);
    m_addressAt = std::move(addressAt);
    m_count = count;
    m_next = 0;
    m_running = true;
    takeRows();
}

// Takes rows while there is room in flight and the turn lasts; what is left waits for the next
// turn, or for an exchange to end.
void StatusRefresh::takeRows()
{
    m_takeScheduled = false;
    const auto turnEnds = steady_clock::now() + kStartTurn;
    while (m_next < m_count && m_busy.size() < kMaxInFlight) {
        if (steady_clock::now() > turnEnds) {
            scheduleTake();
            return;
        }
        takeRow(int(m_next++));
    }
    if (m_running && m_next >= m_count && m_busy.isEmpty()) {
        m_running = false;
        m_queries = {};
        m_told = {};
        emit finished();
    }
}

// Rows are taken on a turn of their own: not inside an exchange's signal, whose socket is still
// being served, nor in a turn that has run long already.
void StatusRefresh::scheduleTake()
{
    if (m_takeScheduled)
        return;
    m_takeScheduled = true;
    QTimer::singleShot(0, this, &StatusRefresh::takeRows);
}

void StatusRefresh::takeRow(int row)
{
    const QString address = m_addressAt(row);
    const std::variant<StatusTarget, QString> target = storedTarget(address);
    if (const QString *verdict = std::get_if<QString>(&target)) {
        emit addressStatus(address, {BookmarkStatus::State::BadAddress, {}, *verdict});
        return;
    }
    const quint64 server = keyOf(std::get<StatusTarget>(target));
    const auto known = m_queries.constFind(server);
    if (known == m_queries.cend()) {
        m_queries.insert(server, {row, BookmarkStatus::State::Waiting});
        ask(server);
    } else if (known->outcome != BookmarkStatus::State::Waiting) {
        emit addressStatus(address, outcomeOf(server, known->outcome));
    } else {
        m_moreRows.insert(server, row);
    }
}

void StatusRefresh::ask(quint64 server)
{
    StatusExchange *exchange = idleExchange();
    m_busy.insert(exchange, server);
    exchange->start(targetOf(server)); // a request that cannot be sent is told from in here
}

StatusExchange *StatusRefresh::idleExchange()
{
    if (!m_idle.isEmpty())
        return m_idle.takeLast();
    // No echo: the request's own round trip is the ping.
    auto *exchange = new StatusExchange(nullptr, LocalPort::Any, m_bounds, this);
    connect(exchange, &StatusExchange::replied, this,
            [this, exchange](const StatusReply &reply, microseconds roundTrip) {
                tell(exchange, BookmarkStatus::answered(reply, roundTrip));
            });
    connect(exchange, &StatusExchange::refused, this, [this, exchange] {
        tell(exchange, {BookmarkStatus::State::Refused, {}, {}});
    });
    connect(exchange, &StatusExchange::timedOut, this, [this, exchange] {
        tell(exchange, {BookmarkStatus::State::NoReply, {}, {}});
    });
    connect(exchange, &StatusExchange::notSent, this, [this, exchange](const QString &reason) {
        tell(exchange, {BookmarkStatus::State::NotSent, {}, reason});
    });
    return exchange;
}

// Other socket errors are left to the time-out, as they are in the window's exchange, but
// without a word: the refresh never raises a box.
void StatusRefresh::tell(StatusExchange *exchange, const BookmarkStatus &status)
{
    const quint64 server = m_busy.take(exchange);
    exchange->stop();
    m_idle.append(exchange);
    Query &query = m_queries[server];
    query.outcome = status.state;
    // A refusal or a silence is its state alone; an answer and the platform's words are kept.
    if (status.state == BookmarkStatus::State::Answered || !status.problem.isEmpty())
        m_told.insert(server, status);
    QList<int> rows = m_moreRows.values(server);
    m_moreRows.remove(server);
    rows.append(query.row);
    std::sort(rows.begin(), rows.end());
    for (const int row : std::as_const(rows))
        emit addressStatus(m_addressAt(row), status);
    scheduleTake();
}

BookmarkStatus StatusRefresh::outcomeOf(quint64 server, BookmarkStatus::State state) const
{
    return m_told.value(server, {state, {}, {}});
}
