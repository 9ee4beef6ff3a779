// SPDX-License-Identifier: GPL-3.0-or-later
// The friends' keys in section "settings" of the store, and what their values mean.
#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

class SettingsStore;

inline constexpr char kFriendsKey[] = "friends";
inline constexpr char kNotifyKey[] = "notify";
inline constexpr char kRefreshSecondsKey[] = "refreshseconds";

inline constexpr std::chrono::seconds kDefaultRefreshPeriod{120};
inline constexpr std::chrono::seconds kShortestRefreshPeriod{30};
// Longer than any use, and short enough for a timer's milliseconds in an int.
inline constexpr std::chrono::seconds kLongestRefreshPeriod{86'400};

QStringList storedFriends(const SettingsStore &store);
// Whether the list has an entry that is the name (letter case and colour codes aside).
bool isListedFriend(const SettingsStore &store, const QString &name);
// Adds the name unless the list has it already (letter case and colour codes aside). False when
// the store could not be written.
bool addFriend(SettingsStore &store, const QString &name);
// Removes every entry that is the name (letter case and colour codes aside; a pattern that
// merely matches it stays). False when the store could not be written.
bool removeFriend(SettingsStore &store, const QString &name);

// `notify`: on unless it says "false", "0", "no" or "off".
bool notificationsWanted(const SettingsStore &store);
// `refreshseconds`: nullopt when it is 0 (no periodic refresh); the default when it is missing or
// no whole number of seconds; never shorter than kShortestRefreshPeriod.
std::optional<std::chrono::seconds> refreshPeriod(const SettingsStore &store);
