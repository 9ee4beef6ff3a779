#include "windowharness.h"

#include "version.h"

#include <QFile>
#include <QTest>

WindowHarness::WindowHarness()
{
    if (!m_dir.isValid())
        QTest::qFail("no temporary folder for the settings", __FILE__, __LINE__);
}

QString WindowHarness::versionTitle()
{
    return titleForVersion(kVersionMajor, kVersionMinor, kVersionRevision);
}

std::unique_ptr<SettingsStore> WindowHarness::reopenStore() const
{
    return std::make_unique<SettingsStore>(SettingsStore::openIniFile(settingsPath()));
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
