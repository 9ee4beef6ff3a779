// SPDX-License-Identifier: GPL-3.0-or-later
// The status query's bytes: the request we send and the parsed reply we get back.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The out-of-band request for a server's status: four 0xFF bytes and "getstatus".
QByteArray statusRequest();

// One server variable. The key has no leading "."; the value has its colour codes and control
// characters removed but keeps its blanks.
struct StatusVariable
{
    QString key;
    QString value;
};

// The figures in front of a player's name: "score ping "name"".
struct PlayerFigures
{
    qint64 score = 0; // 0 where the line has no number there
    qint64 ping = 0;
};

// Everything a status reply carries. The special variables stay in `variables` as well. When a
// reply repeats one of them, the last pair wins, as it would if each pair were applied in turn.
struct StatusReply
{
    QList<StatusVariable> variables;       // in reply order
    QStringList players;                   // one entry per player line, in order
    QList<PlayerFigures> playerFigures;    // parallel to players
    std::optional<QString> maxClients;     // trimmed sv_maxclients
    int playersBeforeMaxClients = 0;       // player lines seen before that sv_maxclients pair
    std::optional<QString> hostname;       // trimmed sv_hostname
    std::optional<QString> gameType;       // trimmed g_gametype
    std::optional<QString> mapName;        // trimmed mapname
    std::optional<QString> privateClients; // trimmed sv_privateClients
};

// The value of the last pair with `key`, its outer blanks trimmed as the special variables' are;
// empty text when the reply has no such pair.
QString variableValue(const StatusReply &reply, QStringView key);

// Text as the reply's values and player names read: colour codes and control characters removed.
QString withoutColourCodes(QStringView text);

// Parses one datagram (one character per byte). Returns nullopt when it carries no status header.
std::optional<StatusReply> parseStatusReply(const QByteArray &datagram);

// A player count, limit or number of reserved slots as a server states it: read as a 64-bit
// number, so that no value a server sends can overflow the rule below. A negative value, or one
// that is no number or too large, reads as absent.
std::optional<qint64> statusCount(const std::optional<QString> &text);

// Whether there is no room for a player who holds no reserved slot: as many players as the limit
// less the reserved slots, or more. Without a limit a server is never full; absent reserved slots
// count as none.
bool isFull(qint64 players, std::optional<qint64> limit, std::optional<qint64> reserved);
// The same for a reply: its player lines against `sv_maxclients` and `sv_privateClients`.
bool isFull(const StatusReply &reply);
