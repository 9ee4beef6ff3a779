// Builds a Brinemoor window for a test: a settings file in a temporary folder, scripted dialogs, a
// scripted pinger and the real process starter.
#pragma once

#include "app/brinemoor.h"
#include "bookmarks/settingsstore.h"
#include "fakepinger.h"
#include "platform/processgamestarter.h"
#include "platform/services.h"
#include "scripteddialogs.h"

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

    template<typename T>
    T *find(const char *name)
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }

    ScriptedDialogs dialogs;
    FakePinger pinger;
    ProcessGameStarter gameStarter;
    Services services{dialogs, gameStarter, pinger};

private:
    QTemporaryDir m_dir;
    QString m_registryKey; // empty: the settings file
    std::unique_ptr<SettingsStore> m_store;
    std::unique_ptr<Brinemoor> m_window;
};
