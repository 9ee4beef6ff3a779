// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/friendactions.h"

#include "app/windowcontrols.h"
#include "friends/friendlist.h"
#include "friends/friendsettings.h"

#include <QAction>
#include <QWidget>

namespace {

constexpr char kAddToFriends[] = "Add to Friends";
constexpr char kRemoveFromFriends[] = "Remove from Friends";

} // namespace

FriendActions addFriendActions(QWidget &list)
{
    const FriendActions actions{
        named(new QAction(QString::fromLatin1(kAddToFriends), &list), "addFriend"),
        named(new QAction(QString::fromLatin1(kRemoveFromFriends), &list), "removeFriend")};
    list.addAction(actions.add);
    list.addAction(actions.remove);
    list.setContextMenuPolicy(Qt::ActionsContextMenu);
    return actions;
}

void offerFriendActions(const FriendActions &actions, const AppSettings &settings,
                        const QString &player)
{
    const bool listed = !player.isEmpty() && isListedFriend(settings, player);
    actions.add->setVisible(!player.isEmpty() && !listed);
    actions.remove->setVisible(listed);
}

QFont playerFont(QFont font, const FriendList &friends, const QString &player)
{
    font.setBold(friends.match(player) != FriendList::Match::None);
    return font;
}
