// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/joinverdict.h"

#include "query/statuscaptions.h"
#include "query/statusreply.h"

namespace {

const QLatin1String kPlayersPrefix(kPlayersCaption);

QString playerCount(const QString &playersCaption)
{
    // A caption without "/" (never shown, but not ruled out) yields everything after the prefix.
    const qsizetype slash = playersCaption.indexOf(u'/');
    return playersCaption.mid(kPlayersPrefix.size(), slash - kPlayersPrefix.size());
}

} // namespace

JoinVerdict judgeJoin(const QString &playersCaption, const QString &pingCaption,
                      const std::optional<QString> &maxClients)
{
    const std::optional<qint64> players = statusCount(playerCount(playersCaption));
    if (players && isFull(*players, statusCount(maxClients), std::nullopt))
        return JoinVerdict::Full;
    if (pingCaption == QLatin1String(kPingNone) || pingCaption == QLatin1String(kPingTimeout))
        return JoinVerdict::NotResponding;
    return JoinVerdict::Joinable;
}
