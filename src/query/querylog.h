// SPDX-License-Identifier: GPL-3.0-or-later
// The logging category of the status query ("brinemoor.query", debug output off by default).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcQuery)
