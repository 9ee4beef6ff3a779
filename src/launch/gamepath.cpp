// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/gamepath.h"

#include "platform/dialogs.h"

#include <QDir>
#include <QFileInfo>

bool isAcceptedGamePath(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    const QString fileName = native.mid(native.lastIndexOf(QDir::separator()) + 1);
    return !path.isEmpty()
        && fileName.compare(QStringLiteral("codmp.exe"), Qt::CaseInsensitive) == 0;
}

std::optional<QString> askGamePath(Dialogs &dialogs, const FileDialogPreset &preset)
{
    for (;;) {
        const FileChoice choice = dialogs.openFile(preset);
        if (choice.outcome != FileChoice::Outcome::Chosen)
            return std::nullopt;
        const QString path = QDir::toNativeSeparators(choice.path);
        if (isAcceptedGamePath(path) && QFileInfo(path).isFile())
            return path;
    }
}
