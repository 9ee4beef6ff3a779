// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what a settings file (or a registry key) holds, as JSON, from a process of its own: the
// store's cache is shared inside one process, so a round trip through the file has to be read back
// from outside. Read by QSettings itself, not by the store's own reading in one pass, so that
// what the store lists can be held against it.
#include "storage/sectionnames.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const bool registry = path.startsWith(QLatin1String("HKEY_"));
    QSettings store(path, registry ? QSettings::NativeFormat : QSettings::IniFormat);
    const StoreBackend backend = registry ? StoreBackend::Registry : StoreBackend::IniFile;
    const QStringList groups = store.childGroups();
    QJsonArray sections;
    for (const QString &group : groups) {
        store.beginGroup(group);
        sections.append(QJsonObject{
            {QStringLiteral("name"), unescapeSection(group, backend)},
            {QStringLiteral("ip"), store.value(QStringLiteral("ip")).toString()},
            {QStringLiteral("password"), store.value(QStringLiteral("password")).toString()},
            {QStringLiteral("alert"), store.value(QStringLiteral("alert")).toString()},
            {QStringLiteral("codpath"), store.value(QStringLiteral("codpath")).toString()},
            {QStringLiteral("friends"),
             QJsonArray::fromStringList(store.value(QStringLiteral("friends")).toStringList())}});
        store.endGroup();
    }
    std::fputs(QJsonDocument(sections).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}
