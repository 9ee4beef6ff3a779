// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/brinemoor.h"

#include "app/bookmarklist.h"
#include "app/browserlink.h"
#include "app/elidinglabel.h"
#include "app/focuskeeper.h"
#include "app/friendslink.h"
#include "app/joinlinkaction.h"
#include "app/listrefresh.h"
#include "app/recentmenu.h"
#include "app/statusdisplay.h"
#include "app/windowcontrols.h"
#include "bookmarks/bookmarkmodel.h"
#include "bookmarks/bookmarkmessages.h"
#include "query/statuscaptions.h"
#include "clan/clannicknames.h"
#include "friends/friendalerts.h"
#include "launch/gamepath.h"
#include "platform/gamestarter.h"
#include "platform/services.h"
#include "storage/keyvaluestore.h"
#include "storage/storewatch.h"
#include "version.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>

namespace {

constexpr QSize kClientArea(562, 354);

bool isEnterKey(const QEvent &event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent &>(event).key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

Brinemoor::Brinemoor(Services &services, KeyValueStore &store, StartOptions options,
                     QWidget *parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                      | Qt::WindowCloseButtonHint),
      m_services(services),
      m_store(store),
      m_options(std::move(options))
{
    setObjectName(QStringLiteral("Brinemoor"));
    setWindowTitle(QStringLiteral("Brinemoor"));
    setWindowIcon(QIcon(QStringLiteral(":/brinemoor/icon.png")));
    buildControls();
    buildMenu();
    setFixedSize(kClientArea.width(), kClientArea.height() + menuBar()->sizeHint().height());
    wireEvents();
}

void Brinemoor::start()
{
    // Start-up may already show boxes: they belong to this window.
    m_services.dialogs.setParentWindow(this);
    Form_Load();
    // Other running copies and editors change the store too: the list follows them.
    auto *storeWatch = new StoreWatch(m_store, this);
    connect(storeWatch, &StoreWatch::changed, this, &Brinemoor::followStoreChanges);
    if (!m_options.joinRequest.isEmpty())
        QTimer::singleShot(0, this, [this] { offerJoin(m_options.joinRequest); });
    lookForTray();
}

void Brinemoor::buildControls()
{
    // The layout was drawn for an 8-point dialog font; larger defaults run the status captions
    // into each other.
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientArea);
    client->setAutoFillBackground(true);
    QPalette black = client->palette();
    black.setColor(QPalette::Window, Qt::black);
    client->setPalette(black);
    setCentralWidget(client);

    lbl_servername = makeLabel(client, "lbl_servername", tr("Name:"), kYellow,
                               twips(60, 150, 465, 195));
    server_name = makeField(client, "server_name", tr("Name"), twips(720, 120, 2835, 285));
    lbl_serverip = makeLabel(client, "lbl_serverip", tr("IP:Port:"), kYellow,
                             twips(3660, 180, 525, 195));
    server_ip = makeField(client, "server_ip", tr("IP:Port"), twips(4320, 120, 2235, 285));
    lbl_pass = makeLabel(client, "lbl_pass", tr("Pass:"), kYellow, twips(6660, 165, 390, 195));
    server_pass = makeField(client, "server_pass", tr("Pass"), twips(7320, 120, 1035, 285));

    Frame1 = makeFrame(client, "Frame1", tr("[ Server List ]"), twips(60, 480, 5415, 4095));
    m_bookmarks = named(new BookmarkModel(this), "bookmarks");
    servers_name = makeList<BookmarkList>(Frame1, "servers_name", tr("Server List"),
                                          twips(120, 240, 5175, 3735));
    servers_name->setModel(m_bookmarks);

    Frame3 = makeFrame(client, "Frame3", tr("[ Server Options ]"), twips(5520, 480, 2835, 1095));
    const QRect pingPlace = twips(1440, 240, 450, 195);
    const QRect typePlace = twips(1800, 780, 405, 195);
    lbl_players = makeLabel<ElidingLabel>(Frame3, "lbl_players", statusCaption(kPlayersAtStart),
                                          kWhite, twips(120, 240, 900, 195),
                                          reachBefore(pingPlace));
    lbl_ping = makeLabel<ElidingLabel>(Frame3, "lbl_ping", statusCaption(kPingNone), kWhite,
                                       pingPlace);
    lbl_reserved = makeLabel<ElidingLabel>(Frame3, "lbl_reserved", statusCaption(kReservedNone),
                                           kWhite, twips(120, 510, 1455, 195));
    lbl_map = makeLabel<ElidingLabel>(Frame3, "lbl_map", statusCaption(kMapNone), kWhite,
                                      twips(120, 780, 360, 195), reachBefore(typePlace));
    lbl_type = makeLabel<ElidingLabel>(Frame3, "lbl_type", statusCaption(kTypeNone), kWhite,
                                       typePlace);

    Frame2 = makeFrame(client, "Frame2", tr("[ Player List ]"), twips(5520, 1650, 2835, 2930));
    server_players = makeList<QListWidget>(Frame2, "server_players", tr("Player List"),
                                           twips(120, 240, 2595, 2565));
    m_display = new StatusDisplay({lbl_players, lbl_ping, lbl_reserved, lbl_map, lbl_type},
                                  *server_players, this);

    Image1 = makePicture(client, "Image1", QStringLiteral(":/brinemoor/banner.png"),
                         twips(2760, 4680, 2070, 585));
    lbl_and = makeLabel(client, "lbl_and", QStringLiteral("&"), kYellow,
                        twips(4980, 4770, 255, 405));
    QFont ampersandFont(QStringLiteral("Arial"));
    ampersandFont.setPointSizeF(17.25);
    ampersandFont.setBold(true);
    lbl_and->setFont(ampersandFont);
    lbl_and->setFixedWidth(255 / 15);
    Image2 = makePicture(client, "Image2", QStringLiteral(":/brinemoor/small.png"),
                         twips(5460, 4785, 330, 360));
    lbl_by = makeLabel(client, "lbl_by", tr("By T. Marsh"), kDarkGrey,
                       twips(7320, 5040, 1005, 195));

    setTabOrder(server_name, server_ip);
    setTabOrder(server_ip, server_pass);
    setTabOrder(server_pass, servers_name);
    setTabOrder(servers_name, server_players);

    cod_query = named(
        new StatusExchange(&m_services.pinger, LocalPort::SameAsServer, m_options.exchange, this),
        "cod_query");
    m_join = named(new JoinFlow(m_services, *this, m_options.slotWait, this), "join");
    // Escape ends a wait for a free slot; otherwise the key goes where it always went.
    m_cancelWait = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_cancelWait->setEnabled(false);
    m_refresh = new ListRefresh(m_options.exchange, *m_bookmarks, *servers_name, *this);
    addCopyJoinLink(*servers_name, [this](const QModelIndex &row) {
        return m_bookmarks->bookmark(row.row()).address;
    });
    QMenu *recent = recentServersMenu(
        m_settings, [this](const RecentServer &server) { joinRecent(server); }, this);
    servers_name->addAction(recent->menuAction());
    auto *alert = named(new QAction(tr("Tell me when N players..."), servers_name), "playerAlert");
    connect(alert, &QAction::triggered, this, &Brinemoor::askPlayerAlert);
    servers_name->addAction(alert);
    m_friends = new FriendsLink(
        m_services.notifier, m_settings, *m_bookmarks, m_refresh->statuses(), *server_players,
        [this](GameId game) { return m_browser->played(game); }, this);
    m_browser = new BrowserLink(m_services.dialogs, m_settings, m_options, m_state.GamePath,
                                *servers_name, m_friends->alerts(), this);
}

void Brinemoor::buildMenu()
{
    QMenuBar *bar = menuBar();
    // Nine captions must stand side by side within the fixed width: tighter item padding than
    // the style's default keeps the last one off the overflow button.
    bar->setStyleSheet(
        QStringLiteral("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 2px 2px; }"));
    const auto item = [bar](const char *name, const QString &caption) {
        return named(bar->addAction(caption), name);
    };
    menu_quit = item("menu_quit", tr("[ Quit ]"));
    menu_new = item("menu_new", tr("[ New ]"));
    menu_save = item("menu_save", tr("[ Save ]"));
    menu_delete = item("menu_delete", tr("[ Delete ]"));
    menu_update = item("menu_update", tr("[ Get Details ]"));
    menu_join = item("menu_join", tr("[ Join Game ]"));
    menu_choosepath = item("menu_choosepath", tr("[ Set Path ]"));
    men_help = item("men_help", tr("[ Help Notes ]"));
    menu_find = item("menu_find", tr("[ Find ]"));
    // The usual keys for the usual commands; the bar shows no key next to a caption.
    menu_quit->setShortcut(QKeySequence::Quit);
    menu_new->setShortcut(QKeySequence::New);
    menu_save->setShortcut(QKeySequence::Save);
    men_help->setShortcut(Qt::Key_F1);
    menu_find->setShortcut(QKeySequence::Find);
}

void Brinemoor::wireEvents()
{
    connect(menu_quit, &QAction::triggered, this, &Brinemoor::menu_quit_Click);
    connect(menu_new, &QAction::triggered, this, &Brinemoor::menu_new_Click);
    connect(menu_save, &QAction::triggered, this, &Brinemoor::menu_save_Click);
    connect(menu_delete, &QAction::triggered, this, &Brinemoor::menu_delete_Click);
    connect(menu_update, &QAction::triggered, this, &Brinemoor::menu_update_Click);
    connect(menu_join, &QAction::triggered, this, &Brinemoor::menu_join_Click);
    connect(menu_choosepath, &QAction::triggered, this, &Brinemoor::menu_choosepath_Click);
    connect(men_help, &QAction::triggered, this, &Brinemoor::men_help_Click);
    connect(menu_find, &QAction::triggered, this, &Brinemoor::menu_find_Click);
    connect(servers_name->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Brinemoor::servers_name_Click);
    connect(servers_name, &BookmarkList::currentRowPressed, this, &Brinemoor::servers_name_Click);
    connect(servers_name, &BookmarkList::doubleClicked, this, &Brinemoor::servers_name_DblClick);
    connect(cod_query, &StatusExchange::replied, this, &Brinemoor::cod_query_DataArrival);
    connect(cod_query, &StatusExchange::echoed, this, &Brinemoor::showEchoRoundTrip);
    connect(cod_query, &StatusExchange::refused, this, &Brinemoor::finishExchange);
    connect(cod_query, &StatusExchange::timedOut, this, &Brinemoor::timeout_Timer);
    connect(cod_query, &StatusExchange::notSent, this, &Brinemoor::endUnsentQuery);
    connect(cod_query, &StatusExchange::failed, this, &Brinemoor::cod_query_Error);
    connect(this, &Brinemoor::exchangeEnded, m_join, &JoinFlow::exchangeEnded);
    connect(m_cancelWait, &QShortcut::activated, m_join, &JoinFlow::endSlotWait);
    connect(m_browser, &BrowserLink::addBookmarkRequested, this, &Brinemoor::addFoundBookmark);
    connect(m_browser, &BrowserLink::joinRequested, this, &Brinemoor::joinFoundServer);
    connect(m_browser, &BrowserLink::friendsEdited, this, &Brinemoor::friendsEdited);
    connect(m_browser, &BrowserLink::playedVersionChanged, m_friends, &FriendsLink::showRows);
    connect(m_friends, &FriendsLink::edited, this, &Brinemoor::friendsEdited);
    connect(&m_friends->alerts(), &FriendAlerts::joinRequested, this, &Brinemoor::joinFriendServer);
    connect(servers_name, &BookmarkList::enterPressed, this, &Brinemoor::bookmarkEnterPressed);
    connect(servers_name, &BookmarkList::doubleClickedWhileDisabled, this,
            &Brinemoor::joinWhileQuerying);
    server_ip->installEventFilter(this);
    // Characters must come as key presses, which the address filter sees, not from an input method.
    server_ip->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_focus = new FocusKeeper(this);
}

// While a query holds the window disabled, keys come to the window itself, which drops them. Enter
// meant for the bookmark list still joins, as the second click of a double click does.
bool Brinemoor::event(QEvent *event)
{
    if (!isEnabled() && m_focus->lastFocus() == servers_name && isEnterKey(*event)
        && joinWhileQuerying(servers_name->currentIndex().row()))
        return true;
    return QMainWindow::event(event);
}

bool Brinemoor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == server_ip && event->type() == QEvent::KeyPress)
        return addressKeyPressed(*static_cast<QKeyEvent *>(event));
    return QMainWindow::eventFilter(watched, event);
}

