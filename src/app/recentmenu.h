// SPDX-License-Identifier: GPL-3.0-or-later
// The "Recent servers" menu: the servers the game was last started on.
#pragma once

#include "settings/recentservers.h"

#include <functional>

class AppSettings;
class QMenu;
class QWidget;

// "Harbor — 2 h ago", "Harbor — less than 1 min ago"
QString recentServerWords(const RecentServer &server, const QDateTime &now);

// Read from the store each time it opens, so that it holds what any running copy recorded; a
// click on an entry hands it to `join`.
QMenu *recentServersMenu(const AppSettings &settings,
                         std::function<void(const RecentServer &)> join, QWidget *parent);
