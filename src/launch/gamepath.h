// SPDX-License-Identifier: GPL-3.0-or-later
// Which file may serve as the game: the rules for the chosen game executable.
#pragma once

#include <QString>

#include <optional>

class Dialogs;
struct FileDialogPreset;

// True when the file name after the platform's last path separator reads "codmp.exe" in any letter
// case. Whether the file exists is the caller's test.
bool isAcceptedGamePath(const QString &path);

// Asks with the file dialog until the user picks an accepted game that exists, with the platform's
// separators (the game folder is later cut from it); nullopt when the dialog is cancelled or fails.
std::optional<QString> askGamePath(Dialogs &dialogs, const FileDialogPreset &preset);
