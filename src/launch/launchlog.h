// The logging category of game starts and slot waits ("brinemoor.launch", info and up by default).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLaunch)
