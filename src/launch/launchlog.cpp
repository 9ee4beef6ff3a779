#include "launch/launchlog.h"

Q_LOGGING_CATEGORY(lcLaunch, "brinemoor.launch", QtInfoMsg)
