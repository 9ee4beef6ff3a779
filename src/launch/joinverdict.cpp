#include "launch/joinverdict.h"

namespace {

constexpr QStringView kPlayersPrefix = u"Players: ";
constexpr QStringView kPingPrefix = u"Ping: ";

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
    if (maxClients && playerCount(playersCaption) == *maxClients)
        return JoinVerdict::Full;
    const QString ping = pingCaption.mid(kPingPrefix.size());
    if (ping == u"-" || ping == u"Timeout")
        return JoinVerdict::NotResponding;
    return JoinVerdict::Joinable;
}
