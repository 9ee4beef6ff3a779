// SPDX-License-Identifier: GPL-3.0-or-later
// The games of one engine's family that the program serves: each one's name, program, master port
// and versions with the protocol number each speaks, as masters and status replies name them.
#pragma once

#include <QList>
#include <QString>

#include <array>
#include <optional>

enum class GameId : quint8 { Cod, Uo, Cod2, Cod4 };

struct GameVersion
{
    const char *name; // "1.5"
    int protocol;     // 6
};

struct Game
{
    GameId id;
    const char *key;       // "cod2", as a bookmark's `game` names it
    const char *name;      // "Call of Duty 2"
    const char *shortName; // "CoD2", in a bookmark's row
    const char *program;   // "CoD2MP_s.exe", the multiplayer program on Windows
    quint16 masterPort;
    QList<GameVersion> versions;     // oldest first
    int defaultProtocol;             // what most servers run, the choice when nothing else tells
    QList<const char *> statusNames; // the `gamename` its servers' status replies give
};

// The game and version the player plays, against which servers are judged.
struct PlayedVersion
{
    GameId game = GameId::Cod;
    int protocol = 1;
};

// The version the player plays of each game, in the order of games(), as far as it is known yet.
using PlayedProtocols = std::array<std::optional<int>, 4>;

// Call of Duty, United Offensive, Call of Duty 2, Call of Duty 4, in that order.
const QList<Game> &games();
const Game &gameOf(GameId id);
// The game a bookmark's `game` names; Call of Duty for none or an unknown one, as every bookmark
// was before there were other games.
GameId gameNamed(QStringView key);

// "1.5" for 6; nullopt for a number no version of the game speaks.
std::optional<QString> versionOfProtocol(const Game &game, int protocol);
// The protocol a setting names: a protocol number ("6") or a version ("1.5") of the game; nullopt
// otherwise.
std::optional<int> protocolNamed(const Game &game, const QString &text);

// The game a status reply's `gamename` names ("main" on early Call of Duty servers); nullopt for
// none of these.
std::optional<GameId> gameOfStatusName(QStringView gamename);
// The other game a server plainly runs when `expected` was asked for: the one its `gamename`
// names, else the one game that speaks its protocol when `expected` does not (protocol numbers of
// Call of Duty and Call of Duty 4 overlap); nullopt when it may well be `expected`.
std::optional<GameId> otherGameOf(std::optional<GameId> named, std::optional<int> protocol,
                                  GameId expected);
