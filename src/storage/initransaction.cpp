// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/initransaction.h"

#include "platform/regularfile.h"
#include "storage/filesnapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>

namespace {

// A write beyond the file size limit then fails as a full disk does, instead of ending the
// program. Only while the store writes: a game started later must not inherit the ignored signal.
class FileSizeLimitAsError final
{
public:
    FileSizeLimitAsError()
    {
#ifdef SIGXFSZ
        m_before = std::signal(SIGXFSZ, SIG_IGN);
#endif
    }
    ~FileSizeLimitAsError()
    {
#ifdef SIGXFSZ
        std::signal(SIGXFSZ, m_before);
#endif
    }
    Q_DISABLE_COPY_MOVE(FileSizeLimitAsError)

private:
    void (*m_before)(int) = SIG_DFL;
};

// Unbuffered: a buffered device writes its last part only as it closes, and the failure of that
// write goes unreported.
bool writeWhole(QFileDevice &file, const QByteArray &bytes)
{
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        && file.write(bytes) == bytes.size() && file.flush();
}

// Values are compared as text: the file keeps no types, so a one-name list comes back as text.
bool holdsTheSame(const QSettings &a, const QSettings &b)
{
    const QStringList keys = a.allKeys();
    return keys == b.allKeys() && std::all_of(keys.cbegin(), keys.cend(), [&](const QString &key) {
               return a.value(key).toStringList() == b.value(key).toStringList();
           });
}

// Where the copy is edited: in memory where there is such a folder, as QSettings makes its
// writes lasting (it syncs its lock file and the file to the disk), which takes time for nothing.
QString scratchFolder()
{
#ifdef Q_OS_LINUX
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    if (memory.isDir() && memory.isWritable())
        return memory.filePath() + QStringLiteral("/brinemoor-XXXXXX");
#endif
    return QDir::tempPath() + QStringLiteral("/brinemoor-XXXXXX");
}

// What QSettings wrote is read back under another name, which no QSettings has cached yet, and
// compared.
std::optional<QByteArray> editedCopy(const QByteArray &before,
                                     const std::function<void(QSettings &)> &edit)
{
    const QTemporaryDir scratch(scratchFolder());
    const QString path = scratch.filePath(QStringLiteral("edited.ini"));
    const QString written = scratch.filePath(QStringLiteral("written.ini"));
    QFile copy(path);
    if (!scratch.isValid() || !writeWhole(copy, before))
        return std::nullopt;
    copy.close();
    QSettings edited(path, QSettings::IniFormat);
    edit(edited);
    edited.sync();
    if (edited.status() == QSettings::AccessError || !QFile::rename(path, written))
        return std::nullopt;
    const QSettings reread(written, QSettings::IniFormat);
    QFile result(written);
    if (reread.status() != QSettings::NoError || !holdsTheSame(edited, reread)
        || !openRegularFile(result))
        return std::nullopt;
    return result.readAll();
}

bool replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!writeWhole(file, bytes) || !file.commit())
        return false;
    QFile written(path);
    return openRegularFile(written) && written.readAll() == bytes;
}

// QSettings waits for a lock file until it is 30 s old. A crash between creating the lock file and
// writing its owner into it leaves an empty one behind, which would hold every save that long. Only
// such an empty file is taken on here, once it is older than any live writer leaves it empty.
// QLockFile removes it only while no process holds it open under its lock, so a second copy that
// is writing just now keeps its lock.
void clearLeftoverLock(const QString &path, std::chrono::milliseconds age)
{
    const QFileInfo lock(path);
    if (!lock.exists() || lock.size() != 0)
        return;
    QLockFile leftover(path);
    leftover.setStaleLockTime(age);
    if (leftover.tryLock(2 * age))
        leftover.unlock();
}

} // namespace

std::optional<QByteArray> changeIniFile(SnapshotFile &file, const StoreTiming &timing,
                                        const std::function<void(QSettings &)> &edit)
{
    const FileSizeLimitAsError limitAsError;
    const QString &path = file.path();
    if (cannotBeRead(path) || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return std::nullopt;
    const QString lockPath = path + QStringLiteral(".lock");
    clearLeftoverLock(lockPath, timing.leftoverLockAge);
    QLockFile lock(lockPath);
    if (!lock.tryLock(timing.lockWait))
        return std::nullopt;
    const std::optional<QByteArray> before = file.settledBytes();
    std::optional<QByteArray> after = before ? editedCopy(*before, edit) : std::nullopt;
    if (!after || !replaceFile(path, *after))
        return std::nullopt;
    file.sawWhole(after->size());
    return after;
}
