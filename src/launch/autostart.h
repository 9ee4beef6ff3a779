// SPDX-License-Identifier: GPL-3.0-or-later
// "Start with the desktop": the entry that has the desktop start the program, hidden, at log-in.
#pragma once

#include <QStringList>

inline constexpr char kMinimizedOption[] = "--minimized";

// Takes --minimized out of the arguments, wherever it stands: true when it was there.
bool takeMinimizedOption(QStringList &arguments);

// Whether that entry is there: an XDG autostart entry (brinemoor.desktop in
// $XDG_CONFIG_HOME/autostart), on Windows a value of the user's Run key.
bool startsWithDesktop();
// Writes the entry, which starts `program` with --minimized, or removes it; false when that
// could not be done.
bool setStartWithDesktop(bool start, const QString &program);

// The XDG entry as written, and where it goes.
QByteArray autostartEntry(const QString &program);
QString autostartEntryPath();
