// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowharness.h"

#include "settings/appsettings.h"
#include "version.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

WindowHarness::WindowHarness(Store store)
    : StoreFixture(store)
{ }

WindowHarness::~WindowHarness()
{
    m_window.reset();
    m_store.reset();
}

QString WindowHarness::versionTitle()
{
    return titleForVersion(kVersionMajor, kVersionMinor, kVersionRevision);
}

QString WindowHarness::storeGamePath()
{
    const QString path = QDir(dirPath()).filePath(QStringLiteral("CoDMP.exe"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        QTest::qFail("the game executable could not be written", __FILE__, __LINE__);
    AppSettings(*reopenStore()).setGamePath(path);
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

void WindowHarness::getDetails(const QString &address)
{
    find<QLineEdit>("server_ip")->setText(address);
    find<QAction>("menu_update")->trigger();
}

bool WindowHarness::idle()
{
    return m_window->isEnabled() && !QGuiApplication::overrideCursor();
}

QPoint WindowHarness::bookmarkCentre(int row)
{
    return bookmarkList()->visualRect(bookmarkIndex(row)).center();
}

Brinemoor &WindowHarness::start(StartOptions options, Services *other)
{
    m_store = reopenStore();
    m_window = std::make_unique<Brinemoor>(other ? *other : services, *m_store, std::move(options));
    m_window->start();
    return *m_window;
}
