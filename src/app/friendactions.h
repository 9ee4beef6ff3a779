// SPDX-License-Identifier: GPL-3.0-or-later
// What a player list offers for friends, in the main window and in the browser's player pane.
#pragma once

#include <QFont>

class FriendList;
class QAction;
class QString;
class QWidget;
class AppSettings;

// "Add to Friends" / "Remove from Friends", the list's context menu.
struct FriendActions
{
    QAction *add = nullptr;
    QAction *remove = nullptr;
};

FriendActions addFriendActions(QWidget &list);
// Only one of the two: the player (empty: none chosen) is on the list or not.
void offerFriendActions(const FriendActions &actions, const AppSettings &settings,
                        const QString &player);
// A friend's name is bold.
QFont playerFont(QFont font, const FriendList &friends, const QString &player);
