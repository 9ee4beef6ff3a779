// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/bookmarkstatus.h"

#include "query/games.h"
#include "query/statusreply.h"

#include <QCoreApplication>
#include <QStringList>

#include <limits>

using namespace std::chrono;

namespace {

QString statusText(const char *text)
{
    return QCoreApplication::translate("BookmarkStatus", text);
}

bool isNonZeroNumber(const QString &text)
{
    bool isNumber = false;
    const double value = text.toDouble(&isNumber);
    return isNumber && value != 0;
}

} // namespace

BookmarkStatus BookmarkStatus::answered(const StatusReply &reply, microseconds roundTrip)
{
    BookmarkStatus status;
    status.state = State::Answered;
    Server &server = status.server;
    server.players = int(reply.players.size());
    server.limit = statusCount(reply.maxClients);
    server.pingMs = duration_cast<milliseconds>(roundTrip).count();
    server.password = isNonZeroNumber(variableValue(reply, u"pswrd"))
        || isNonZeroNumber(variableValue(reply, u"g_needpass"));
    server.full = isFull(reply);
    server.map = reply.mapName.value_or(QString());
    server.version = variableValue(reply, u"shortversion");
    server.mod = variableValue(reply, u"fs_game");
    server.playerNames = reply.players;
    // Only a number a version could have: a huge one must not wrap round to a known version.
    const std::optional<qint64> protocol = statusCount(variableValue(reply, u"protocol"));
    if (protocol && *protocol <= std::numeric_limits<int>::max())
        server.protocol = int(*protocol);
    server.namedGame = gameOfStatusName(variableValue(reply, u"gamename"));
    return status;
}

QString playersFigure(const BookmarkStatus::Server &server)
{
    const QString limit = server.limit ? QString::number(*server.limit)
                                       : QString::fromLatin1(kUnknownLimit);
    return QString::fromLatin1(kPlayersFigure).arg(QString::number(server.players), limit);
}

QString pingFigure(const BookmarkStatus::Server &server)
{
    return statusText(kPingFigure).arg(server.pingMs);
}

std::optional<GameId> otherGame(const BookmarkStatus::Server &server, GameId played)
{
    return otherGameOf(server.namedGame, server.protocol, played);
}

bool runsOtherVersion(const BookmarkStatus::Server &server, PlayedVersion played)
{
    return otherGame(server, played.game)
        || (server.protocol && *server.protocol != played.protocol);
}

namespace {

// ", another game: Call of Duty 2" or ", other version 1.5"; empty for the user's own.
QString otherVersionWords(const BookmarkStatus::Server &server, PlayedVersion played)
{
    if (const std::optional<GameId> other = otherGame(server, played.game))
        return statusText(kStatusOtherGame).arg(QLatin1String(gameOf(*other).name));
    if (!runsOtherVersion(server, played))
        return {};
    const int protocol = *server.protocol;
    return statusText(kStatusOtherVersion)
        .arg(versionOfProtocol(gameOf(played.game), protocol).value_or(QString::number(protocol)));
}

QString stateWords(const BookmarkStatus &status, std::optional<PlayedVersion> played)
{
    using State = BookmarkStatus::State;
    const BookmarkStatus::Server &server = status.server;
    switch (status.state) {
    case State::Answered: {
        QString words = statusText(kStatusPlayers).arg(playersFigure(server), pingFigure(server));
        if (!server.map.isEmpty())
            words += statusText(kStatusMap).arg(server.map);
        if (server.password)
            words += statusText(kStatusPassword);
        if (server.full)
            words += statusText(kStatusFull);
        if (played)
            words += otherVersionWords(server, *played);
        return words;
    }
    case State::NotSent:
    case State::BadAddress:
        return statusMark(status.state) + QStringLiteral(": ") + status.problem;
    default:
        return statusMark(status.state);
    }
}

} // namespace

QString statusWords(const BookmarkStatus &status, std::optional<PlayedVersion> played,
                    const QString &place)
{
    const QString words = stateWords(status, played);
    return place.isEmpty() ? words : words + QStringLiteral(", ") + place;
}

QString statusToolTip(const BookmarkStatus &status, std::optional<PlayedVersion> played,
                      const QString &place)
{
    QStringList about;
    if (!status.server.version.isEmpty())
        about.append(statusText(kStatusVersion).arg(status.server.version));
    if (!status.server.mod.isEmpty())
        about.append(statusText(kStatusMod).arg(status.server.mod));
    const QString words = statusWords(status, played, place);
    return about.isEmpty() ? words : words + u'\n' + about.join(QStringLiteral(", "));
}

// The marks are shared, not made anew for each of thousands of rows: made once, in the language of
// the translation that start-up installs before any is needed.
QString statusMark(BookmarkStatus::State state)
{
    using State = BookmarkStatus::State;
    static const QString waiting = QString::fromUtf16(kStatusWaiting);
    static const QString refused = statusText(kStatusRefused);
    static const QString noReply = statusText(kStatusNoReply);
    static const QString notSent = statusText(kStatusNotSent);
    static const QString badAddress = statusText(kStatusBadAddress);
    switch (state) {
    case State::Waiting:
        return waiting;
    case State::Answered:
        return {};
    case State::Refused:
        return refused;
    case State::NoReply:
        return noReply;
    case State::NotSent:
        return notSent;
    case State::BadAddress:
        return badAddress;
    }
    return {};
}
