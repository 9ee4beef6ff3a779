#include "storedump.h"

#include <QJsonDocument>
#include <QProcess>

QJsonArray dumpStore(const QString &settingsPath)
{
    QProcess dump;
    dump.start(QStringLiteral(BRINEMOOR_STOREDUMP), {settingsPath});
    dump.waitForFinished(30000);
    return QJsonDocument::fromJson(dump.readAllStandardOutput()).array();
}
