// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a Brinemoor window for a test: a settings file in a temporary folder, scripted dialogs, a
// scripted pinger and the real process starter.
#pragma once

#include "app/brinemoor.h"
#include "bookmarks/settingsstore.h"
#include "fakepinger.h"
#include "platform/processgamestarter.h"
#include "platform/services.h"
#include "recordingnotifier.h"
#include "scripteddialogs.h"

#include <QListView>
#include <QTemporaryDir>

#include <memory>

class WindowHarness
{
public:
    // Where the harness keeps its store: a settings file in its temporary folder, or (on Windows
    // only) a registry key of its own under HKEY_CURRENT_USER, removed with the harness.
    enum class Store { IniFile, Registry };

    explicit WindowHarness(Store store = Store::IniFile);
    ~WindowHarness();
    Q_DISABLE_COPY_MOVE(WindowHarness)

    // The window's title for the version being built.
    static QString versionTitle();

    // The settings file of this harness (or its registry key); write it before start() to
    // prepare a store.
    QString settingsPath() const;
    QString dirPath() const { return m_dir.path(); }
    // A fresh store on the settings file, for checking what is on disk.
    std::unique_ptr<SettingsStore> reopenStore() const;
    // Writes a game executable (an empty file named CoDMP.exe) and stores its path.
    QString storeGamePath();

    Brinemoor &start(StartOptions options = {});
    Brinemoor &window() { return *m_window; }
    // The window's own store: what is written through it is no change made by someone else.
    SettingsStore &store() { return *m_store; }

    template<typename T>
    T *find(const char *name)
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }

    // The bookmark helpers below look at a window a test built itself.
    void useWindow(Brinemoor &window) { m_other = &window; }
    // The bookmark list, a view of the window's bookmark model.
    QListView *bookmarkList()
    {
        QWidget *window = m_window ? m_window.get() : m_other;
        return window->findChild<QListView *>(QStringLiteral("servers_name"));
    }
    // One role of every row (the names by default), in row order.
    QStringList bookmarkRows(int role = Qt::DisplayRole);
    QModelIndex bookmarkIndex(int row);
    // Selects the row as a click does (-1: none), which runs the window's click handler.
    void selectBookmark(int row);
    int currentBookmark() { return bookmarkList()->currentIndex().row(); }
    QString selectedBookmark();
    QPoint bookmarkCentre(int row);

    ScriptedDialogs dialogs;
    FakePinger pinger;
    ProcessGameStarter gameStarter;
    RecordingNotifier notifier;
    Services services{dialogs, gameStarter, pinger, notifier};

private:
    QTemporaryDir m_dir;
    QString m_registryKey; // empty: the settings file
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<Brinemoor> m_window;
    Brinemoor *m_other = nullptr;
};
