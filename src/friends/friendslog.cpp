// SPDX-License-Identifier: GPL-3.0-or-later
#include "friends/friendslog.h"

Q_LOGGING_CATEGORY(lcFriends, "brinemoor.friends", QtInfoMsg)
