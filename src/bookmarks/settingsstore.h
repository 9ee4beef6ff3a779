// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user settings store: sections of text keys under the application "Brinemoor".
#pragma once

#include "bookmarks/plainini.h"
#include "bookmarks/storedsection.h"

#include <QDateTime>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <future>
#include <memory>
#include <optional>

inline constexpr char kSettingsSection[] = "settings";
inline constexpr char kGamePathKey[] = "codpath";
inline constexpr char kAddressKey[] = "ip";
inline constexpr char kPasswordKey[] = "password";

// Reads, writes, deletes and lists sections. Section names go through an escaping that lets any
// text a user types come back unchanged; QSettings alone would nest names at "/" and "\" and fold
// every letter case of "general" into one section.
class SettingsStore final
{
public:
    // Where the sections are kept: an INI file, or the Windows registry, whose key names may hold
    // "/" but not "\".
    enum class Backend { IniFile, Registry };

    // Where a store lives. Its QSettings is made when first needed, as making one reads and
    // indexes the whole file: with many bookmarks that alone slowed start-up down.
    struct Location
    {
        std::function<std::unique_ptr<QSettings>()> open;
        QString iniFile; // empty for the registry
    };

    explicit SettingsStore(Location location);

    // The user's own store: the registry on Windows, an INI file in the configuration folder
    // elsewhere.
    static Location openUserSettings();
    static Location openIniFile(const QString &path);
    // A registry key given by its full path ("HKEY_CURRENT_USER\Software\..."); Windows only.
    static Location openRegistry(const QString &key);

    QString read(const QString &section, const QString &key) const;
    // A key that holds a list: "a, b" in an INI file, a multi-string in the registry. A plain
    // text is a list of one.
    QStringList readList(const QString &section, const QString &key) const;
    // Both return false when the change could not be made lasting (the file is not writable, the
    // disk is full, a file size limit); the file is then left as it was, the store reads as it did
    // before the call, and the change is not written later either. A file that another program
    // is writing just now is waited for, for a moment, and changed once it is finished.
    bool write(const QString &section, const QString &key, const QString &value);
    bool deleteSection(const QString &section);
    // Writes a list as readList reads it.
    bool writeList(const QString &section, const QString &key, const QStringList &values);

    // Appends the section names, as the user typed them, in the store's order to KeyNames; with
    // `recursive`, each section's own subsections follow it (their bare names).
    void enumkeys(bool recursive, QStringList &KeyNames);

    // Every section in the store's order, with all its values: what enumkeys and read give, in
    // one go. An INI file is read in one pass (QSettings' own parse of a large file takes far
    // longer); values it does not write as plain text still come from QSettings. nullopt when the
    // store cannot be read at all (a file that is not readable any more), or not yet (a file that
    // someone is writing just now).
    std::optional<QList<StoredSection>> contents() const;
    // Begins that reading of an INI file on another thread, for the next contents() to take up
    // if the file is still the same then: start-up builds its window meanwhile.
    void readAhead();

    QString fileName() const;
    Backend backend() const;
    // The settings file, or a folder on its path, is there but could not be read when the store
    // was opened. Writes fail then too (QSettings reads the file before it writes it), so the
    // store stays as the user has it.
    bool isUnreadable() const { return m_unreadable; }

    // Whether the file may be read now: it is not being written just now by someone else (it ends
    // a line and is no shorter than when last seen whole, or has not changed for a while).
    bool isSettled() const;

    // Reads the store afresh, as another process or the user may have changed it; false when it
    // cannot be read now, which leaves what was read before.
    bool reload();
    // Tells one state of the store from another, cheaply: a hash of the file's bytes, or of
    // everything the registry holds.
    QByteArray fingerprint() const;
    // The fingerprint right after this store's own last change, so that a watch knows it.
    QByteArray writtenFingerprint() const { return m_written; }
    // The fingerprint of the store as the last contents() found it: what a list filled from it
    // shows. Empty before any.
    QByteArray listedFingerprint() const { return m_listed; }

    // Whether two names address one section: on Windows the registry ignores letter case.
    bool isSameSection(const QString &a, const QString &b) const;

    // A section name as the user typed it, and as QSettings is given it, both ways.
    static QString escapeSection(const QString &name, Backend backend);
    static QString unescapeSection(const QString &stored, Backend backend);

private:
    // A file's size and last write time, taken before its bytes are read. Only a file written
    // well before it was read is told apart from every later version by that alone: two writes
    // within the file system's time resolution leave the same time behind.
    struct FileStamp
    {
        qint64 size = -1;
        QDateTime modified;
        bool writtenLongBefore = false;
    };
    // The file's bytes; from the reading ahead, also parsed and fingerprinted.
    struct FileReading
    {
        QByteArray bytes;
        bool settled = true;
        FileStamp stamp;
        std::optional<PlainIni> ini;
        QByteArray fingerprint;
    };

    QSettings &settings() const;
    bool canOpenSettings() const;
    void clearLeftoverLock() const;
    bool writeValue(const QString &section, const QString &key, const QVariant &value);
    bool change(const QString &group, const std::function<void(QSettings &)> &edit);
    bool changeFile(const std::function<void(QSettings &)> &edit);
    std::optional<FileReading> readSettled() const;
    std::optional<FileReading> currentReading() const;
    static FileStamp stampOf(const QString &path);
    bool isStillFile(const FileStamp &stamp) const;
    std::optional<QByteArray> settledBytes() const;
    QVariantMap groupValues(const QString &group) const;
    void restoreGroup(const QString &group, const QVariantMap &values);
    QString stored(const QString &section) const;
    void enumerateGroup(bool recursive, QStringList &KeyNames);
    std::optional<QList<StoredSection>> contentsInOnePass(FileReading &read) const;
    static std::optional<PlainIni> namedIni(QByteArrayView bytes);
    std::optional<QList<StoredSection>> contentsThroughQSettings() const;
    const StoredSection *rememberedSection(const QString &section) const;
    void rememberSettings(const FileReading &read) const;

    const Location m_location;
    mutable std::unique_ptr<QSettings> m_settings;
    bool m_unreadable = false;
    QByteArray m_written;
    mutable QByteArray m_listed;
    mutable qsizetype m_settledSize = 0; // of the file when last seen whole
    // Section "settings" as the last reading in one pass found it, and the file it was found in:
    // while the file is the same, its keys are read without QSettings, which would parse every
    // bookmark once more just for them.
    struct RememberedSettings
    {
        FileStamp stamp;
        qsizetype fileSize;
        size_t fileHash;
        StoredSection section;
    };
    mutable std::optional<RememberedSettings> m_remembered;
    mutable std::future<FileReading> m_readAhead;
};
