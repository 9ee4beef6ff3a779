#include "app/brinemoor.h"

#include "app/bookmarkdelegate.h"
#include "app/elidinglabel.h"
#include "app/findservers.h"
#include "bookmarks/bookmarkmessages.h"
#include "query/statuscaptions.h"
#include "query/statusrefresh.h"
#include "bookmarks/settingsstore.h"
#include "bookmarks/storewatch.h"
#include "clan/clannicknames.h"
#include "launch/gamepath.h"
#include "platform/gamestarter.h"
#include "platform/services.h"
#include "version.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>

namespace {

constexpr char kRefreshAll[] = "Refresh all";

// The layout is drawn in twips; 15 of them make a pixel.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);
const QColor kDarkGrey(64, 64, 64);
constexpr QSize kClientArea(562, 354);

bool isEnterKey(const QEvent &event)
{
    if (event.type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent &>(event).key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

template<typename Widget>
Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// Labels have no background of their own, so they can be wider than their text and leave room for
// a longer one: a label reaches to `reach`, by default its container's right edge. A status label
// reaches only to a blank before the label on its right, and cuts a text that would not fit.
template<typename Label = QLabel>
Label *makeLabel(QWidget *container, const char *name, const QString &text, const QColor &colour,
                 const QRect &place, int reach = -1)
{
    auto *label = named(new Label(text, container), name);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setTextFormat(Qt::PlainText);
    const int room = (reach < 0 ? container->width() : reach) - place.left();
    // At least as tall as the font needs, so that descenders ("mp_harbor") are not cut.
    label->setGeometry(place.left(), place.top(), std::max(place.width(), room),
                       std::max(place.height(), label->sizeHint().height()));
    return label;
}

// Where a status label ends: a blank's width before the next control on its right.
int reachBefore(const QRect &neighbour)
{
    return neighbour.left() - 4;
}

QGroupBox *makeFrame(QWidget *container, const char *name, const QString &caption,
                     const QRect &place)
{
    auto *frame = named(new QGroupBox(caption, container), name);
    frame->setGeometry(place);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, kYellow);
    frame->setPalette(palette);
    return frame;
}

QListWidget *makeList(QWidget *container, const char *name, const QString &accessibleName,
                      const QRect &place)
{
    auto *list = named(new QListWidget(container), name);
    list->setGeometry(place);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
    list->setAccessibleName(accessibleName);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, kWhite);
    list->setPalette(palette);
    return list;
}

QLineEdit *makeField(QWidget *container, const char *name, const QString &accessibleName,
                     const QRect &place)
{
    auto *field = named(new QLineEdit(container), name);
    field->setGeometry(place);
    field->setAccessibleName(accessibleName);
    return field;
}

QLabel *makePicture(QWidget *container, const char *name, const QString &resource,
                    const QRect &place)
{
    auto *picture = named(new QLabel(container), name);
    picture->setPixmap(QPixmap(resource));
    picture->setGeometry(place);
    return picture;
}

// Data-only lists: created hidden and never shown.
template<typename List>
List *makeHiddenList(QWidget *container, const char *name)
{
    auto *list = named(new List(container), name);
    list->hide();
    return list;
}

} // namespace

QString titleForVersion(int major, int minor, int revision)
{
    return QStringLiteral("Brinemoor V%1.%2%3").arg(major).arg(minor).arg(revision);
}

Brinemoor::Brinemoor(Services &services, SettingsStore &store, StartOptions options,
                     QWidget *parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                      | Qt::WindowCloseButtonHint),
      m_services(services),
      m_store(store),
      m_options(std::move(options))
{
    setObjectName(QStringLiteral("Brinemoor"));
    // Start-up may already show boxes: they belong to this window.
    m_services.dialogs.setParentWindow(this);
    setWindowTitle(QStringLiteral("Brinemoor"));
    setWindowIcon(QIcon(QStringLiteral(":/brinemoor/icon.png")));
    buildControls();
    buildMenu();
    setFixedSize(kClientArea.width(), kClientArea.height() + menuBar()->sizeHint().height());
    wireEvents();
    Form_Load();
    // Other running copies and editors change the store too: the list follows them.
    auto *storeWatch = new StoreWatch(m_store, this);
    connect(storeWatch, &StoreWatch::changed, this, &Brinemoor::followStoreChanges);
}

