// SPDX-License-Identifier: GPL-3.0-or-later
// The logging category of the friends' notifications ("brinemoor.friends", on by default).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcFriends)
