// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/joinverdict.h"

#include "query/statuscaptions.h"
#include "query/statusreply.h"

namespace {

QString playerCount(const QString &playersCaption)
{
    // A caption without "/" (never shown, but not ruled out) yields everything after the prefix.
    const qsizetype prefix = statusCaption(kPlayersCaption).size();
    const qsizetype slash = playersCaption.indexOf(u'/');
    return playersCaption.mid(prefix, slash - prefix);
}

} // namespace

JoinVerdict judgeJoin(const QString &playersCaption, const QString &pingCaption,
                      const std::optional<QString> &maxClients)
{
    const std::optional<qint64> players = statusCount(playerCount(playersCaption));
    if (players && isFull(*players, statusCount(maxClients), std::nullopt))
        return JoinVerdict::Full;
    if (pingCaption == statusCaption(kPingNone) || pingCaption == statusCaption(kPingTimeout))
        return JoinVerdict::NotResponding;
    return JoinVerdict::Joinable;
}
