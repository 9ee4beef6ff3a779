// SPDX-License-Identifier: GPL-3.0-or-later
// The servers the game was last started on, as the `recent` key keeps them.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

struct RecentServer
{
    QString address; // "ip:port"
    QString name;    // as shown when the game started
    QDateTime startedAt;

    friend bool operator==(const RecentServer &, const RecentServer &) = default;
};

inline constexpr qsizetype kMaxRecentServers = 20;

// Each entry is "ADDRESS TIME NAME" (the time in ISO 8601, UTC). Entries that are not that, or
// whose address is no server address, are skipped; at most kMaxRecentServers, one per address,
// newest first as stored.
QList<RecentServer> recentServersIn(const QStringList &entries);
QStringList recentEntries(const QList<RecentServer> &servers);
// `started` goes first; an older entry of its address goes; the oldest beyond the bound go.
QList<RecentServer> withRecent(QList<RecentServer> servers, const RecentServer &started);
