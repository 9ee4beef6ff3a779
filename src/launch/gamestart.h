// How a game command becomes a process on this platform: on Windows the game gets its arguments as
// one text; elsewhere a Windows executable runs through wine.
#pragma once

#include "launch/gamecommand.h"
#include "launch/joinmessages.h"
#include "platform/gamestarter.h"

#include <QProcessEnvironment>

#include <optional>

class QIODevice;

// True when the device holds a Windows executable: "MZ" at its start and "PE\0\0" at the offset
// stored at 0x3C. The device must be open for reading and allow seeking.
bool isWindowsExecutable(QIODevice &file);
bool isWindowsExecutableFile(const QString &path);

// Either the process to start or, when the game can not start, the message for the user.
struct StartPlan
{
    std::optional<ProcessStart> process;
    QString problem;
};

// The process for the command, with `environment` as the game's environment (wine's extras added).
StartPlan planGameStart(const GameCommand &command, QProcessEnvironment environment);
