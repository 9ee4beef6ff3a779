#include "launch/gamepath.h"

#include <QDir>

bool isAcceptedGamePath(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    const QString fileName = native.mid(native.lastIndexOf(QDir::separator()) + 1);
    return !path.isEmpty()
        && fileName.compare(QStringLiteral("codmp.exe"), Qt::CaseInsensitive) == 0;
}
