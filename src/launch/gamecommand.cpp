// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/gamecommand.h"

#include <QDir>
#include <QFileInfo>

QString gameFolder(const QString &gamePath)
{
    // For an accepted path this is the path without its separator and "CoDMP.exe"; unlike cutting
    // characters off, it also gives a usable folder for a game at the top of a drive.
    return QDir::toNativeSeparators(QFileInfo(gamePath).absolutePath());
}

QString cleanPlayerName(const QString &name)
{
    QString clean = name;
    clean.remove(u'+');
    clean.remove(u'\r');
    clean.remove(u'\n');
    return clean;
}

GameCommand buildGameCommand(const QString &gamePath, const JoinTarget &target)
{
    QString arguments = QStringLiteral(" +connect ") + target.address
        + QStringLiteral(" +password ") + target.password;
    if (target.playerName)
        arguments += QStringLiteral("+set name ") + cleanPlayerName(*target.playerName);
    return {gamePath, arguments, gameFolder(gamePath)};
}
