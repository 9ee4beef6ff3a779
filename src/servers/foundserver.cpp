// SPDX-License-Identifier: GPL-3.0-or-later
#include "servers/foundserver.h"

#include "query/statusreply.h"

QString FoundServer::addressText() const
{
    return address.text();
}

QString FoundServer::displayName() const
{
    return name.isEmpty() ? addressText() : name;
}

void FoundServer::take(const StatusReply &reply, std::chrono::microseconds roundTrip)
{
    status = BookmarkStatus::answered(reply, roundTrip);
    name = reply.hostname.value_or(QString());
    type = reply.gameType.value_or(QString());
    players.clear();
    players.reserve(reply.players.size());
    for (qsizetype i = 0; i < reply.players.size(); ++i) {
        const PlayerFigures figures = reply.playerFigures.value(i);
        players.append({reply.players[i], figures.score, figures.ping});
    }
}
