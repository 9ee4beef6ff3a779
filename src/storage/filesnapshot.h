// SPDX-License-Identifier: GPL-3.0-or-later
// The store's file as it is read: its bytes with the size and time they were read at, and whether
// they are a finished file or one that someone is writing just now.
#pragma once

#include "storage/plainini.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <chrono>
#include <functional>
#include <future>
#include <optional>

class QFile;

// A file's size and last write time. Only a file written well before it was read is told apart
// from every later version by that alone: two writes within the file system's time resolution
// leave the same time behind.
struct FileStamp
{
    qint64 size = -1; // -1: there is no such file
    QDateTime modified;
    bool writtenLongBefore = false;
};

struct FileSnapshot
{
    FileStamp stamp;
    QByteArray bytes;
    bool settled = true;
    // From the reading ahead, which parses and fingerprints on its own thread; else empty.
    std::optional<PlainIni> ini;
    QByteArray fingerprint;
};

// A file that is there but cannot be opened (or is no regular file), or a part of its path that
// is no folder, or one that cannot be entered: QSettings would read such a store as empty.
bool cannotBeRead(const QString &path);
QByteArray bytesFingerprint(QByteArrayView bytes);

// One file, read as a store reads it. Every complete store ends a line: QSettings ends each one.
// An editor that rewrites the file in place empties it and writes it anew, part by part; a part
// that happens to end a line is told from a finished file only by being shorter than the store
// was when last seen whole. So a file that is cut off mid-line, whatever its length, or one
// shorter than that, is taken as the store only once it has not changed for the settle bound.
class SnapshotFile final
{
public:
    SnapshotFile(QString path, std::chrono::milliseconds settle);

    const QString &path() const { return m_path; }
    FileStamp stamp() const;
    // Whether the file is still the one the stamp was taken of: any write since leaves a later
    // time behind, but only a stamp of a file written long before tells that.
    bool isStill(const FileStamp &stamp) const;

    // nullopt when the file is there but cannot be read; a missing file reads as an empty,
    // settled store.
    std::optional<FileSnapshot> read();
    // Waits, within the settle bound, for a file that someone is writing just now to be finished.
    std::optional<QByteArray> settledBytes();
    // The store was seen whole at this size: by a reading, or as this process wrote it.
    void sawWhole(qsizetype size) { m_wholeSize = size; }
    // The reading made on another thread, parsed there by `parse`, for the thread that asks to take
    // up once it needs it.
    std::future<FileSnapshot> readAhead(
        std::function<std::optional<PlainIni>(QByteArrayView)> parse) const;
    // A hash of the file's bytes as they are now.
    QByteArray fingerprint() const;

private:
    QString m_path;
    std::chrono::milliseconds m_settle;
    qsizetype m_wholeSize = 0;
};
