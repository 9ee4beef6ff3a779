// SPDX-License-Identifier: GPL-3.0-or-later
// Asks every master for the server list of one game version, sparing masters asked recently.
#pragma once

#include "query/games.h"
#include "servers/masterquery.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

// The masters without the settings key: the two community masters that answer today.
QStringList defaultMasters();
// The masters the settings key names, each entry possibly holding several names (as a registry
// text or a hand-edited line might); the default masters when it names none.
QStringList mastersNamed(const QStringList &stored);

// When the masters were last asked for the list of `protocol` (invalid if never).
QDateTime newestAskedAt(const QHash<QString, QDateTime> &askedAt, PlayedVersion played);

// Asks each master at once and merges their lists, each server once. Masters are shared and some
// block clients that ask too often: a master asked for the same version less than
// kMinimumInterval ago is skipped unless the user refreshes; its servers stand in the cached list.
class MasterClient final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MasterClient)

public:
    static constexpr std::chrono::minutes kMinimumInterval{5};

    explicit MasterClient(MasterBounds bounds, QObject *parent = nullptr);

    // Masters named in `masters` that cannot be parsed end at once as not found.
    void fetch(const QStringList &masters, PlayedVersion played, bool refresh);
    bool isFetching() const { return m_running > 0; }

    // When each master was last asked, by "protocol master": kept in the cache between runs.
    QHash<QString, QDateTime> askedAt() const { return m_askedAt; }
    void setAskedAt(const QHash<QString, QDateTime> &askedAt) { m_askedAt = askedAt; }

signals:
    void serversListed(const QList<ServerEndpoint> &servers);
    void masterEnded(const QString &master, const MasterOutcome &outcome);
    // Every master asked has ended; `asked` is false when all were skipped.
    void finished(bool asked);

private:
    bool askedRecently(const QString &key) const;
    void listed(const QList<ServerEndpoint> &servers);

    const MasterBounds m_bounds;
    QHash<QString, QDateTime> m_askedAt;
    QSet<quint64> m_seen; // servers listed in this fetch
    QList<MasterQuery *> m_queries;
    int m_running = 0;
    bool m_starting = false; // within a query's ask()
};
