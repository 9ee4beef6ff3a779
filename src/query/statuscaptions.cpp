// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/statuscaptions.h"

#include "query/statusreply.h"

namespace {

QString playersCaption(qsizetype count, const QString &limit)
{
    return statusCaption(kPlayersCaption) + QString::number(count) + u'/' + limit;
}

std::optional<QString> captioned(const char *caption, const std::optional<QString> &value)
{
    if (!value)
        return std::nullopt;
    return statusCaption(caption) + *value;
}

} // namespace

ReplyCaptions replyCaptions(const StatusReply &reply)
{
    const bool limitIsEmptyText = reply.maxClients && reply.maxClients->isEmpty();
    const qsizetype count = limitIsEmptyText ? reply.playersBeforeMaxClients : reply.players.size();
    return {playersCaption(count,
                           limitIsEmptyText ? QString()
                                            : reply.maxClients.value_or(QStringLiteral("0"))),
            count, captioned(kTypeCaption, reply.gameType), captioned(kMapCaption, reply.mapName),
            captioned(kReservedCaption, reply.privateClients)};
}

QString pingCaption(std::chrono::microseconds roundTrip)
{
    return statusCaption(kPingCaption)
        + QString::number(std::chrono::duration_cast<std::chrono::milliseconds>(roundTrip).count());
}