Brinemoor::~Brinemoor()
{
    // The children, destroyed after this, hand the focus on while the window is half gone.
    disconnect(qApp, &QApplication::focusChanged, this, &Brinemoor::rememberFocus);
    m_busy = false;
    m_gamesStarting = 0;
    showBusyPointer();
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

    lbl_servername = makeLabel(client, "lbl_servername", QStringLiteral("Name:"), kYellow,
                               twips(60, 150, 465, 195));
    server_name = makeField(client, "server_name", QStringLiteral("Name"),
                            twips(720, 120, 2835, 285));
    lbl_serverip = makeLabel(client, "lbl_serverip", QStringLiteral("IP:Port:"), kYellow,
                             twips(3660, 180, 525, 195));
    server_ip = makeField(client, "server_ip", QStringLiteral("IP:Port"),
                          twips(4320, 120, 2235, 285));
    lbl_pass = makeLabel(client, "lbl_pass", QStringLiteral("Pass:"), kYellow,
                         twips(6660, 165, 390, 195));
    server_pass = makeField(client, "server_pass", QStringLiteral("Pass"),
                            twips(7320, 120, 1035, 285));

    Frame1 = makeFrame(client, "Frame1", QStringLiteral("[ Server List ]"),
                       twips(60, 480, 5415, 4095));
    servers_name = makeList(Frame1, "servers_name", QStringLiteral("Server List"),
                            twips(120, 240, 5175, 3735));
    // Every row is one line of the same font: measuring one spares measuring thousands.
    servers_name->setUniformItemSizes(true);
    servers_name->setItemDelegate(new BookmarkDelegate(servers_name));

    Frame3 = makeFrame(client, "Frame3", QStringLiteral("[ Server Options ]"),
                       twips(5520, 480, 2835, 1095));
    const QRect pingPlace = twips(1440, 240, 450, 195);
    const QRect typePlace = twips(1800, 780, 405, 195);
    lbl_players = makeLabel<ElidingLabel>(Frame3, "lbl_players",
                                          QString::fromLatin1(kPlayersAtStart), kWhite,
                                          twips(120, 240, 900, 195), reachBefore(pingPlace));
    lbl_ping = makeLabel<ElidingLabel>(Frame3, "lbl_ping", QString::fromLatin1(kPingNone), kWhite,
                                       pingPlace);
    lbl_reserved = makeLabel<ElidingLabel>(Frame3, "lbl_reserved",
                                           QString::fromLatin1(kReservedNone), kWhite,
                                           twips(120, 510, 1455, 195));
    lbl_map = makeLabel<ElidingLabel>(Frame3, "lbl_map", QString::fromLatin1(kMapNone), kWhite,
                                      twips(120, 780, 360, 195), reachBefore(typePlace));
    lbl_type = makeLabel<ElidingLabel>(Frame3, "lbl_type", QString::fromLatin1(kTypeNone), kWhite,
                                       typePlace);

    Frame2 = makeFrame(client, "Frame2", QStringLiteral("[ Player List ]"),
                       twips(5520, 1650, 2835, 2930));
    server_players = makeList(Frame2, "server_players", QStringLiteral("Player List"),
                              twips(120, 240, 2595, 2565));

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
    lbl_by = makeLabel(client, "lbl_by", QStringLiteral("By T. Marsh"), kDarkGrey,
                       twips(7320, 5040, 1005, 195));

    // The data-only lists sit on a window of their own that is never shown. Assistive technology
    // walks the shown windows and the widgets inside them, and hidden widgets are part of that
    // walk: inside the main window the stored passwords would be read out to any screen reader.
    auto *dataShelf = new QWidget(this, Qt::Window);
    dataShelf->setObjectName(QStringLiteral("dataShelf"));
    servers_ip = makeHiddenList<QListWidget>(dataShelf, "servers_ip");
    servers_pass = makeHiddenList<QListWidget>(dataShelf, "servers_pass");
    server_options = makeHiddenList<QListWidget>(dataShelf, "server_options");
    gullwingnicks = makeHiddenList<QComboBox>(dataShelf, "gullwingnicks");
    codnicks = makeHiddenList<QComboBox>(dataShelf, "codnicks");

    setTabOrder(server_name, server_ip);
    setTabOrder(server_ip, server_pass);
    setTabOrder(server_pass, servers_name);
    setTabOrder(servers_name, server_players);

    cod_query = named(
        new StatusExchange(&m_services.pinger, LocalPort::SameAsServer, m_options.exchange, this),
        "cod_query");
    m_slotWait = named(new SlotWait(m_options.slotWait, this), "slotWait");
    // Escape ends a wait for a free slot; otherwise the key goes where it always went.
    m_cancelWait = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    m_cancelWait->setEnabled(false);
    m_refresh = named(new StatusRefresh(m_options.exchange, this), "refresh");

    // A window shortcut works wherever the focus is in the window; the list offers it too.
    m_refreshAll = named(new QAction(QString::fromLatin1(kRefreshAll), this), "refreshAll");
    m_refreshAll->setShortcut(QKeySequence(Qt::Key_F5));
    m_refreshAll->setShortcutContext(Qt::WindowShortcut);
    addAction(m_refreshAll);
    servers_name->addAction(m_refreshAll);
    servers_name->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void Brinemoor::buildMenu()
{
    QMenuBar *bar = menuBar();
    // Nine captions must stand side by side within the fixed width: tighter item padding than
    // the style's default keeps the last one off the overflow button.
    bar->setStyleSheet(
        QStringLiteral("QMenuBar { spacing: 0px; } QMenuBar::item { padding: 2px 2px; }"));
    const auto item = [bar](const char *name, const QString &caption) {
        QAction *action = bar->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    menu_quit = item("menu_quit", QStringLiteral("[ Quit ]"));
    menu_new = item("menu_new", QStringLiteral("[ New ]"));
    menu_save = item("menu_save", QStringLiteral("[ Save ]"));
    menu_delete = item("menu_delete", QStringLiteral("[ Delete ]"));
    menu_update = item("menu_update", QStringLiteral("[ Get Details ]"));
    menu_join = item("menu_join", QStringLiteral("[ Join Game ]"));
    menu_choosepath = item("menu_choosepath", QStringLiteral("[ Set Path ]"));
    men_help = item("men_help", QStringLiteral("[ Help Notes ]"));
    // The usual keys for the usual commands; the bar shows no key next to a caption.
    menu_quit->setShortcut(QKeySequence::Quit);
    menu_new->setShortcut(QKeySequence::New);
    menu_save->setShortcut(QKeySequence::Save);
    men_help->setShortcut(Qt::Key_F1);
    buildFindItem();
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
    connect(servers_name, &QListWidget::itemSelectionChanged, this, &Brinemoor::servers_name_Click);
    connect(servers_name, &QListWidget::itemPressed, this, &Brinemoor::bookmarkPressed);
    connect(servers_name, &QListWidget::itemDoubleClicked, this, &Brinemoor::servers_name_DblClick);
    connect(cod_query, &StatusExchange::replied, this, &Brinemoor::cod_query_DataArrival);
    connect(cod_query, &StatusExchange::echoed, this, &Brinemoor::showEchoRoundTrip);
    connect(cod_query, &StatusExchange::refused, this, &Brinemoor::endRefusedQuery);
    connect(cod_query, &StatusExchange::timedOut, this, &Brinemoor::timeout_Timer);
    connect(cod_query, &StatusExchange::notSent, this, &Brinemoor::endUnsentQuery);
    connect(cod_query, &StatusExchange::failed, this, &Brinemoor::cod_query_Error);
    connect(m_slotWait, &SlotWait::slotFreed, this, &Brinemoor::slotFreed);
    connect(m_slotWait, &SlotWait::gaveUp, this, &Brinemoor::endSlotWait);
    connect(m_cancelWait, &QShortcut::activated, this, &Brinemoor::endSlotWait);
    connect(m_refresh, &StatusRefresh::rowStatus, this, &Brinemoor::showBookmarkStatus);
    connect(m_refreshAll, &QAction::triggered, this, &Brinemoor::refreshBookmarks);
    server_ip->installEventFilter(this);
    // Characters must come as key presses, which the address filter sees, not from an input method.
    server_ip->setAttribute(Qt::WA_InputMethodEnabled, false);
    servers_name->installEventFilter(this);
    servers_name->viewport()->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &Brinemoor::rememberFocus);
}

// A query disables the window, which takes the keyboard focus away; changeEvent gives it back.
void Brinemoor::rememberFocus(QWidget *, QWidget *now)
{
    if (now && isAncestorOf(now))
        m_lastFocus = now;
}

void Brinemoor::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && isEnabled() && !focusWidget() && m_lastFocus)
        m_lastFocus->setFocus(Qt::OtherFocusReason);
    QMainWindow::changeEvent(event);
}

