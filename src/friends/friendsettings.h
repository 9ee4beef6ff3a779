// SPDX-License-Identifier: GPL-3.0-or-later
// Changes to the stored list of friends, entries compared as the matching compares names.
#pragma once

#include <QString>

class AppSettings;

// Whether the list has an entry that is the name (letter case and colour codes aside).
bool isListedFriend(const AppSettings &settings, const QString &name);
// Adds the name unless the list has it already (letter case and colour codes aside). False when
// the store could not be written.
bool addFriend(AppSettings &settings, const QString &name);
// Removes every entry that is the name (letter case and colour codes aside; a pattern that
// merely matches it stays). False when the store could not be written.
bool removeFriend(AppSettings &settings, const QString &name);
