// SPDX-License-Identifier: GPL-3.0-or-later
#include "clan/clanlog.h"

Q_LOGGING_CATEGORY(lcClan, "brinemoor.clan", QtInfoMsg)