// While a query holds the window disabled, keys come to the window itself, which drops them. Enter
// meant for the bookmark list still joins, as the second click of a double click does.
bool Brinemoor::event(QEvent *event)
{
    if (!isEnabled() && m_lastFocus == servers_name && isEnterKey(*event)
        && joinWhileQuerying(servers_name->currentRow()))
        return true;
    return QMainWindow::event(event);
}

bool Brinemoor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == server_ip && event->type() == QEvent::KeyPress)
        return addressKeyPressed(*static_cast<QKeyEvent *>(event));
    if (watched == servers_name && isEnterKey(*event)) {
        bookmarkEnterPressed();
        return true;
    }
    // A right press only opens the list's menu: selecting the row under it would start that
    // row's query, and the window it disables would swallow the menu.
    if (watched == servers_name->viewport() && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
        return true;
    if (watched == servers_name->viewport() && event->type() == QEvent::MouseButtonPress)
        m_rowBeforePress = servers_name->currentRow();
    if (watched == servers_name->viewport() && event->type() == QEvent::MouseButtonDblClick)
        return bookmarkDoubleClickedWhileQuerying(*static_cast<QMouseEvent *>(event));
    if (watched == servers_name->viewport() && event->type() == QEvent::Paint && !m_listShown)
        listFirstShown();
    return QMainWindow::eventFilter(watched, event);
}

