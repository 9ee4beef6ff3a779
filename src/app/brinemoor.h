// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: every control of the launcher, its handlers and its window-level state.
//
// How the parts meet: the window owns the controls, the status exchange `cod_query` (socket, echo
// and time-out, from query/) and the nine window-level variables (WindowState). Beside it: the
// bookmark list (BookmarkList), the shown status (StatusDisplay), the background refresh of every
// bookmark's status (ListRefresh), friends (FriendsLink), the server browser (BrowserLink) and,
// while the desktop has a tray, its icon there (TrayIcon).
// Its handlers stay short: address rules come from address/, the store and its watch from storage/,
// the program's settings from settings/, the bookmarks in the store and Save's decision from
// bookmarks/, the status exchange and reply from query/, the game
// command line, its process, the verdicts on a status, the join and the wait for a free slot from
// launch/. The refresh touches nothing but the list's rows. Whatever is modal or belongs
// to the operating system (message boxes, the file dialog, the ICMP echo, starting the game and
// watching its first seconds) goes through the Services handed in, so tests script it. Everything
// runs on the one GUI thread.
#pragma once

#include "address/addressrules.h"
#include "app/busypointer.h"
#include "app/startoptions.h"
#include "bookmarks/bookmarkstore.h"
#include "clan/clannicknames.h"
#include "launch/joinflow.h"
#include "platform/dialogs.h"
#include "query/statusexchange.h"
#include "settings/appsettings.h"

#include <QMainWindow>
#include <QString>

#include <chrono>
#include <optional>

class QAction;
class QCloseEvent;
class QTimer;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QModelIndex;
class QNetworkAccessManager;
class QShortcut;
class BookmarkList;
class BookmarkModel;
class BrowserLink;
class Brinemoor_Help;
class FocusKeeper;
class FriendsLink;
class ListRefresh;
class KeyValueStore;
class StatusDisplay;
class TrayIcon;
struct Services;

// The window-level variables, under the names the rest of the program knows them by. The address
// filter's three (ColonUsed, DotCount, CountNumbers) come from AddressFilter.
struct WindowState : AddressFilter
{
    QString GamePath;
    QString result;
    bool ServerReady = false;
    QString PingResponse;
    std::optional<QString> sv_maxclients; // nullopt: the number 0 that a query start leaves
    QString sv_hostname;
};

class Brinemoor final : public QMainWindow, private JoinSite
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Brinemoor)

public:
    // Builds the controls; nothing else happens until start().
    Brinemoor(Services &services, KeyValueStore &store, StartOptions options,
              QWidget *parent = nullptr);

    // Start-up: the title, the game path (which may show the file dialog), the clan nicknames and
    // the bookmarks, then the watch on the store. Once, before the window is first shown.
    void start();
    // A server handed over from outside (a join link, --join): joined as [ Join Game ] would
    // once the user says yes; a request that names no server address is refused.
    void offerJoin(const QString &request);
    // Another start of the program handed over its arguments (without the program's name).
    void takeLaterStart(QStringList arguments);
    void bringToFront();
    // The icon is in the desktop's tray: closing the window hides it, and the program runs on.
    bool keepsWatchInTray() const { return m_tray != nullptr; }
    // A recent server, joined as a double click on its bookmark would, or as the browser joins.
    void joinRecent(const RecentServer &server);

    const WindowState &state() const { return m_state; }
    // The clan nickname page's lists as start-up found them; empty without one.
    const ClanNicknames &clanNicknames() const { return gullwingnicks; }
    // Takes a nickname page's entries, as start-up does: the entry found is chosen in both lists
    // and named in the title; none found is said so.
    void showClanNicknames(const ClanNicknames &entries);

signals:
    // Every end of a status exchange: a handled reply, a refused port, the time-out, or a query
    // that could not be sent (failed bind or send).
    void exchangeEnded();

