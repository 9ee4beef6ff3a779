// SPDX-License-Identifier: GPL-3.0-or-later
#include "friends/friendsettings.h"

#include "friends/friendlist.h"
#include "settings/appsettings.h"

#include <algorithm>

bool isListedFriend(const AppSettings &settings, const QString &name)
{
    const QStringList friends = settings.friends();
    const QString comparable = FriendList::comparable(name);
    return std::any_of(friends.cbegin(), friends.cend(), [&](const QString &entry) {
        return FriendList::comparable(entry) == comparable;
    });
}

bool addFriend(AppSettings &settings, const QString &name)
{
    return isListedFriend(settings, name) || settings.setFriends(settings.friends() << name);
}

bool removeFriend(AppSettings &settings, const QString &name)
{
    QStringList friends = settings.friends();
    const QString comparable = FriendList::comparable(name);
    const qsizetype removed = friends.removeIf(
        [&](const QString &entry) { return FriendList::comparable(entry) == comparable; });
    return removed == 0 || settings.setFriends(friends);
}