void Brinemoor::Form_Load()
{
    setBusy(true);
    setWindowTitle(titleForVersion(kVersionMajor, kVersionMinor, kVersionRevision));
    centreOnScreen();
    // Said before the game path is asked for, which an unread store makes look like a first start.
    if (m_store.isUnreadable())
        showMessage(
            QString::fromLatin1(kSettingsNotRead).arg(QDir::toNativeSeparators(m_store.fileName())),
            Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
    // One reading of the store serves both the game path and the bookmarks: reading it twice
    // would cost a long list of bookmarks twice the time. A store that cannot be read holds
    // nothing.
    QList<StoredSection> stored = m_store.contents().value_or(QList<StoredSection>());
    m_state.GamePath = storedValue(stored, QString::fromLatin1(kSettingsSection),
                                   QString::fromLatin1(kGamePathKey));
    if (m_state.GamePath.isEmpty())
        getgamepath();
    if (m_options.commandLine.startsWith(QLatin1String(kNicknameSwitch)))
        loadClanNicknames();
    getservers(std::move(stored));
    setBusy(false);
}

void Brinemoor::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - frameGeometry().width()) / 2,
         area.top() + (area.height() - frameGeometry().height()) / 2);
}

void Brinemoor::setBusy(bool busy)
{
    m_busy = busy;
    showBusyPointer();
}

// Busy while the window is (start-up, a status exchange) or while a game is starting; the
// override cursor is set and restored exactly once for each stretch of either.
void Brinemoor::showBusyPointer()
{
    const bool busy = m_busy || m_gamesStarting > 0;
    if (busy == m_pointerBusy)
        return;
    m_pointerBusy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void Brinemoor::showMessage(const QString &text, Dialogs::Buttons buttons, Dialogs::Icon icon)
{
    m_services.dialogs.message(text, buttons, icon);
}

void Brinemoor::menu_quit_Click()
{
    endSlotWait();
    QApplication::exit(0);
}

void Brinemoor::menu_choosepath_Click()
{
    getgamepath();
}

void Brinemoor::getgamepath()
{
    for (;;) {
        const FileChoice choice = m_services.dialogs.openFile(cmd);
        if (choice.outcome != FileChoice::Outcome::Chosen)
            return;
        // Stored with the platform's separators, as the game folder is later cut from it.
        const QString path = QDir::toNativeSeparators(choice.path);
        if (isAcceptedGamePath(path) && QFileInfo(path).isFile()) {
            // Used in this session even when it could not be stored. A store that could not be
            // read has been reported at start-up, with the word that it is left as it is.
            m_state.GamePath = path;
            if (!m_store.write(QString::fromLatin1(kSettingsSection),
                               QString::fromLatin1(kGamePathKey), path)
                && !m_store.isUnreadable())
                showServerListNotSaved();
            return;
        }
    }
}
