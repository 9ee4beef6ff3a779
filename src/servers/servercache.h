// SPDX-License-Identifier: GPL-3.0-or-later
// The last server list on disk, so the browser shows it at once when it opens.
#pragma once

#include "servers/foundserver.h"

#include <QDateTime>
#include <QHash>

struct CachedList
{
    int protocol = 0;
    QHash<QString, QDateTime> askedAt; // as MasterClient keeps it
    QList<FoundServer> servers;
};

// The platform's cache folder (QStandardPaths::CacheLocation).
QString serverCacheFolder();
// The game's cache file in `folder`: servers.cache for Call of Duty, servers-cod2.cache and so on
// for the others.
QString serverCachePath(const QString &folder, GameId game);

// nullopt when the file is missing, unreadable, cut short, of another format or otherwise not
// what writeServerCache() leaves: the caller starts afresh and the next write replaces it.
std::optional<CachedList> readServerCache(const QString &path);
// Written whole to a temporary file that then takes the old one's place. False when it failed.
bool writeServerCache(const QString &path, const CachedList &list);
