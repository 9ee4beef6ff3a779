// SPDX-License-Identifier: GPL-3.0-or-later
// Which file may serve as the game: the rules for the chosen game executable.
#pragma once

#include "platform/dialogs.h"
#include "query/games.h"

#include <QString>

#include <optional>

// True when the file name after the platform's last path separator reads the game's program
// ("codmp.exe") in any letter case. Whether the file exists is the caller's test.
bool isAcceptedGamePath(const QString &path, const Game &game);

// The file dialog that asks for the game's program: "Select CoD2MP_s.exe".
FileDialogPreset gamePathPreset(const Game &game);
// Asks with the file dialog until the user picks the game's program where it exists, with the
// platform's separators (the game folder is later cut from it); nullopt when the dialog is
// cancelled or fails.
std::optional<QString> askGamePath(Dialogs &dialogs, const Game &game);
