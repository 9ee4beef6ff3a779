#include "query/querylog.h"

Q_LOGGING_CATEGORY(lcQuery, "brinemoor.query", QtInfoMsg)
