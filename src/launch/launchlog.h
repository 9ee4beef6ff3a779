// SPDX-License-Identifier: GPL-3.0-or-later
// The logging category of game starts and slot waits ("brinemoor.launch", info and up by default).
#pragma once

#include <QLoggingCategory>
#include <QStringList>

Q_DECLARE_LOGGING_CATEGORY(lcLaunch)

// The game's arguments as the log shows them: whatever follows "+password" is "***". The password
// may hold blanks, and the in-game name follows it directly, so nothing after it is shown.
QStringList loggedArguments(const QStringList &arguments);
