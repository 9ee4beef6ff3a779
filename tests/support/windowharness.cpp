// SPDX-License-Identifier: GPL-3.0-or-later
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

QStringList WindowHarness::bookmarkRows(int role)
{
    QStringList texts;
    const QAbstractItemModel *model = bookmarkList()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        texts.append(model->index(row, 0).data(role).toString());
    return texts;
}

QModelIndex WindowHarness::bookmarkIndex(int row)
{
    return bookmarkList()->model()->index(row, 0);
}

void WindowHarness::selectBookmark(int row)
{
    QItemSelectionModel *selection = bookmarkList()->selectionModel();
    if (row < 0)
        selection->clear();
    else
        selection->setCurrentIndex(bookmarkIndex(row), QItemSelectionModel::ClearAndSelect);
}

QString WindowHarness::selectedBookmark()
{
    const QModelIndexList selected = bookmarkList()->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.constFirst().data().toString();
}

QPoint WindowHarness::bookmarkCentre(int row)
{
    return bookmarkList()->visualRect(bookmarkIndex(row)).center();
}

Brinemoor &WindowHarness::start(StartOptions options)
{
    m_store = reopenStore();
    m_window = std::make_unique<Brinemoor>(services, *m_store, std::move(options));
    m_window->start();
    return *m_window;
}
