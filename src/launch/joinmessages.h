// SPDX-License-Identifier: GPL-3.0-or-later
// The join command's fixed texts for the user.
#pragma once

#include <QCoreApplication>
#include <QString>

inline constexpr char kNoGamePath[] = QT_TRANSLATE_NOOP("JoinMessages",
                                                        "Can not load game, no game path selected");
inline constexpr char kServerFull[] = QT_TRANSLATE_NOOP("JoinMessages", "Server full");
inline constexpr char kServerNotResponding[] = QT_TRANSLATE_NOOP("JoinMessages",
                                                                 "Server not responding");
inline constexpr char kLaunchedGame[] = QT_TRANSLATE_NOOP("JoinMessages", "Launched game....");
inline constexpr char kDebugSwitch[] = "/debug";

// The check box of "Server full", and what the window's title ends with while its wait lasts,
// followed by the bookmark's name or the address.
inline constexpr char kJoinWhenSlotFrees[] = QT_TRANSLATE_NOOP("JoinMessages",
                                                               "Join when a slot frees");
inline constexpr char kWaitingForSlot[] = QT_TRANSLATE_NOOP("JoinMessages",
                                                            " - waiting for a slot on ");

// When the game can not start; the first and last are followed by the folder or program.
inline constexpr char kNoGameFolder[] = QT_TRANSLATE_NOOP(
    "JoinMessages", "Can not load game, the game folder does not exist: ");
inline constexpr char kNoWine[] = QT_TRANSLATE_NOOP(
    "JoinMessages", "Can not load game, wine is needed to run it and was not found");
inline constexpr char kGameNotStarted[] = QT_TRANSLATE_NOOP(
    "JoinMessages", "Can not load game, it could not be started: ");
// %1: the exit status, %2: the program; the last lines of its output follow.
inline constexpr char kGameStoppedAtOnce[] = QT_TRANSLATE_NOOP(
    "JoinMessages", "Can not load game, it stopped at once with exit status %1: %2");
// Wine's own words when it has no 32-bit part, and what to do about it.
inline constexpr char kWine32MissingReport[] = "wine32 is missing";
inline constexpr char kNeedsWine32[] = QT_TRANSLATE_NOOP(
    "JoinMessages",
    "Can not load game, it is a 32-bit Windows program and this Wine can not run 32-bit programs "
    "(wine32 is missing).\n\n"
    "On Debian, install it as root with:\n"
    "dpkg --add-architecture i386\n"
    "apt-get update\n"
    "apt-get install wine32:i386");

// One of the texts above in the user's language.
inline QString joinMessage(const char *text)
{
    return QCoreApplication::translate("JoinMessages", text);
}
