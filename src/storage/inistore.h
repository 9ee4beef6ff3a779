// SPDX-License-Identifier: GPL-3.0-or-later
// The store in an INI file.
#pragma once

#include "storage/filesnapshot.h"
#include "storage/keyvaluestore.h"

#include <QSettings>

#include <functional>
#include <future>
#include <memory>

// Read in one pass where the file is in the plain shape QSettings writes (QSettings' own parse of
// a large file takes far longer); values it does not write as plain text, single keys and what is
// not plain come from QSettings. Its QSettings is made when first needed, as making one reads and
// indexes the whole file: with many bookmarks that alone slowed start-up down. Every change goes
// through changeIniFile.
class IniStore final : public KeyValueStore
{
public:
    IniStore(const QString &path, StoreTiming timing);

    StoreBackend backend() const override { return StoreBackend::IniFile; }
    QString fileName() const override { return m_file.path(); }
    bool isUnreadable() const override { return m_unreadable; }
    QString read(const QString &section, const QString &key) override;
    QStringList readList(const QString &section, const QString &key) override;
    bool write(const QString &section, const QString &key, const QString &value) override;
    bool writeList(const QString &section, const QString &key, const QStringList &values) override;
    bool deleteSection(const QString &section) override;
    std::optional<QList<StoredSection>> contents() override;
    // The reading ahead, for the next contents() to take up if the file is still the same then.
    void readAhead() override;
    void keepAtHand(const QString &section) override { m_atHand = section; }
    bool isSettled() override;
    bool reload() override;
    QByteArray fingerprint() override { return m_file.fingerprint(); }

private:
    QSettings &settings();
    bool canOpenSettings();
    QVariant value(const QString &section, const QString &key);
    bool writeValue(const QString &section, const QString &key, const QVariant &value);
    bool change(const std::function<void(QSettings &)> &edit);
    std::optional<FileSnapshot> currentReading();
    std::optional<QList<StoredSection>> contentsInOnePass(FileSnapshot &read);
    static std::optional<PlainIni> namedIni(QByteArrayView bytes);
    const StoredSection *sectionAtHand(const QString &section);
    void keepSectionAtHand(const FileSnapshot &read);

    SnapshotFile m_file;
    const StoreTiming m_timing;
    std::unique_ptr<QSettings> m_settings;
    bool m_unreadable = false;
    QString m_atHand; // the section keepAtHand() named
    // That section as the last reading in one pass found it, and the file it was found in: while
    // the file is the same, its keys are read without QSettings, which would parse every other
    // section once more just for them.
    struct SectionAtHand
    {
        FileStamp stamp;
        qsizetype fileSize;
        size_t fileHash;
        StoredSection section;
    };
    std::optional<SectionAtHand> m_kept;
    std::future<FileSnapshot> m_readAhead;
};
