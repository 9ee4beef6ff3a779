// SPDX-License-Identifier: GPL-3.0-or-later
#include "friends/playeralerts.h"

#include "query/bookmarkstatus.h"

#include <QCoreApplication>

std::optional<FriendNotice> PlayerAlerts::serverAnswered(const QString &address,
                                                         const QString &serverName, int threshold,
                                                         const BookmarkStatus &status)
{
    if (status.state != BookmarkStatus::State::Answered)
        return std::nullopt;
    if (threshold <= 0) {
        m_reached.remove(address);
        return std::nullopt;
    }
    const BookmarkStatus::Server &server = status.server;
    const bool reached = server.players >= threshold;
    const bool rose = reached && !m_reached.value(address, false);
    m_reached.insert(address, reached);
    if (!rose)
        return std::nullopt;
    return FriendNotice{
        QCoreApplication::translate("PlayerAlerts", "%1: %2 players")
            .arg(serverName.isEmpty() ? address : serverName, playersFigure(server)),
        server.map, address};
}
