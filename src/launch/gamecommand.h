// SPDX-License-Identifier: GPL-3.0-or-later
// The game's command line, built as a value from the join's inputs before anything starts.
#pragma once

#include "query/games.h"

#include <QString>

#include <optional>

// What the join command hands over: the server to connect to, its password and, when a clan
// nickname was chosen at start-up, the in-game name to play under.
struct JoinTarget
{
    QString address;                   // "ip:port", as normalised by the address rules
    QString password;                  // as typed, possibly empty
    std::optional<QString> playerName; // absent when no clan nickname is selected
    GameId game = GameId::Cod;
};

// The game to run, its arguments and the folder it runs in. `arguments` is the text that follows
// the program path on the command line, from " +connect " on; the game reads it as one text.
struct GameCommand
{
    QString program;
    QString arguments;
    QString workingDirectory;

    QString commandLine() const { return program + arguments; }
};

// The folder the game runs in: the folder of the executable's path.
QString gameFolder(const QString &gamePath);

// The in-game name without the characters that would start further console commands or lines:
// the name comes from a web page, so it must not carry "+", CR or LF onto the command line.
QString cleanPlayerName(const QString &name);

// "<gamePath> +connect <address> +password <password>" followed, with a player name, directly by
// "+set name <name>".
GameCommand buildGameCommand(const QString &gamePath, const JoinTarget &target);
