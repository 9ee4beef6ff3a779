// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what a settings file (or a registry key) holds, as JSON, from a process of its own: the
// store's cache is shared inside one process, so a round trip through the file has to be read back
// from outside.
#include "bookmarks/settingsstore.h"
#include "friends/friendsettings.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    SettingsStore store(path.startsWith(QLatin1String("HKEY_")) ? SettingsStore::openRegistry(path)
                                                                : SettingsStore::openIniFile(path));
    QStringList names;
    store.enumkeys(false, names);
    QJsonArray sections;
    for (const QString &name : std::as_const(names)) {
        sections.append(QJsonObject{
            {QStringLiteral("name"), name},
            {QStringLiteral("ip"), store.read(name, QString::fromLatin1(kAddressKey))},
            {QStringLiteral("password"), store.read(name, QString::fromLatin1(kPasswordKey))},
            {QStringLiteral("codpath"), store.read(name, QString::fromLatin1(kGamePathKey))},
            {QStringLiteral("friends"),
             QJsonArray::fromStringList(store.readList(name, QString::fromLatin1(kFriendsKey)))}});
    }
    std::fputs(QJsonDocument(sections).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}
