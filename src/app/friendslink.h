// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in friends.
#pragma once

#include "app/friendactions.h"
#include "query/games.h"

#include <QObject>

#include <functional>

class BookmarkModel;
class FriendAlerts;
class Notifier;
class QListWidget;
class AppSettings;
class StatusRefresh;
struct Bookmark;
struct BookmarkStatus;

// Feeds each answer of the background refresh to FriendAlerts before the bookmark rows show it,
// so a row's friends and words are that answer's; marks friends bold in the player list and offers
// "Add to Friends" / "Remove from Friends" for the chosen player.
class FriendsLink final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendsLink)

public:
    // `played` gives the version of each game that the rows' words are judged against.
    FriendsLink(Notifier &notifier, AppSettings &settings, BookmarkModel &bookmarks,
                StatusRefresh &refresh, QListWidget &players,
                std::function<PlayedVersion(GameId)> played, QObject *parent);

    FriendAlerts &alerts() const { return *m_alerts; }
    // Takes the friends list and `notify` from the store, and shows the list in the player list.
    void readSettings();
    // The player list was filled anew.
    void markPlayers();
    // Every row's words and marks anew, for another game version.
    void showRows();

signals:
    // The player list's menu changed the stored friends list; false when it could not be written.
    void edited(bool stored);

private:
    void bookmarkAnswered(const QString &address, const BookmarkStatus &status);
    void friendsFoundLater(const QString &address);
    void showRow(const QString &address, const BookmarkStatus &status);
    QString rowWords(const Bookmark &bookmark, const BookmarkStatus &status, int role) const;
    void offerActions();
    void changeFriendship(bool befriend);

    AppSettings &m_settings;
    BookmarkModel &m_bookmarks;
    QListWidget &m_players;
    const std::function<PlayedVersion(GameId)> m_played;
    FriendAlerts *const m_alerts;
    FriendActions m_actions; // the player list's context menu
};
