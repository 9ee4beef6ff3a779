// SPDX-License-Identifier: GPL-3.0-or-later
// One change to an INI file, made whole or not at all.
#pragma once

#include "storage/storetiming.h"

#include <QByteArray>

#include <functional>
#include <optional>

class QSettings;
class SnapshotFile;

// Edits the file with QSettings under QSettings' own lock, so that another running copy does not
// write at the same time. The change is made to the file as it is now, once any other writer has
// finished with it, not to what was read earlier: a store read half-written would lose what the
// writer added after. QSettings' rendering of the change is made on a scratch copy, since
// QSettings neither reports every failed write nor leaves the file as it was after one; it takes
// the file's place only once all of it is written, and what is there then is read back.
// The new file's bytes; nullopt when the change could not be made lasting (the file is not
// writable, the disk is full, a file size limit), which leaves the file as it was.
std::optional<QByteArray> changeIniFile(SnapshotFile &file, const StoreTiming &timing,
                                        const std::function<void(QSettings &)> &edit);
