// SPDX-License-Identifier: GPL-3.0-or-later
// The server browser without its window: the list of one game version, its status and its cache.
#pragma once

#include "friends/friendlist.h"
#include "query/bookmarkstatus.h"
#include "query/serversweep.h"
#include "servers/browserprogress.h"
#include "servers/lanscan.h"
#include "servers/masterquery.h"
#include "servers/servercache.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <optional>

class AppSettings;
class MasterClient;
class ServerFilter;
class ServerListModel;
struct FoundServer;

// How long the browser waits, the version of each game the player plays (the one shown when a
// game is chosen; unset: the one most servers run), where each game's last list is kept, and the
// game shown first.
struct ServerBrowserOptions
{
    MasterBounds masterBounds;
    SweepBounds sweepBounds;
    std::function<PlayedVersion(GameId)> played;
    QString cacheFolder = serverCacheFolder();
    GameId game = GameId::Cod;
    LanBounds lanBounds{};
};

// The game's masters (`masters`, `masters_cod2`, ...) give the list of one game version,
// ServerSweep fills in each server's status, ServerListModel holds the rows and ServerFilter picks
// and orders them for a view. The list of the version left is kept in the game's cache, and the one
// of the version chosen taken from it, so a browser opens on the last list at once. The friends
// list is read from the store and edited in it here; the rows mark the friends on each server.
// With the LAN switch on, every fetch also looks for servers on the player's own networks
// (LanScan), which are then asked as the masters' are; the switch is kept in the store.
class ServerBrowser final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ServerBrowser)

public:
    ServerBrowser(AppSettings &settings, ServerBrowserOptions options, QObject *parent = nullptr);
    ~ServerBrowser() override; // keeps the list in the cache

    ServerListModel &servers() { return *m_servers; }
    const ServerListModel &servers() const { return *m_servers; }
    ServerFilter &filter() { return *m_filter; }
    const FriendList &friends() const { return m_friends; }
    const AppSettings &settings() const { return m_settings; }

    // The game and version the rows belong to.
    PlayedVersion played() const { return m_played; }
    // The version of `game` the player plays, the one shown when that game is chosen.
    PlayedVersion playedOf(GameId game) const;
    // Keeps the list of the game and version left and shows the one of `played`, then asks for it.
    void choose(PlayedVersion played);
    // The rows shown keep their place and are asked again; the masters add what is new, or with
    // `refresh` even those asked a moment ago.
    void fetch(bool refresh);
    bool isWorking() const;
    bool scansLan() const { return m_scansLan; }
    // Turned on, looks on the LAN at once; off, stops looking. The rows found stay.
    void setLanScan(bool on);
    BrowserProgress progress() const;
    // The row of a listed server, by its "ip:port"; nullopt when it is not listed.
    std::optional<int> rowOf(const QString &address) const;

    // Takes the stored friends list again.
    void readFriends();
    // Adds a friend's name or pattern to the stored list, or takes it off.
    void editFriend(const QString &name, bool befriend);

signals:
    // Every 100 ms while masters or servers are asked, and once when all have ended.
    void progressChanged();
    void sweepEnded();
    void serverAnswered(const QString &address, const QString &name, const BookmarkStatus &status);
    void friendsRead(const QStringList &names);
    // Players were found to be friends or not: bold names may change.
    void friendsMatched();
    // The friends list was changed here; false when the store could not be written.
    void friendsEdited(bool stored);

private:
    void wire();
    void loadCache();
    void saveCache() const;
    void listed(const QList<ServerEndpoint> &servers);
    void masterEnded(const QString &master, const MasterOutcome &outcome);
    void replied(quint64 server);
    void scanLan();
    void foundOnLan(const ServerEndpoint &server);
    void tick();

    AppSettings &m_settings;
    const ServerBrowserOptions m_options;
    FriendList m_friends;
    ServerListModel *const m_servers;
    ServerFilter *const m_filter;
    MasterClient *const m_masters;
    ServerSweep *const m_sweep;
    LanScan *const m_lan;
    QTimer m_progressTimer;
    QStringList m_failures; // "master: no answer", in this fetch
    int m_mastersListed = 0;
    QDateTime m_listTakenAt; // when a master last listed the rows' servers
    PlayedVersion m_played;  // the game and version the rows belong to
    bool m_scansLan = false;
};
