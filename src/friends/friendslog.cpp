#include "friends/friendslog.h"

Q_LOGGING_CATEGORY(lcFriends, "brinemoor.friends", QtInfoMsg)
