// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/friendactions.h"

#include "app/windowcontrols.h"
#include "friends/friendlist.h"
#include "friends/friendsettings.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

namespace {

constexpr char kAddToFriends[] = QT_TRANSLATE_NOOP("FriendActions", "Add to Friends");
constexpr char kRemoveFromFriends[] = QT_TRANSLATE_NOOP("FriendActions", "Remove from Friends");

QString caption(const char *text)
{
    return QCoreApplication::translate("FriendActions", text);
}

} // namespace

FriendActions addFriendActions(QWidget &list)
{
    const FriendActions actions{
        named(new QAction(caption(kAddToFriends), &list), "addFriend"),
        named(new QAction(caption(kRemoveFromFriends), &list), "removeFriend")};
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
