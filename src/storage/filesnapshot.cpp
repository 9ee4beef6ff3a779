// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/filesnapshot.h"

#include "platform/regularfile.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kSettleLook = 20ms;

FileStamp stampOf(const QString &path, std::chrono::milliseconds settle)
{
    const QFileInfo file(path);
    if (!file.exists())
        return {};
    const QDateTime modified = file.lastModified();
    return {file.size(), modified,
            modified.msecsTo(QDateTime::currentDateTime()) >= settle.count()};
}

// The stamp is taken after the bytes are read: a write that began before the reading leaves a time
// too late for a file written long before, so a part read halfway is never taken for an old file.
std::optional<FileSnapshot> readSnapshot(const QString &path, std::chrono::milliseconds settle,
                                         qsizetype wholeSize)
{
    QFile file(path);
    if (!QFileInfo::exists(path))
        return FileSnapshot{};
    if (!openRegularFile(file))
        return std::nullopt;
    FileSnapshot read;
    read.bytes = file.readAll();
    read.stamp = stampOf(path, settle);
    read.settled = (read.bytes.endsWith('\n') && read.bytes.size() >= wholeSize)
        || read.stamp.writtenLongBefore;
    return read;
}

} // namespace

bool cannotBeRead(const QString &path)
{
    const QFileInfo file(path);
    if (file.exists()) {
        QFile probe(path);
        return !openRegularFile(probe);
    }
    QFileInfo nearest(file.absolutePath());
    while (!nearest.exists() && !nearest.isRoot())
        nearest = QFileInfo(nearest.absolutePath());
    return !nearest.isDir() || !nearest.isExecutable();
}

QByteArray bytesFingerprint(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

SnapshotFile::SnapshotFile(QString path, std::chrono::milliseconds settle)
    : m_path(std::move(path)),
      m_settle(settle)
{ }

FileStamp SnapshotFile::stamp() const
{
    return stampOf(m_path, m_settle);
}

bool SnapshotFile::isStill(const FileStamp &stamp) const
{
    if (!stamp.writtenLongBefore)
        return false;
    const FileStamp now = this->stamp();
    return now.size == stamp.size && now.modified == stamp.modified;
}

std::optional<FileSnapshot> SnapshotFile::read()
{
    std::optional<FileSnapshot> read = readSnapshot(m_path, m_settle, m_wholeSize);
    if (read && read->settled)
        m_wholeSize = read->bytes.size();
    return read;
}

std::optional<QByteArray> SnapshotFile::settledBytes()
{
    const QDeadlineTimer deadline(m_settle);
    for (;;) {
        std::optional<FileSnapshot> read = this->read();
        if (!read)
            return std::nullopt;
        if (read->settled)
            return std::move(read->bytes);
        if (deadline.hasExpired())
            return std::nullopt;
        QThread::msleep(kSettleLook.count());
    }
}

std::future<FileSnapshot> SnapshotFile::readAhead(
    std::function<std::optional<PlainIni>(QByteArrayView)> parse) const
{
    return std::async(std::launch::async, [path = m_path, settle = m_settle, parse] {
        FileSnapshot ahead = readSnapshot(path, settle, 0).value_or(FileSnapshot{});
        ahead.ini = parse(ahead.bytes);
        ahead.fingerprint = bytesFingerprint(ahead.bytes);
        return ahead;
    });
}

QByteArray SnapshotFile::fingerprint() const
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QFile file(m_path);
    if (openRegularFile(file))
        hash.addData(&file);
    return hash.result();
}
