// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/keyvaluestore.h"

#include "storage/inistore.h"
#include "storage/registrystore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

// A QSettings that could not read the file knows nothing of what it holds.
std::optional<QList<StoredSection>> KeyValueStore::sectionsIn(QSettings &settings,
                                                              StoreBackend backend)
{
    if (settings.status() == QSettings::AccessError)
        return std::nullopt;
    QList<StoredSection> sections;
    const QStringList groups = settings.childGroups();
    for (const QString &group : groups) {
        StoredSection &section = sections.emplace_back();
        section.name = unescapeSection(group, backend);
        settings.beginGroup(group);
        const QStringList keys = settings.childKeys();
        for (const QString &key : keys)
            section.values.append({key, settings.value(key).toString()});
        settings.endGroup();
    }
    return sections;
}

QByteArray KeyValueStore::sectionsFingerprint(const QList<StoredSection> &sections)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const StoredSection &section : sections) {
        hash.addData(section.name.toUtf8() + '\0');
        for (const auto &[key, value] : section.values)
            hash.addData(key.toUtf8() + '\0' + value.toUtf8() + '\0');
    }
    return hash.result();
}

std::unique_ptr<KeyValueStore> openIniStore(const QString &path, StoreTiming timing)
{
    return std::make_unique<IniStore>(path, timing);
}

std::unique_ptr<KeyValueStore> openRegistryStore(const QString &key)
{
    return std::make_unique<RegistryStore>(key);
}

std::unique_ptr<KeyValueStore> openUserStore(StoreTiming timing)
{
#ifdef Q_OS_WIN
    Q_UNUSED(timing)
    // The layout earlier installations wrote, so their bookmarks and game path read unchanged.
    return openRegistryStore(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Brinemoor"));
#else
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return openIniStore(QDir(folder).filePath(QStringLiteral("Brinemoor/Brinemoor.ini")), timing);
#endif
}
