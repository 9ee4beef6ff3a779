// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user store: sections of text keys under the application "Brinemoor", in an INI file or
// in the Windows registry.
#pragma once

#include "storage/sectionnames.h"
#include "storage/storedsection.h"
#include "storage/storetiming.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;

// Reads, writes, deletes and lists sections. Section names go through sectionnames.h's escaping,
// so any text a user types comes back unchanged.
class KeyValueStore
{
public:
    KeyValueStore() = default;
    virtual ~KeyValueStore() = default;
    Q_DISABLE_COPY_MOVE(KeyValueStore)

    virtual StoreBackend backend() const = 0;
    // The settings file, or the registry key.
    virtual QString fileName() const = 0;
    // The settings file, or a folder on its path, is there but could not be read when the store
    // was opened (a file that is no regular file included). Writes fail then too, so the store
    // stays as the user has it.
    virtual bool isUnreadable() const = 0;

    virtual QString read(const QString &section, const QString &key) = 0;
    // A key that holds a list: "a, b" in an INI file, a multi-string in the registry. A plain
    // text is a list of one.
    virtual QStringList readList(const QString &section, const QString &key) = 0;
    // All three return false when the change could not be made lasting (the file is not
    // writable, the disk is full, a file size limit); the file is then left as it was, the store
    // reads as it did before the call, and the change is not written later either. A file that
    // another program is writing just now is waited for, for a moment, and changed once it is
    // finished.
    virtual bool write(const QString &section, const QString &key, const QString &value) = 0;
    virtual bool writeList(const QString &section, const QString &key,
                           const QStringList &values) = 0;
    virtual bool deleteSection(const QString &section) = 0;

    // Every section in the store's order, with all its values, named as the user typed them.
    // nullopt when the store cannot be read at all (a file that is not readable any more), or
    // not yet (a file that someone is writing just now).
    virtual std::optional<QList<StoredSection>> contents() = 0;
    // Begins the next contents() ahead, on another thread, where that helps: start-up builds its
    // window meanwhile.
    virtual void readAhead() { }
    // Keeps the values of this section from each reading of the whole store, to answer its keys
    // while the store stays the same, where reading one key would cost much more.
    virtual void keepAtHand(const QString &section) { Q_UNUSED(section) }

    // Whether the store may be read now: it is not being written just now by someone else.
    virtual bool isSettled() = 0;
    // Reads the store afresh, as another process or the user may have changed it; false when it
    // cannot be read now, which leaves what was read before.
    virtual bool reload() = 0;
    // Tells one state of the store from another, cheaply: a hash of the file's bytes, or of
    // everything the registry holds.
    virtual QByteArray fingerprint() = 0;
    // The fingerprint right after this store's own last change, so that a watch knows it.
    QByteArray writtenFingerprint() const { return m_written; }
    // The fingerprint of the store as the last contents() found it: what a list filled from it
    // shows. Empty before any.
    QByteArray listedFingerprint() const { return m_listed; }

    // Whether two names address one section: on Windows the store ignores letter case.
    bool isSameSection(const QString &a, const QString &b) const
    {
        return ::isSameSection(a, b, backend());
    }

protected:
    // What a QSettings holds; nullopt when it could not read the store.
    static std::optional<QList<StoredSection>> sectionsIn(QSettings &settings,
                                                          StoreBackend backend);
    static QByteArray sectionsFingerprint(const QList<StoredSection> &sections);

    QByteArray m_written;
    QByteArray m_listed;
};

std::unique_ptr<KeyValueStore> openIniStore(const QString &path, StoreTiming timing = {});
// A registry key given by its full path ("HKEY_CURRENT_USER\Software\..."); Windows only.
std::unique_ptr<KeyValueStore> openRegistryStore(const QString &key);
// The user's own store: the registry on Windows, an INI file in the configuration folder
// elsewhere.
std::unique_ptr<KeyValueStore> openUserStore(StoreTiming timing = {});