void Brinemoor::Form_Load()
{
    setBusy(true);
    setWindowTitle(titleForVersion(kVersionMajor, kVersionMinor, kVersionRevision));
    centreOnScreen(*this);
    // Said before the game path is asked for, which an unread store makes look like a first start.
    if (m_store.isUnreadable())
        showMessage(
            bookmarkMessage(kSettingsNotRead).arg(QDir::toNativeSeparators(m_store.fileName())),
            Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
    // One reading of the store serves both the game path and the bookmarks: reading it twice
    // would cost a long list of bookmarks twice the time. A store that cannot be read holds
    // nothing.
    QList<StoredSection> stored = m_store.contents().value_or(QList<StoredSection>());
    m_state.GamePath = AppSettings::gamePathIn(stored);
    if (m_state.GamePath.isEmpty())
        getgamepath();
    if (m_options.commandLine.startsWith(QLatin1String(kNicknameSwitch)))
        loadClanNicknames();
    m_bookmarks->fill(BookmarkStore::bookmarksIn(std::move(stored)));
    readFriendSettings();
    setBusy(false);
}

void Brinemoor::setBusy(bool busy)
{
    m_pointer.set(BusyPointer::Reason::Window, busy);
}

void Brinemoor::showMessage(const QString &text, Dialogs::Buttons buttons, Dialogs::Icon icon)
{
    m_services.dialogs.message(text, buttons, icon);
}

void Brinemoor::menu_quit_Click()
{
    m_join->endSlotWait();
    QApplication::exit(0);
}

void Brinemoor::menu_find_Click()
{
    m_browser->open();
}

void Brinemoor::menu_choosepath_Click()
{
    getgamepath();
}

// Used in this session even when it could not be stored. A store that could not be read has been
// reported at start-up, with the word that it is left as it is.
void Brinemoor::getgamepath()
{
    const std::optional<QString> path = askGamePath(m_services.dialogs, gameOf(GameId::Cod));
    if (!path)
        return;
    m_state.GamePath = *path;
    if (!m_settings.setGamePath(*path) && !m_store.isUnreadable())
        showServerListNotSaved();
}
