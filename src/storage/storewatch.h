// SPDX-License-Identifier: GPL-3.0-or-later
// Notices changes that others make to the settings store: another running copy, or the user with
// an editor.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QByteArray>
#include <QTimer>

class KeyValueStore;

// Looks at the store whenever its file or folder changes (or, for the registry, which cannot be
// watched, every few seconds) and tells when it holds something else than when it last looked,
// unless the store itself wrote that. It first looks shortly after it begins, against the store as
// its last reading for a list found it.
class StoreWatch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StoreWatch)

public:
    explicit StoreWatch(KeyValueStore &store, QObject *parent = nullptr);

signals:
    void changed();

private:
    void watchPaths();
    void check();

    KeyValueStore &m_store;
    QFileSystemWatcher m_watcher;
    QTimer m_recheck; // settles after the file's changes, or polls the registry
    QByteArray m_fingerprint;
};
