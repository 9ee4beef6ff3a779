// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's link to the server browser.
#pragma once

#include "app/startoptions.h"
#include "query/games.h"

#include <QObject>

#include <memory>
#include <optional>

class Dialogs;
class FindServers;
class FriendAlerts;
class BookmarkList;
class AppSettings;
class ServerBrowser;

// Makes the browser and its window on the first "[ Find ]", with the masters and the game version
// from the store, and passes on what it asks of the main window: a new bookmark, a join, a changed
// friends list. The game version it shows is also the one the bookmark rows are drawn against.
// The window's place and size are kept in the store when it closes, and when the program ends.
class BrowserLink final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BrowserLink)

public:
    // `gamePath` (Call of Duty's) is read when the game version is first needed, after start-up
    // has found it.
    // `bookmarks` is the list whose rows dim servers of other versions.
    BrowserLink(Dialogs &dialogs, AppSettings &settings, const StartOptions &options,
                const QString &gamePath, BookmarkList &bookmarks, FriendAlerts &alerts,
                QObject *parent);
    ~BrowserLink() override; // where the browser is a complete type

    // Shows the browser in front, made the first time.
    void open();
    // The game's `protocol` setting, else its program's own version, else the one most servers
    // run; once the browser chose one, that one.
    PlayedVersion played(GameId game);
    // The stored friends list changed: an open browser shows it.
    void readFriends();
    // Joins a server the open browser lists, as a double click on its row would.
    void joinListed(const QString &address);

signals:
    void addBookmarkRequested(const QString &name, const QString &address, GameId game);
    void joinRequested(const QString &name, const QString &address, const QString &password,
                       GameId game);
    // The browser changed the stored friends list; false when the store could not be written.
    void friendsEdited(bool stored);
    void playedVersionChanged();

private:
    void showPlayed(PlayedVersion played);
    void keepGeometry();

    Dialogs &m_dialogs;
    AppSettings &m_settings;
    const StartOptions &m_options;
    const QString &m_gamePath;
    BookmarkList &m_bookmarks;
    FriendAlerts &m_alerts;
    ServerBrowser *m_browser = nullptr;  // outlives the window, which shows its model
    std::unique_ptr<FindServers> m_find; // a window of its own: no parent
    PlayedProtocols m_played;
};
