// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/gamepath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

bool isAcceptedGamePath(const QString &path, const Game &game)
{
    const QString native = QDir::toNativeSeparators(path);
    const QString fileName = native.mid(native.lastIndexOf(QDir::separator()) + 1);
    return !path.isEmpty()
        && fileName.compare(QLatin1String(game.program), Qt::CaseInsensitive) == 0;
}

FileDialogPreset gamePathPreset(const Game &game)
{
    const QString program = QString::fromLatin1(game.program);
    return {QCoreApplication::translate("GamePath", "Select %1").arg(program), program,
            QStringLiteral("*.exe"), QStringLiteral("exe")};
}

std::optional<QString> askGamePath(Dialogs &dialogs, const Game &game)
{
    const FileDialogPreset preset = gamePathPreset(game);
    for (;;) {
        const FileChoice choice = dialogs.openFile(preset);
        if (choice.outcome != FileChoice::Outcome::Chosen)
            return std::nullopt;
        const QString path = QDir::toNativeSeparators(choice.path);
        if (isAcceptedGamePath(path, game) && QFileInfo(path).isFile())
            return path;
    }
}
