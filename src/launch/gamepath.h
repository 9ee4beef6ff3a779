// Which file may serve as the game: the rules for the chosen game executable.
#pragma once

#include <QString>

// True when the file name after the platform's last path separator reads "codmp.exe" in any letter
// case. Whether the file exists is the caller's test.
bool isAcceptedGamePath(const QString &path);
