// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/joinverdict.h"

#include "query/statusreply.h"

JoinVerdict judgeJoin(qint64 players, bool answered, const std::optional<QString> &maxClients)
{
    if (isFull(players, statusCount(maxClients), std::nullopt))
        return JoinVerdict::Full;
    return answered ? JoinVerdict::Joinable : JoinVerdict::NotResponding;
}
