// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/storewatch.h"

#include "storage/keyvaluestore.h"

#include <QFileInfo>

namespace {

using namespace std::chrono_literals;

// One save touches the folder and the file several times within milliseconds.
constexpr std::chrono::milliseconds kSettle = 200ms;
constexpr std::chrono::milliseconds kRegistryPoll = 2s;

} // namespace

StoreWatch::StoreWatch(KeyValueStore &store, QObject *parent)
    : QObject(parent),
      m_store(store),
      m_fingerprint(store.listedFingerprint())
{
    connect(&m_recheck, &QTimer::timeout, this, &StoreWatch::check);
    if (m_store.backend() == StoreBackend::Registry) {
        m_recheck.start(kRegistryPoll);
        return;
    }
    m_recheck.setSingleShot(true);
    m_recheck.setInterval(kSettle);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_recheck, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_recheck,
            qOverload<>(&QTimer::start));
    watchPaths();
    // The watch follows from the store as it was listed: a change made since is looked at too.
    m_recheck.start();
}

// The folder, for a file put in place (QSettings replaces the file on every write, and makes the
// folder on the first one), and the file itself, for one written in place, which the folder never
// tells of. A replaced file's watch may go on following the old file while someone holds that
// open, so the file is watched anew at every look: whatever is at its path then.
void StoreWatch::watchPaths()
{
    const QString file = m_store.fileName();
    QFileInfo folder(QFileInfo(file).absolutePath());
    while (!folder.exists() && !folder.isRoot())
        folder = QFileInfo(folder.absolutePath());
    if (!m_watcher.directories().contains(folder.absoluteFilePath()))
        m_watcher.addPath(folder.absoluteFilePath());
    if (m_watcher.files().contains(file))
        m_watcher.removePath(file);
    // Only a file: a watch on a folder at its path would hold that folder on Windows.
    if (QFileInfo(file).isFile())
        m_watcher.addPath(file);
}

void StoreWatch::check()
{
    if (m_store.backend() == StoreBackend::IniFile)
        watchPaths();
    QByteArray fingerprint = m_store.fingerprint();
    // What this process wrote itself is no news.
    if (fingerprint == m_fingerprint || fingerprint == m_store.writtenFingerprint()) {
        m_fingerprint = std::move(fingerprint);
        return;
    }
    // A file that someone is writing just now is looked at again once it is finished: the list
    // never shows a store cut off halfway.
    if (!m_store.isSettled()) {
        m_recheck.start();
        return;
    }
    // A store that cannot be read just now is no change: the list stays as it was.
    if (!m_store.reload())
        return;
    m_fingerprint = std::move(fingerprint);
    emit changed();
}
