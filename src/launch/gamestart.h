// SPDX-License-Identifier: GPL-3.0-or-later
// How a game command becomes a process on this platform: on Windows the game gets its arguments as
// one text; elsewhere a Windows executable runs through wine. And what an early end of it means.
#pragma once

#include "launch/gamecommand.h"
#include "launch/joinmessages.h"
#include "platform/gamestarter.h"
#include "query/games.h"

#include <QProcessEnvironment>

#include <chrono>
#include <optional>

class QIODevice;

// How long a start is watched, with the busy pointer on: an end within it is the start's failure.
inline constexpr std::chrono::milliseconds kStartWatch{5000};

// The machine field of a 32-bit x86 Windows program.
inline constexpr quint16 kMachineI386 = 0x014c;

// True when the device holds a Windows executable: "MZ" at its start and "PE\0\0" at the offset
// stored at 0x3C. The device must be open for reading and allow seeking.
bool isWindowsExecutable(QIODevice &file);
// The machine field that follows the signature of a Windows executable; nullopt when the device
// holds none.
std::optional<quint16> windowsMachine(QIODevice &file);
// The file version in a Windows executable's version resource, as major and minor ("1.5");
// nullopt when it has none or it cannot be read.
std::optional<std::pair<int, int>> windowsFileVersion(QIODevice &file);
// The game version the user plays: the setting's when there is one, else the game executable's own
// version resource, else the version most servers run.
int chosenProtocol(const Game &game, std::optional<int> stored, const QString &gamePath);

// The user's choices for running Windows games: the runner (empty: "wine" from the PATH) and the
// Wine prefix (empty: Wine's own choice).
struct WineSettings
{
    QString runner;
    QString prefix;
};

// Either the process to start or, when the game can not start, the message for the user.
struct StartPlan
{
    std::optional<ProcessStart> process;
    QString problem;
    bool needsWine32 = false; // a 32-bit Windows program, run through wine
};

// The process for the command, with `environment` as the game's environment (wine's extras added).
StartPlan planGameStart(const GameCommand &command, QProcessEnvironment environment,
                        const WineSettings &wine = {});

// The message for a start that failed, that ended within its watch with an error status, or
// whose output says that Wine can not run 32-bit programs (a fresh Wine prefix may still be in
// the making when the watch ends); nullopt when all went well.
std::optional<QString> startFailure(const StartPlan &plan, const LaunchOutcome &outcome);
