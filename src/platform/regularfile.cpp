// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/regularfile.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <QFileInfo>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN

// No named pipe or device sits at a plain path there: a look before opening suffices.
bool openRegularFile(QFile &file)
{
    return QFileInfo(file.fileName()).isFile() && file.open(QIODevice::ReadOnly);
}

#else

// Opened without blocking, and then told by the opened file itself, so nothing can be swapped in
// between the look and the opening.
bool openRegularFile(QFile &file)
{
    const int handle = ::open(QFile::encodeName(file.fileName()).constData(),
                              O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        return false;
    struct stat status
    {
    };
    if (::fstat(handle, &status) != 0 || !S_ISREG(status.st_mode)
        || !file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        return false;
    }
    return true;
}

#endif
