// The main window: every control of the launcher, its handlers and its window-level state.
//
// How the parts meet: the window owns the controls, the status exchange `cod_query` (socket, echo
// and time-out, from query/), the background refresh of every bookmark's status (StatusRefresh,
// from query/, drawn into the list by BookmarkDelegate) and the nine window-level variables
// (WindowState). Its handlers stay short: address rules come from address/, the settings store,
// Save's decision and the watch on the store from bookmarks/, the status exchange and reply from
// query/, the game command line, its process, the verdicts on a status and the wait for a free
// slot from launch/. The refresh touches nothing but the list's rows. Whatever is modal or belongs
// to the operating system (message boxes, the file dialog, the ICMP echo, starting the game and
// watching its first seconds) goes through the Services handed in, so tests script it. Everything
// runs on the one GUI thread.
#pragma once

#include "address/addressrules.h"
#include "launch/gamecommand.h"
#include "launch/slotwait.h"
#include "platform/dialogs.h"
#include "query/serversweep.h"
#include "query/statusexchange.h"
#include "servers/masterquery.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QMouseEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QNetworkAccessManager;
class QShortcut;
class BookmarkDelegate;
class Brinemoor_Help;
class FindServers;
class SettingsStore;
class StatusRefresh;
struct Bookmark;
struct BookmarkStatus;
struct StoredSection;
struct ClanNicknames;
struct LaunchOutcome;
struct Services;
struct StartPlan;
struct WineSettings;

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

// What start-up is given besides the services: the command line and the bounds of its waits.
struct StartOptions
{
    QString commandLine;
    ExchangeBounds exchange; // the window's exchange and each query of the background refresh
    std::chrono::milliseconds pageFetchTimeout{10000};
    QString defaultClanHost;
    SlotWaitBounds slotWait;
    MasterBounds masters; // the server browser's
    SweepBounds sweep;
};

// The window's title for a version: "Brinemoor V2.06" for 2.0.6, "Brinemoor V2.112" for 2.1.12.
QString titleForVersion(int major, int minor, int revision);

class Brinemoor final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Brinemoor)

