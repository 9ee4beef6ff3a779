// SPDX-License-Identifier: GPL-3.0-or-later
// Asks every bookmark's server for its status in the background, many at a time.
#pragma once

#include "query/bookmarkstatus.h"
#include "query/statusexchange.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>

// Runs one StatusExchange per server, at most kMaxInFlight at a time, each from a port of its
// own: the window's exchange keeps the server's port, and a refused port is seen at once. A server
// that several bookmarks name is asked once for all of them. Outcomes come as values, each for the
// stored address it was asked for; nothing here knows of a window.
class StatusRefresh final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusRefresh)

public:
    static constexpr int kMaxInFlight = 64;

    explicit StatusRefresh(ExchangeBounds bounds, QObject *parent = nullptr);
    ~StatusRefresh() override;

    // Asks for the status of every stored address, each told once per time it is listed. An
    // address the address rules refuse is not asked: it is told so at once. While a refresh runs,
    // the servers that have answered it keep their status and are not asked again; every other row
    // starts afresh, so no server is ever asked twice at the same time.
    void refresh(const QStringList &addresses);
    // The same for `count` addresses that `addressAt` gives by row: a long list's addresses need
    // not be copied into a list of their own for the refresh.
    void refresh(qsizetype count, std::function<QString(qsizetype row)> addressAt);

signals:
    void addressStatus(const QString &address, const BookmarkStatus &status);
    // Every address has its outcome.
    void finished();

private:
    // A server of this refresh in eight bytes: thousands are kept until the refresh ends.
    struct Query
    {
        int row = -1; // the first that names it; none for an answer kept from the refresh before
        BookmarkStatus::State outcome = BookmarkStatus::State::Waiting; // Waiting: being asked
    };

    void takeRows();
    void scheduleTake();
    void takeRow(int row);
    void ask(quint64 server);
    StatusExchange *idleExchange();
    void tell(StatusExchange *exchange, const BookmarkStatus &status);
    BookmarkStatus outcomeOf(quint64 server, BookmarkStatus::State state) const;

    const ExchangeBounds m_bounds;
    std::function<QString(qsizetype row)> m_addressAt;
    qsizetype m_count = 0;
    qsizetype m_next = 0;                    // the first row not taken yet
    QHash<quint64, Query> m_queries;         // by server address and port
    QMultiHash<quint64, int> m_moreRows;     // the rows after the first for a server being asked
    QHash<quint64, BookmarkStatus> m_told;   // the outcomes that are more than their state
    QHash<StatusExchange *, quint64> m_busy; // exchanges in flight and the server they ask
    QList<StatusExchange *> m_idle;
    bool m_running = false;
    bool m_takeScheduled = false;
};