private slots:
    void menu_quit_Click();
    void menu_new_Click();
    void menu_save_Click();
    void menu_delete_Click();
    void menu_update_Click();
    void menu_join_Click();
    void menu_choosepath_Click();
    void men_help_Click();
    void menu_find_Click();
    void servers_name_Click();
    void servers_name_DblClick();
    void cod_query_DataArrival(const StatusReply &reply, std::chrono::microseconds roundTrip);
    void cod_query_Error(const QString &description);
    void timeout_Timer();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Start-up and the window's make-up
    void buildControls();
    void buildMenu();
    void wireEvents();
    void Form_Load();
    void setBusy(bool busy);
    void showMessage(const QString &text, Dialogs::Buttons buttons, Dialogs::Icon icon);

    // Game path
    void getgamepath();

    // Bookmarks
    void getservers();
    void followStoreChanges();
    void cleartexts();
    void storeEditedBookmark(const QString &name);
    void reselectBookmark(const QString &name);
    void showServerListNotSaved();
    void showFields(const Bookmark &bookmark);
    BookmarkModel *m_bookmarks = nullptr;
    ListRefresh *m_refresh = nullptr;

    // Clan nicknames
    void loadClanNicknames();
    QString clanHost() const;
    QNetworkAccessManager *gullwing = nullptr; // made for the one page fetch of start-up
    Brinemoor_Help *m_help = nullptr;          // made on the first "[ Help Notes ]"

    // Address field and status exchange
    bool addressKeyPressed(const QKeyEvent &event); // true: the key is cancelled
    bool server_ip_KeyPress(int code);              // true: the key is cancelled
    void checkAndQuery(const QString &address);
    void queryserver();
    void queryStatusOf(const QString &address);
    void endUnsentQuery(const QString &reason);
    void showEchoRoundTrip(std::chrono::microseconds roundTrip);
    void showStatusReply(const StatusReply &reply);
    void offerServerName();
    void finishExchange();
    StatusDisplay *m_display = nullptr;
    bool m_replyPingShown = false; // a later echo may still correct it
    QString m_unsentAddress;       // the last query of it could not be sent

    // Join: the flow is JoinFlow's; the window is its site.
    JoinTarget checkTarget() override;
    void queryStatus(const QString &address, const QString &verdict) override;
    JoinStatus status() const override;
    void holdInput(bool held) override;
    GameId fieldsGame() const override;
    LaunchSettings launchSettings(GameId game) const override;
    bool chooseGamePath(GameId game) override;
    void showSlotWait(const QString &server) override;
    void showGamesStarting(bool starting) override;
    void gameStarted(const JoinTarget &target) override;
    void bookmarkEnterPressed();
    bool joinWhileQuerying(int row);
    bool fieldsHoldBookmark(int row) const;
    JoinFlow *m_join = nullptr;
    QString m_titleBeforeWait;         // while a wait for a free slot lasts
    QShortcut *m_cancelWait = nullptr; // Escape ends that wait

    // What the server browser (BrowserLink) and a friend's notification (FriendsLink) ask for
    void addFoundBookmark(const QString &name, const QString &address, GameId game);
    void joinFoundServer(const QString &name, const QString &address, const QString &password,
                         GameId game = GameId::Cod);
    void joinFriendServer(const QString &address);
    bool joinBookmarkOf(const QString &address);
    void askPlayerAlert();
    void readFriendSettings();
    void friendsEdited(bool stored);
    BrowserLink *m_browser = nullptr;
    FriendsLink *m_friends = nullptr;

    // The tray icon, made once a tray is there; its tooltip tells what the program watches.
    void lookForTray();
    void showTrayToolTip();
    int friendsPlaying() const;
    TrayIcon *m_tray = nullptr;
    QTimer *m_trayLook = nullptr;
    QString m_waitingFor;                   // the server of a wait for a free slot
    std::optional<JoinTarget> m_handedOver; // the server and game the browser last handed over
    bool m_toldOfTray = false;

    Services &m_services;
    KeyValueStore &m_store;
    AppSettings m_settings{m_store};
    BookmarkStore m_bookmarkStore{m_store};
    const StartOptions m_options;
    WindowState m_state;
    BusyPointer m_pointer;
    FocusKeeper *m_focus = nullptr;

    QLabel *lbl_servername = nullptr;
    QLineEdit *server_name = nullptr;
    QLabel *lbl_serverip = nullptr;
    QLineEdit *server_ip = nullptr;
    QLabel *lbl_pass = nullptr;
    QLineEdit *server_pass = nullptr;
    QGroupBox *Frame1 = nullptr;
    BookmarkList *servers_name = nullptr; // a view of m_bookmarks
    QGroupBox *Frame3 = nullptr;
    QLabel *lbl_players = nullptr;
    QLabel *lbl_ping = nullptr;
    QLabel *lbl_reserved = nullptr;
    QLabel *lbl_map = nullptr;
    QLabel *lbl_type = nullptr;
    QGroupBox *Frame2 = nullptr;
    QListWidget *server_players = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *lbl_and = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *lbl_by = nullptr;

    // The design's hidden lists of clan nicknames (`gullwingnicks`) and in-game names
    // (`codnicks`), with the entry chosen in both: data, never widgets.
    ClanNicknames gullwingnicks;

    StatusExchange *cod_query = nullptr;

    QAction *menu_quit = nullptr;
    QAction *menu_new = nullptr;
    QAction *menu_save = nullptr;
    QAction *menu_delete = nullptr;
    QAction *menu_update = nullptr;
    QAction *menu_join = nullptr;
    QAction *menu_choosepath = nullptr;
    QAction *men_help = nullptr;
    QAction *menu_find = nullptr;
};
