// SPDX-License-Identifier: GPL-3.0-or-later
// The logging category of the clan page fetch ("brinemoor.clan": failures as warnings, the rest as
// info).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcClan)
