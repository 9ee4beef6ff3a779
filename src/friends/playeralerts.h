// SPDX-License-Identifier: GPL-3.0-or-later
// "Tell me when N players...": a notice when a bookmark's server fills up to the number asked.
#pragma once

#include "friends/friendwatch.h"

#include <QHash>
#include <QString>

#include <optional>

struct BookmarkStatus;

// Tells once per rise: when an answer counts `threshold` players or more and the server's last
// answer counted fewer (or this is its first answer). It tells again only after an answer
// counted fewer.
class PlayerAlerts final
{
public:
    // `threshold` 0 is no alert; an answer without figures changes nothing.
    std::optional<FriendNotice> serverAnswered(const QString &address, const QString &serverName,
                                               int threshold, const BookmarkStatus &status);

private:
    QHash<QString, bool> m_reached; // by address: the last answer was at or above its number
};
