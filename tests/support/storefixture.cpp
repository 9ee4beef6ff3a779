// SPDX-License-Identifier: GPL-3.0-or-later
#include "storefixture.h"

#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QTest>
#include <QUuid>

namespace {

constexpr char kRegistryTests[] = "HKEY_CURRENT_USER\\Software\\Brinemoor tests";

} // namespace

StoreFixture::StoreFixture(Store store)
{
    if (!m_dir.isValid())
        QTest::qFail("no temporary folder for the settings", __FILE__, __LINE__);
    if (store == Store::Registry)
        m_registryKey = QLatin1String(kRegistryTests) + u'\\'
            + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

StoreFixture::~StoreFixture()
{
    if (!m_registryKey.isEmpty())
        QSettings(QLatin1String(kRegistryTests), QSettings::NativeFormat)
            .remove(m_registryKey.section(u'\\', -1));
}

QString StoreFixture::settingsPath() const
{
    return m_registryKey.isEmpty() ? m_dir.filePath(QStringLiteral("Brinemoor.ini"))
                                   : m_registryKey;
}

std::unique_ptr<KeyValueStore> StoreFixture::reopenStore() const
{
    return m_registryKey.isEmpty() ? openIniStore(settingsPath(), storeTiming)
                                   : openRegistryStore(m_registryKey);
}

void StoreFixture::writeInPlace(const QByteArray &bytes) const
{
    QFile file(settingsPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        QTest::qFail("the settings file could not be written in place", __FILE__, __LINE__);
}

void StoreFixture::replaceWhole(const QByteArray &bytes) const
{
    QSaveFile file(settingsPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        QTest::qFail("the settings file could not be replaced", __FILE__, __LINE__);
}

QByteArray StoreFixture::fileBytes() const
{
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(not readable)");
}
