// SPDX-License-Identifier: GPL-3.0-or-later
#include "friends/friendsettings.h"

#include "bookmarks/settingsstore.h"
#include "friends/friendlist.h"

#include <algorithm>

namespace {

QString settingsSection()
{
    return QString::fromLatin1(kSettingsSection);
}

QString value(const SettingsStore &store, const char *key)
{
    return store.read(settingsSection(), QString::fromLatin1(key)).trimmed();
}

bool storeFriends(SettingsStore &store, const QStringList &friends)
{
    return store.writeList(settingsSection(), QString::fromLatin1(kFriendsKey), friends);
}

} // namespace

QStringList storedFriends(const SettingsStore &store)
{
    return store.readList(settingsSection(), QString::fromLatin1(kFriendsKey));
}

bool isListedFriend(const SettingsStore &store, const QString &name)
{
    const QStringList friends = storedFriends(store);
    const QString comparable = FriendList::comparable(name);
    return std::any_of(friends.cbegin(), friends.cend(), [&](const QString &entry) {
        return FriendList::comparable(entry) == comparable;
    });
}

bool addFriend(SettingsStore &store, const QString &name)
{
    return isListedFriend(store, name) || storeFriends(store, storedFriends(store) << name);
}

bool removeFriend(SettingsStore &store, const QString &name)
{
    QStringList friends = storedFriends(store);
    const QString comparable = FriendList::comparable(name);
    const qsizetype removed = friends.removeIf(
        [&](const QString &entry) { return FriendList::comparable(entry) == comparable; });
    return removed == 0 || storeFriends(store, friends);
}

bool notificationsWanted(const SettingsStore &store)
{
    static const QStringList off{"false", "0", "no", "off"};
    return !off.contains(value(store, kNotifyKey), Qt::CaseInsensitive);
}

std::optional<std::chrono::seconds> refreshPeriod(const SettingsStore &store)
{
    bool isNumber = false;
    const qlonglong seconds = value(store, kRefreshSecondsKey).toLongLong(&isNumber);
    if (!isNumber || seconds < 0)
        return kDefaultRefreshPeriod;
    if (seconds == 0)
        return std::nullopt;
    return std::clamp(std::chrono::seconds(seconds), kShortestRefreshPeriod, kLongestRefreshPeriod);
}
