// SPDX-License-Identifier: GPL-3.0-or-later
// The server browser: every server the masters know, its status, a filter, and a way in.
#pragma once

#include "app/friendactions.h"
#include "friends/friendlist.h"
#include "query/serversweep.h"
#include "servers/masterquery.h"

#include <QDateTime>
#include <QStringList>
#include <QWidget>

class Dialogs;
class MasterClient;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QTableView;
class QTimer;
class QTreeWidget;
class ServerFilter;
class ServerListModel;
class AppSettings;
struct BookmarkStatus;
struct FoundServer;

// What the browser is given: where to ask and how long to wait, and where it keeps its files.
struct FindServersOptions
{
    QStringList masters; // "host" or "host:port"
    int gameProtocol = 1;
    MasterBounds masterBounds;
    SweepBounds sweepBounds;
    QString cachePath;    // the last list
    QString geometryPath; // the window's place and size
};

// A window of its own beside the main window, which stays usable. The masters give the list of
// one game version (the "Game version" drop-down), ServerSweep fills in each server's status,
// ServerListModel holds the rows and ServerFilter picks and orders them. The window only asks
// for what the main window does: a new bookmark, or a join. It edits the friends list in the
// store itself and tells the main window, whose alerts also hear each server's answer.
class FindServers final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FindServers)

public:
    FindServers(Dialogs &dialogs, AppSettings &store, FindServersOptions options,
                QWidget *parent = nullptr);
    ~FindServers() override;

    // Shows the window in front; the first time, with the cached list, and asks the masters.
    void open();
    int gameProtocol() const;
    // Takes the stored friends list: the "Friends" list, the bold names, "Friends only".
    void readFriends();
    // A listed server, as a double click on its row joins it ("Join" on a friend's notification).
    void joinListed(const QString &address);

signals:
    void addBookmarkRequested(const QString &name, const QString &address);
    void joinRequested(const QString &name, const QString &address, const QString &password);
    void gameProtocolChanged(int protocol);
    // The friends list was changed here; false when the store could not be written.
    void friendsEdited(bool stored);
    void serverAnswered(const QString &address, const QString &name, const BookmarkStatus &status);
    void sweepEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    QWidget *buildFriendsPane();
    void wireFriends();
    void editFriend(const QString &name, bool befriend);
    void offerPlayerActions();
    void replied(quint64 server);
    void wireEvents();
    void restoreGeometry();
    void loadCache();
    void saveCache() const;
    void saveGeometryAndList() const;
    void fetch(bool refresh);
    void versionChosen();
    void listed(const QList<struct ServerAddress> &servers);
    void mastersFinished(bool asked);
    void masterEnded(const QString &master, const MasterOutcome &outcome);
    void showProgress();
    void applyFilter();
    void showPlayers();
    std::optional<int> selectedRow() const;
    void addSelectedToBookmarks();
    void joinSelected();
    void joinRow(int row);
    bool confirmVersion(const FoundServer &server);

    Dialogs &m_dialogs;
    AppSettings &m_store;
    FriendList m_friends;
    const FindServersOptions m_options;
    ServerListModel *const m_servers;
    ServerFilter *const m_filter;
    MasterClient *const m_masters;
    ServerSweep *const m_sweep;
    QTimer *const m_progressTimer;
    QStringList m_failures; // "master: no answer", in this fetch
    int m_mastersListed = 0;
    QDateTime m_listTakenAt; // when a master last listed the rows' servers
    int m_listProtocol = 0;  // the game version the rows belong to
    bool m_opened = false;

    QLineEdit *m_filterText = nullptr;
    QCheckBox *m_hideEmpty = nullptr;
    QCheckBox *m_hideFull = nullptr;
    QCheckBox *m_hideLocked = nullptr;
    QCheckBox *m_onlyMyVersion = nullptr;
    QCheckBox *m_friendsOnly = nullptr;
    QComboBox *m_version = nullptr;
    QTableView *m_table = nullptr;
    QTreeWidget *m_players = nullptr;
    FriendActions m_playerActions;
    QListWidget *m_friendList = nullptr;
    QLineEdit *m_friendName = nullptr;
    QPushButton *m_addFriend = nullptr;
    QPushButton *m_removeFriend = nullptr;
    QLabel *m_progress = nullptr;
    QProgressBar *m_progressBar = nullptr;
    QPushButton *m_refresh = nullptr;
    QPushButton *m_addBookmark = nullptr;
    QPushButton *m_join = nullptr;
};
