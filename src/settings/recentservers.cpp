// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/recentservers.h"

#include "query/statussocket.h"

namespace {

std::optional<RecentServer> parsed(const QString &entry)
{
    const QString address = entry.section(u' ', 0, 0);
    const QDateTime startedAt = QDateTime::fromString(entry.section(u' ', 1, 1), Qt::ISODate);
    if (!startedAt.isValid() || !statusTarget(address))
        return std::nullopt;
    return RecentServer{address, entry.section(u' ', 2), startedAt};
}

bool listed(const QList<RecentServer> &servers, const QString &address)
{
    return std::any_of(servers.cbegin(), servers.cend(),
                       [&](const RecentServer &server) { return server.address == address; });
}

} // namespace

QList<RecentServer> recentServersIn(const QStringList &entries)
{
    QList<RecentServer> servers;
    for (const QString &entry : entries) {
        if (servers.size() == kMaxRecentServers)
            break;
        const std::optional<RecentServer> server = parsed(entry);
        if (server && !listed(servers, server->address))
            servers.append(*server);
    }
    return servers;
}

QStringList recentEntries(const QList<RecentServer> &servers)
{
    QStringList entries;
    for (const RecentServer &server : servers)
        entries.append(server.address + u' ' + server.startedAt.toUTC().toString(Qt::ISODate) + u' '
                       + server.name);
    return entries;
}

QList<RecentServer> withRecent(QList<RecentServer> servers, const RecentServer &started)
{
    servers.removeIf([&](const RecentServer &server) { return server.address == started.address; });
    servers.prepend(started);
    return servers.first(std::min(servers.size(), kMaxRecentServers));
}
