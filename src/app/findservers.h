// SPDX-License-Identifier: GPL-3.0-or-later
// The server browser: every server the masters know, its status, a filter, and a way in.
#pragma once

#include "app/friendactions.h"
#include "query/games.h"

#include <QStringList>
#include <QWidget>

#include <optional>

class Dialogs;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableView;
class QTreeWidget;
class ServerBrowser;
struct FoundServer;

// A window of its own beside the main window, which stays usable: the view of a ServerBrowser,
// its filter's controls, the chosen server's players and the friends list. It only asks for what
// the main window does: a new bookmark, or a join.
class FindServers final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FindServers)

public:
    FindServers(Dialogs &dialogs, ServerBrowser &browser, QWidget *parent = nullptr);

    // Shows the window in front; the first time, with the cached list, and asks the masters.
    void open();
    // A listed server, as a double click on its row joins it ("Join" on a friend's notification).
    void joinListed(const QString &address);

signals:
    void addBookmarkRequested(const QString &name, const QString &address, GameId game);
    void joinRequested(const QString &name, const QString &address, const QString &password,
                       GameId game);
    // The player chose the version of the game shown.
    void playedVersionChosen(PlayedVersion played);
    // The window was closed: its place and size are worth keeping.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    QWidget *buildFriendsPane();
    void wireFriends();
    void showFriends(const QStringList &names);
    void offerPlayerActions();
    void wireEvents();
    void listVersions(PlayedVersion played);
    void gameChosen();
    void versionChosen();
    void showProgress();
    void applyFilter();
    void showPlayers();
    std::optional<int> selectedRow() const;
    void addSelectedToBookmarks();
    void joinSelected();
    void joinRow(int row);
    bool confirmVersion(const FoundServer &server);

    Dialogs &m_dialogs;
    ServerBrowser &m_browser;
    bool m_opened = false;

    QLineEdit *m_filterText = nullptr;
    QCheckBox *m_hideEmpty = nullptr;
    QCheckBox *m_hideFull = nullptr;
    QCheckBox *m_hideLocked = nullptr;
    QCheckBox *m_onlyMyVersion = nullptr;
    QCheckBox *m_friendsOnly = nullptr;
    QComboBox *m_game = nullptr;
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
    QCheckBox *m_lan = nullptr;
    QPushButton *m_refresh = nullptr;
    QPushButton *m_addBookmark = nullptr;
    QPushButton *m_join = nullptr;
};
