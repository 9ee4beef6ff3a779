#include "clan/clanlog.h"

Q_LOGGING_CATEGORY(lcClan, "brinemoor.clan", QtInfoMsg)
