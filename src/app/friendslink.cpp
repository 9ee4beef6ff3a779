// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/friendslink.h"

#include "app/windowcontrols.h"
#include "bookmarks/bookmarkmodel.h"
#include "friends/friendalerts.h"
#include "friends/friendsettings.h"
#include "geo/country.h"
#include "query/statuscaptions.h"
#include "query/statusrefresh.h"
#include "query/statussocket.h"

#include <QAction>
#include <QListWidget>

namespace {

// Only an address written as IPv4 has a country: a host name is never looked up for it.
QString countryNameOf(const QString &address)
{
    const std::optional<StatusTarget> target = statusTarget(address);
    return target ? Country::of(target->host.toIPv4Address()).name() : QString();
}

} // namespace

FriendsLink::FriendsLink(Notifier &notifier, AppSettings &settings, BookmarkModel &bookmarks,
                         StatusRefresh &refresh, QListWidget &players,
                         std::function<PlayedVersion(GameId)> played, QObject *parent)
    : QObject(parent),
      m_settings(settings),
      m_bookmarks(bookmarks),
      m_players(players),
      m_played(std::move(played)),
      m_alerts(named(new FriendAlerts(notifier, this), "friendAlerts")),
      m_actions(addFriendActions(players))
{
    offerActions();
    m_bookmarks.setWords([this](const Bookmark &bookmark, const BookmarkStatus &status, int role) {
        return rowWords(bookmark, status, role);
    });
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
    m_bookmarks.wordsChanged();
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
        showRow(address, m_bookmarks.status(row));
    markPlayers();
}

// Only the rows change: their text and accessible name stay the bookmark's name.
void FriendsLink::showRow(const QString &address, const BookmarkStatus &status)
{
    m_bookmarks.setStatus(address, status, int(m_alerts->friendsOn(address).size()));
}

// A row's words as a view asks for them, with the server's country and the friends on it, and
// judged against the game version of the moment.
QString FriendsLink::rowWords(const Bookmark &bookmark, const BookmarkStatus &status,
                              int role) const
{
    const PlayedVersion played = m_played(bookmark.game);
    const QString place = countryNameOf(bookmark.address);
    const QString words = withFriendsWords(role == Qt::ToolTipRole
                                               ? statusToolTip(status, played, place)
                                               : statusWords(status, played, place),
                                           m_alerts->friendsOn(bookmark.address));
    // What the row's short name shows to the eye.
    if (bookmark.game == GameId::Cod)
        return words;
    return QLatin1String(gameOf(bookmark.game).name) + QStringLiteral(": ") + words;
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
