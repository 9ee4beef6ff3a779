#include "windowharness.h"

#include "version.h"

#include <QFile>
#include <QSettings>
#include <QTest>
#include <QUuid>

namespace {

constexpr char kRegistryTests[] = "HKEY_CURRENT_USER\\Software\\Brinemoor tests";

} // namespace

WindowHarness::WindowHarness(Store store)
{
    if (!m_dir.isValid())
        QTest::qFail("no temporary folder for the settings", __FILE__, __LINE__);
    if (store == Store::Registry)
        m_registryKey = QLatin1String(kRegistryTests) + u'\\'
            + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

WindowHarness::~WindowHarness()
{
    m_window.reset();
    m_store.reset();
    if (!m_registryKey.isEmpty())
        QSettings(QLatin1String(kRegistryTests), QSettings::NativeFormat)
            .remove(m_registryKey.section(u'\\', -1));
}

QString WindowHarness::settingsPath() const
{
    return m_registryKey.isEmpty() ? m_dir.filePath(QStringLiteral("Brinemoor.ini"))
                                   : m_registryKey;
}

QString WindowHarness::versionTitle()
{
    return titleForVersion(kVersionMajor, kVersionMinor, kVersionRevision);
}

std::unique_ptr<SettingsStore> WindowHarness::reopenStore() const
{
    return std::make_unique<SettingsStore>(m_registryKey.isEmpty()
                                               ? SettingsStore::openIniFile(settingsPath())
                                               : SettingsStore::openRegistry(m_registryKey));
}

QString WindowHarness::storeGamePath()
{
    const QString path = m_dir.filePath(QStringLiteral("CoDMP.exe"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        QTest::qFail("the game executable could not be written", __FILE__, __LINE__);
    reopenStore()->write(QString::fromLatin1(kSettingsSection), QString::fromLatin1(kGamePathKey),
                         path);
    return path;
}

Brinemoor &WindowHarness::start(StartOptions options)
{
    m_store = reopenStore();
    m_window = std::make_unique<Brinemoor>(services, *m_store, std::move(options));
    return *m_window;
}
