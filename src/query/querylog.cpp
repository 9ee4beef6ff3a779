// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/querylog.h"

Q_LOGGING_CATEGORY(lcQuery, "brinemoor.query", QtInfoMsg)