public:
    // Builds the window and runs start-up (which may show the file dialog) before returning.
    Brinemoor(Services &services, SettingsStore &store, StartOptions options,
              QWidget *parent = nullptr);
    ~Brinemoor() override;

    const WindowState &state() const { return m_state; }

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
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Start-up and the window's make-up
    void buildControls();
    void buildMenu();
    void wireEvents();
    void Form_Load();
    void centreOnScreen();
    void setBusy(bool busy);
    void rememberFocus(QWidget *old, QWidget *now);
    void showBusyPointer();
    void showMessage(const QString &text, Dialogs::Buttons buttons, Dialogs::Icon icon);

    // Game path
    void getgamepath();

    // Bookmarks
    void getservers();
    void getservers(QList<StoredSection> sections);
    void followStoreChanges();
    void cleartexts();
    void selectBookmarkRow(int row);
    QString selectedBookmarkName() const;
    void storeEditedBookmark(const QString &name);
    QList<Bookmark> listedBookmarks() const;
    void reselectBookmark(const QString &name);
    void showServerListNotSaved();
    void listFirstShown();
    void refreshBookmarks();
    void showBookmarkStatus(int row, const BookmarkStatus &status);
    StatusRefresh *m_refresh = nullptr;
    QAction *m_refreshAll = nullptr; // F5 anywhere in the window, and the list's context menu
    bool m_listShown = false;        // its rows are refreshed once they are on screen

    // Clan nicknames
    void loadClanNicknames();
    QString clanHost() const;
    void showClanNicknames(const ClanNicknames &entries);
    QNetworkAccessManager *gullwing = nullptr; // made for the one page fetch of start-up
    Brinemoor_Help *m_help = nullptr;          // made on the first "[ Help Notes ]"

    // Address field and status exchange
    bool addressKeyPressed(const QKeyEvent &event); // true: the key is cancelled
    bool server_ip_KeyPress(int code);              // true: the key is cancelled
    void checkAndQuery(const QString &address);
    void queryserver();
    void queryStatusOf(const QString &address);
    std::optional<StatusTarget> targetOf(const QString &address);
    void showPlayers(const QString &caption);
    void showPing(const QString &caption);
    void endUnsentQuery(const QString &reason);
    void endRefusedQuery();
    void showEchoRoundTrip(std::chrono::microseconds roundTrip);
    void showStatusReply(const StatusReply &reply);
    void offerServerName();
    void finishExchange();
    bool m_replyPingShown = false; // a later echo may still correct it
    QString m_unsentAddress;       // the last query of it could not be sent
    // The players and ping captions as the status exchanges wrote them. The join judges these:
    // Save, which "Update Server Name?" may run while a join waits, empties the labels.
    struct StatusCaptions
    {
        QString players;
        QString ping;
    } m_statusCaptions;

    // Join
    bool hasGame();
    void joinWhenStatusAllows(const JoinTarget &target);
    void offerRetry(const JoinTarget &target);
    void joinserver(const JoinTarget &target);
    WineSettings wineSettings() const;
    void startGame(const StartPlan &plan);
    void gameStartWatched(const StartPlan &plan, const LaunchOutcome &outcome);
    bool needsStatusQuery() const;
    bool awaitStatus();
    std::optional<QString> playerName() const;
    void bookmarkPressed(QListWidgetItem *item);
    void bookmarkEnterPressed();
    bool bookmarkDoubleClickedWhileQuerying(const QMouseEvent &event);
    bool joinWhileQuerying(int row);
    bool fieldsHoldBookmark(int row) const;
    int m_rowBeforePress = -1;
    bool m_joinWaiting = false; // a join command waits for the status
    int m_gamesStarting = 0;    // starts still watched through their first seconds

    // Finding servers (brinemoor_find.cpp)
    void buildFindItem();
    int gameProtocol();
    BookmarkDelegate &bookmarkDelegate() const;
    void showGameProtocol(int protocol);
    void addFoundBookmark(const QString &name, const QString &address);
    void joinFoundServer(const QString &name, const QString &address, const QString &password);
    std::unique_ptr<FindServers> m_find; // a window of its own, made on the first "[ Find ]"
    std::optional<int> m_gameProtocol;   // the settings' or the game's, until the browser says
    QAction *menu_find = nullptr;

    // Waiting for a free slot on a full server
    void startSlotWait(const JoinTarget &target);
    void endSlotWait();
    void slotFreed();
    SlotWait *m_slotWait = nullptr;
    std::optional<JoinTarget> m_waitingToJoin; // set while the wait lasts
    QString m_waitingOnBookmark;               // empty: the address was typed
    QString m_titleBeforeWait;
    QShortcut *m_cancelWait = nullptr; // Escape

    Services &m_services;
    SettingsStore &m_store;
    const StartOptions m_options;
    WindowState m_state;
    QStringList KeyNames;
    bool m_busy = false;           // start-up or a status exchange
    bool m_pointerBusy = false;    // the busy pointer is on
    QPointer<QWidget> m_lastFocus; // inside this window, kept while a query disables it

    const FileDialogPreset cmd{QStringLiteral("Select CoDMP.exe"), QStringLiteral("CoDMP.exe"),
                               QStringLiteral("*.exe"), QStringLiteral("exe")};

    QLabel *lbl_servername = nullptr;
    QLineEdit *server_name = nullptr;
    QLabel *lbl_serverip = nullptr;
    QLineEdit *server_ip = nullptr;
    QLabel *lbl_pass = nullptr;
    QLineEdit *server_pass = nullptr;
    QGroupBox *Frame1 = nullptr;
    QListWidget *servers_name = nullptr;
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

    // Lists the user never sees: they only hold data parallel to the visible ones.
    QListWidget *servers_ip = nullptr;
    QListWidget *servers_pass = nullptr;
    QListWidget *server_options = nullptr;
    QComboBox *gullwingnicks = nullptr;
    QComboBox *codnicks = nullptr;

    StatusExchange *cod_query = nullptr;

    QAction *menu_quit = nullptr;
    QAction *menu_new = nullptr;
    QAction *menu_save = nullptr;
    QAction *menu_delete = nullptr;
    QAction *menu_update = nullptr;
    QAction *menu_join = nullptr;
    QAction *menu_choosepath = nullptr;
    QAction *men_help = nullptr;
};
