// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/friendslink.h"

#include "app/windowcontrols.h"
#include "bookmarks/bookmarkmodel.h"
#include "friends/friendalerts.h"
#include "friends/friendsettings.h"
#include "query/statuscaptions.h"
#include "query/statusrefresh.h"

#include <QAction>
#include <QListWidget>

FriendsLink::FriendsLink(Notifier &notifier, AppSettings &settings, BookmarkModel &bookmarks,
                         StatusRefresh &refresh, QListWidget &players,
                         std::function<int()> gameProtocol, QObject *parent)
    : QObject(parent),
      m_settings(settings),
      m_bookmarks(bookmarks),
      m_players(players),
      m_gameProtocol(std::move(gameProtocol)),
      m_alerts(named(new FriendAlerts(notifier, this), "friendAlerts")),
      m_actions(addFriendActions(players))
{
    offerActions();
    connect(&refresh, &StatusRefresh::addressStatus, this, &FriendsLink::bookmarkAnswered);
    connect(&refresh, &StatusRefresh::finished, m_alerts, &FriendAlerts::refreshEnded);
    connect(m_alerts, &FriendAlerts::friendsChanged, this, &FriendsLink::friendsFoundLater);
    connect(&players, &QListWidget::currentItemChanged, this, &FriendsLink::offerActions);
    connect(m_actions.add, &QAction::triggered, this, [this] { changeFriendship(true); });
    connect(m_actions.remove, &QAction::triggered, this, [this] { changeFriendship(false); });
}

void FriendsLink::readSettings()
{
    m_alerts->readSettings(m_settings);
    markPlayers();
    offerActions();
}

void FriendsLink::markPlayers()
{
    const FriendList &friends = m_alerts->friends();
    for (int row = 0; row < m_players.count(); ++row) {
        QListWidgetItem *player = m_players.item(row);
        player->setFont(playerFont(m_players.font(), friends, player->text()));
    }
}

void FriendsLink::showRows()
{
    for (int row = 0; row < m_bookmarks.rowCount(); ++row) {
        const QVariant status = m_bookmarks.index(row).data(BookmarkModel::StatusRole);
        if (status.isValid())
            showRow(m_bookmarks.bookmark(row).address, status.value<BookmarkStatus>());
    }
}

// The watch learns of the answer first, so the row's marks are the answer's own.
void FriendsLink::bookmarkAnswered(const QString &address, const BookmarkStatus &status)
{
    const int row = m_bookmarks.rowOf(address);
    if (row >= 0) {
        const Bookmark bookmark = m_bookmarks.bookmark(row);
        m_alerts->serverAnswered(address, bookmark.name, status);
        m_alerts->playersCounted(address, bookmark.name, bookmark.alert, status);
    }
    showRow(address, status);
}

// A long list of patterns matched some players after the answer: the rows and the player list
// are drawn again.
void FriendsLink::friendsFoundLater(const QString &address)
{
    const int row = m_bookmarks.rowOf(address);
    if (row >= 0)
        showRow(address,
                m_bookmarks.index(row).data(BookmarkModel::StatusRole).value<BookmarkStatus>());
    markPlayers();
}

// Only the rows change: their text and accessible name stay the bookmark's name.
void FriendsLink::showRow(const QString &address, const BookmarkStatus &status)
{
    const QStringList friends = m_alerts->friendsOn(address);
    const int protocol = m_gameProtocol();
    m_bookmarks.setStatus(address, QVariant::fromValue(status),
                          withFriendsWords(statusWords(status, protocol), friends),
                          withFriendsWords(statusToolTip(status, protocol), friends),
                          int(friends.size()));
}

// Only one of the two: the chosen player is on the list or not.
void FriendsLink::offerActions()
{
    const QListWidgetItem *player = m_players.currentItem();
    offerFriendActions(m_actions, m_settings, player ? player->text() : QString());
}

void FriendsLink::changeFriendship(bool befriend)
{
    const QListWidgetItem *player = m_players.currentItem();
    if (!player)
        return;
    emit edited(befriend ? addFriend(m_settings, player->text())
                         : removeFriend(m_settings, player->text()));
}
