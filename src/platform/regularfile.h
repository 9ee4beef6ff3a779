// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a file the program reads of its own accord, which must never block it.
#pragma once

class QFile;

// Opens `file` (its name set) for reading when it is a regular file. A FIFO or a device at that
// path would hold the opening, or the first read, until someone else writes to it: it is refused
// at once, as a missing file is.
bool openRegularFile(QFile &file);
