// SPDX-License-Identifier: GPL-3.0-or-later
// Builds a Brinemoor window for a test: a settings file in a temporary folder, scripted dialogs, a
// scripted pinger and the real process starter.
#pragma once

#include "app/brinemoor.h"
#include "fakepinger.h"
#include "platform/processgamestarter.h"
#include "platform/services.h"
#include "recordingnotifier.h"
#include "scripteddialogs.h"
#include "storefixture.h"

#include <QListView>

#include <memory>

// The store fixture with a window on its store.
class WindowHarness : public StoreFixture
{
public:
    explicit WindowHarness(Store store = Store::IniFile);
    ~WindowHarness();
    Q_DISABLE_COPY_MOVE(WindowHarness)

    // The window's title for the version being built.
    static QString versionTitle();

    // Writes a game executable (an empty file named CoDMP.exe) and stores its path.
    QString storeGamePath();

    // The window on the harness's own doubles, or on `other` services a test made.
    Brinemoor &start(StartOptions options = {}, Services *other = nullptr);
    Brinemoor &window() { return *m_window; }
    // The window's own store: what is written through it is no change made by someone else.
    KeyValueStore &store() { return *m_store; }

    template<typename T>
    T *find(const char *name)
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }

    // The bookmark list, a view of the window's bookmark model.
    // Types the address and asks for its status, as [ Get Details ] does.
    void getDetails(const QString &address);
    // The window takes input again and the busy pointer is gone.
    bool idle();

    QListView *bookmarkList()
    {
        return m_window->findChild<QListView *>(QStringLiteral("servers_name"));
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
    std::unique_ptr<KeyValueStore> m_store;
    std::unique_ptr<Brinemoor> m_window;
};
