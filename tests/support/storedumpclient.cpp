// SPDX-License-Identifier: GPL-3.0-or-later
#include "storedump.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTest>

QJsonArray dumpStore(const QString &settingsPath)
{
    QProcess dump;
    dump.start(QStringLiteral(BRINEMOOR_STOREDUMP), {settingsPath});
    if (!dump.waitForFinished(30000) || dump.exitStatus() != QProcess::NormalExit
        || dump.exitCode() != 0) {
        QTest::qFail("the store could not be read back from a second process", __FILE__, __LINE__);
    }
    return QJsonDocument::fromJson(dump.readAllStandardOutput()).array();
}
