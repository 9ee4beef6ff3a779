// The main window's part in friends: the background refresh's answers to FriendAlerts, their
// marks on the rows and in the player list, the periodic refresh, and "Join" from a notification.
#include "app/brinemoor.h"

#include "app/friendactions.h"
#include "app/findservers.h"
#include "app/windowcontrols.h"
#include "bookmarks/bookmarkmodel.h"
#include "bookmarks/settingsstore.h"
#include "friends/friendalerts.h"
#include "friends/friendsettings.h"
#include "friends/periodicrefresh.h"
#include "platform/services.h"
#include "query/statuscaptions.h"
#include "query/statusrefresh.h"

#include <QAction>
#include <QListView>
#include <QListWidget>

namespace {

// A row's words with its friends after the status: "...; friends: NAME, NAME".
QString withFriends(const QString &words, const QStringList &friends)
{
    return withFriendsWords(words, friends);
}

} // namespace

void Brinemoor::buildFriends()
{
    m_friends = named(new FriendAlerts(m_services.notifier, this), "friendAlerts");
    m_periodicRefresh = named(new PeriodicRefresh(this), "periodicRefresh");
    m_friendActions = addFriendActions(*server_players);
    offerFriendActions();
}

void Brinemoor::wireFriends()
{
    connect(m_refresh, &StatusRefresh::addressStatus, this, &Brinemoor::bookmarkAnswered);
    connect(m_refresh, &StatusRefresh::finished, m_friends, &FriendAlerts::refreshEnded);
    connect(m_periodicRefresh, &PeriodicRefresh::due, this, &Brinemoor::refreshBookmarks);
    connect(m_friends, &FriendAlerts::joinRequested, this, &Brinemoor::joinFriendServer);
    connect(server_players, &QListWidget::currentItemChanged, this, &Brinemoor::offerFriendActions);
    connect(m_friendActions.add, &QAction::triggered, this, [this] { changeFriendship(true); });
    connect(m_friendActions.remove, &QAction::triggered, this, [this] { changeFriendship(false); });
}

void Brinemoor::readFriendSettings()
{
    m_friends->readSettings(m_store);
    m_periodicRefresh->setPeriod(refreshPeriod(m_store));
    markFriendPlayers();
    offerFriendActions();
    if (m_find)
        m_find->readFriends();
}

// The watch learns of the answer first, so the row's marks are the answer's own.
void Brinemoor::bookmarkAnswered(const QString &address, const BookmarkStatus &status)
{
    const int row = m_bookmarks->rowOf(address);
    if (row >= 0)
        m_friends->serverAnswered(address, m_bookmarks->bookmark(row).name, status);
    showBookmarkStatus(address, status);
}

// Only the rows change: their text and accessible name stay the bookmark's name.
void Brinemoor::showBookmarkStatus(const QString &address, const BookmarkStatus &status)
{
    const QStringList friends = m_friends->friendsOn(address);
    m_bookmarks->setStatus(address, QVariant::fromValue(status),
                           withFriends(statusWords(status, gameProtocol()), friends),
                           withFriends(statusToolTip(status, gameProtocol()), friends),
                           int(friends.size()));
}

// As a double click on the bookmark would: its click loads it, the join follows.
void Brinemoor::joinFriendServer(const QString &address)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    const int row = m_bookmarks->rowOf(address);
    if (row < 0)
        return;
    servers_name->selectionModel()->setCurrentIndex(m_bookmarks->index(row),
                                                    QItemSelectionModel::NoUpdate);
    bookmarkEnterPressed();
}

void Brinemoor::markFriendPlayers()
{
    const FriendList &friends = m_friends->friends();
    for (int row = 0; row < server_players->count(); ++row) {
        QListWidgetItem *player = server_players->item(row);
        player->setFont(playerFont(server_players->font(), friends, player->text()));
    }
}

// Only one of the two: the chosen player is on the list or not.
void Brinemoor::offerFriendActions()
{
    const QListWidgetItem *player = server_players->currentItem();
    ::offerFriendActions(m_friendActions, m_store, player ? player->text() : QString());
}

void Brinemoor::changeFriendship(bool befriend)
{
    const QListWidgetItem *player = server_players->currentItem();
    if (!player)
        return;
    friendsEdited(befriend ? addFriend(m_store, player->text())
                           : removeFriend(m_store, player->text()));
}

// From the player list or the browser: every list of friends shows the stored one.
void Brinemoor::friendsEdited(bool stored)
{
    readFriendSettings();
    if (!stored)
        showServerListNotSaved();
}
