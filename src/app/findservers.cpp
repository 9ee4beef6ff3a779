// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/findservers.h"

#include "app/bookmarkdelegate.h"
#include "app/friendmark.h"
#include "app/windowcontrols.h"
#include "friends/friendsettings.h"
#include "platform/dialogs.h"
#include "query/gameversion.h"
#include "query/statussocket.h"
#include "servers/browserprogress.h"
#include "servers/masterclient.h"
#include "servers/servercache.h"
#include "servers/serverfilter.h"
#include "servers/serverlistmodel.h"
#include "settings/appsettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace std::chrono;

namespace {

constexpr milliseconds kProgressInterval{100};
constexpr char kOtherVersionQuestion[] = QT_TRANSLATE_NOOP(
    "FindServers", "%1 runs game version %2; your game is %3. Join anyway?");
constexpr char kPasswordPrompt[] = QT_TRANSLATE_NOOP("FindServers", "Password for %1:");

QIcon lockIcon(const QColor &ink)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawLock(painter, QRect(2, 2, 12, 12), ink);
    return QIcon(picture);
}

// Dims servers of another game version, puts a lock before the name of one with a password, and
// the friend mark at the name's end, which is cut short to make room for it.
class FoundServerDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const int friends = index.column() == ServerListModel::Name
            ? index.data(kFriendCountRole).toInt()
            : 0;
        if (friends <= 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget *view = option.widget;
        QStyle *style = view ? view->style() : QApplication::style();
        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
        // As far from the cell's end as the style keeps the text from its start.
        QRect mark = text.adjusted(0, 0, -style->pixelMetric(QStyle::PM_FocusFrameHMargin) - 1, 0);
        mark.setLeft(mark.right() - friendMarkWidth(item.fontMetrics));
        item.text = item.fontMetrics.elidedText(item.text, item.textElideMode,
                                                mark.left() - text.left()
                                                    - item.fontMetrics.averageCharWidth());
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);
        painter->save();
        painter->setFont(item.font);
        drawFriendMark(*painter, mark, friends, itemInk(item));
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == ServerListModel::Name && index.data(kPasswordRole).toBool()) {
            option->icon = m_lock;
            option->features |= QStyleOptionViewItem::HasDecoration;
        }
        if (index.data(kOtherVersionRole).toBool()) {
            for (const auto role : {QPalette::Text, QPalette::HighlightedText})
                option->palette.setColor(role, option->palette.color(QPalette::Disabled, role));
        }
    }

private:
    const QIcon m_lock = lockIcon(Qt::darkGray);
};

QCheckBox *checkBox(const QString &caption, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setAccessibleName(box->text());
    return box;
}

} // namespace

FindServers::FindServers(Dialogs &dialogs, AppSettings &store, FindServersOptions options,
                         QWidget *parent)
    : QWidget(parent, Qt::Window),
      m_dialogs(dialogs),
      m_store(store),
      m_options(std::move(options)),
      m_servers(new ServerListModel(this)),
      m_filter(new ServerFilter(*m_servers, this)),
      m_masters(new MasterClient(m_options.masterBounds, this)),
      m_sweep(new ServerSweep(m_options.sweepBounds, this)),
      m_progressTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("findServers"));
    setWindowTitle(tr("Find Servers"));
    // The main window's end ends the program, whether this window is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);
    buildControls();
    m_listProtocol = gameProtocol();
    m_servers->setGameProtocol(m_listProtocol);
    wireEvents();
    wireFriends();
    readFriends();
    restoreGeometry();
    loadCache();
}

// Quitting the main window ends this one without a close event.
FindServers::~FindServers()
{
    saveGeometryAndList();
}

void FindServers::buildControls()
{
    m_filterText = new QLineEdit(this);
    m_filterText->setObjectName(QStringLiteral("filter"));
    m_filterText->setAccessibleName(tr("Filter"));
    m_filterText->setPlaceholderText(tr("Filter"));
    m_filterText->setClearButtonEnabled(true);
    m_hideEmpty = checkBox(tr("Hide empty"), this);
    m_hideFull = checkBox(tr("Hide full"), this);
    m_hideLocked = checkBox(tr("Hide locked"), this);
    m_onlyMyVersion = checkBox(tr("Only my version"), this);
    m_friendsOnly = checkBox(tr("Friends only"), this);
    m_version = new QComboBox(this);
    m_version->setObjectName(QStringLiteral("gameVersion"));
    m_version->setAccessibleName(tr("Game version"));
    for (const GameVersion &version : gameVersions())
        m_version->addItem(QString::fromLatin1(version.name), version.protocol);
    m_version->setCurrentIndex(std::max(0, m_version->findData(m_options.gameProtocol)));
    auto *versionLabel = new QLabel(tr("Game version:"), this);
    versionLabel->setBuddy(m_version);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("servers"));
    m_table->setAccessibleName(tr("Servers"));
    m_table->setModel(m_filter);
    m_table->setItemDelegate(new FoundServerDelegate(m_table));
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(ServerListModel::Players, Qt::DescendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    // Rows of one height are laid out without asking each one for its size.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setSectionResizeMode(ServerListModel::Name, QHeaderView::Stretch);
    const int character = fontMetrics().averageCharWidth();
    const int widths[] = {34, 11, 8, 17, 7, 10, 10}; // room for the sort mark too
    for (int column = 0; column < ServerListModel::ColumnCount; ++column)
        m_table->setColumnWidth(column, widths[column] * character);
    m_table->installEventFilter(this);

    m_players = new QTreeWidget(this);
    m_players->setObjectName(QStringLiteral("players"));
    m_players->setAccessibleName(tr("Players"));
    m_players->setHeaderLabels({tr("Name"), tr("Score"), tr("Ping")});
    m_players->setRootIsDecorated(false);
    // Score and ping always show; a long name gives way.
    QHeaderView *playerColumns = m_players->header();
    playerColumns->setStretchLastSection(false);
    playerColumns->setSectionResizeMode(0, QHeaderView::Stretch);
    playerColumns->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    playerColumns->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    m_playerActions = addFriendActions(*m_players);

    m_progress = new QLabel(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setAccessibleName(tr("Progress"));
    m_progress->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setMaximumWidth(160);
    m_progressBar->setTextVisible(false);
    m_progressBar->hide();
    m_refresh = new QPushButton(tr("Refresh"), this);
    m_addBookmark = new QPushButton(tr("Add to Bookmarks"), this);
    m_join = new QPushButton(tr("Join"), this);
    m_refresh->setObjectName(QStringLiteral("refresh"));
    m_addBookmark->setObjectName(QStringLiteral("addToBookmarks"));
    m_join->setObjectName(QStringLiteral("join"));

    auto *filters = new QHBoxLayout;
    filters->addWidget(m_filterText, 1);
    for (QWidget *control :
         {static_cast<QWidget *>(m_hideEmpty), static_cast<QWidget *>(m_hideFull),
          static_cast<QWidget *>(m_hideLocked), static_cast<QWidget *>(m_onlyMyVersion),
          static_cast<QWidget *>(m_friendsOnly)})
        filters->addWidget(control);
    filters->addSpacing(character * 2);
    filters->addWidget(versionLabel);
    filters->addWidget(m_version);
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(m_table);
    auto *side = new QSplitter(Qt::Vertical, split);
    side->addWidget(m_players);
    side->addWidget(buildFriendsPane());
    side->setStretchFactor(0, 3);
    side->setStretchFactor(1, 1);
    split->addWidget(side);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_progress, 1);
    bottom->addWidget(m_progressBar);
    bottom->addWidget(m_refresh);
    bottom->addWidget(m_addBookmark);
    bottom->addWidget(m_join);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);
    resize(character * 150, character * 70);
}

// The friends list under the players: a name to add, or the chosen one to remove.
QWidget *FindServers::buildFriendsPane()
{
    auto *pane = new QWidget(this);
    m_friendList = named(new QListWidget(pane), "friends");
    m_friendList->setAccessibleName(tr("Friends"));
    m_friendName = named(new QLineEdit(pane), "friendName");
    m_friendName->setAccessibleName(tr("Friend"));
    m_friendName->setPlaceholderText(tr("Name or [TAG]*"));
    m_addFriend = named(new QPushButton(tr("Add"), pane), "addFriendName");
    m_removeFriend = named(new QPushButton(tr("Remove"), pane), "removeFriendName");
    auto *label = new QLabel(tr("&Friends:"), pane);
    label->setBuddy(m_friendList);
    // The pane is narrow: the name gets a row of its own.
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_addFriend);
    buttons->addWidget(m_removeFriend);
    auto *layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(m_friendList, 1);
    layout->addWidget(m_friendName);
    layout->addLayout(buttons);
    return pane;
}

void FindServers::wireFriends()
{
    connect(m_addFriend, &QPushButton::clicked, this, [this] {
        editFriend(m_friendName->text().trimmed(), true);
        m_friendName->clear();
    });
    connect(m_friendName, &QLineEdit::returnPressed, m_addFriend, &QPushButton::click);
    connect(m_removeFriend, &QPushButton::clicked, this, [this] {
        if (const QListWidgetItem *chosen = m_friendList->currentItem())
            editFriend(chosen->text(), false);
    });
    connect(m_players, &QTreeWidget::currentItemChanged, this, &FindServers::offerPlayerActions);
    const auto playerName = [this] {
        const QTreeWidgetItem *player = m_players->currentItem();
        return player ? player->text(0) : QString();
    };
    connect(m_playerActions.add, &QAction::triggered, this,
            [this, playerName] { editFriend(playerName(), true); });
    connect(m_playerActions.remove, &QAction::triggered, this,
            [this, playerName] { editFriend(playerName(), false); });
}

// The main window reads the list again and gives it back through readFriends().
void FindServers::editFriend(const QString &name, bool befriend)
{
    if (name.isEmpty())
        return;
    emit friendsEdited(befriend ? addFriend(m_store, name) : removeFriend(m_store, name));
}

void FindServers::readFriends()
{
    const QStringList names = m_store.friends();
    m_friends = FriendList(names);
    m_friends.whenDecided(this, [this] { // players matched in later turns
        m_servers->setFriends(m_friends);
        showPlayers();
    });
    m_servers->setFriends(m_friends);
    m_friendList->clear();
    m_friendList->addItems(names);
    showPlayers();
}

void FindServers::offerPlayerActions()
{
    const QTreeWidgetItem *player = m_players->currentItem();
    offerFriendActions(m_playerActions, m_store, player ? player->text(0) : QString());
}

void FindServers::replied(quint64 server)
{
    const int row = m_servers->rowOf(server);
    if (row < 0)
        return;
    const FoundServer &found = m_servers->server(row);
    emit serverAnswered(found.addressText(), found.name, found.status);
}

void FindServers::wireEvents()
{
    connect(m_filterText, &QLineEdit::textChanged, this, &FindServers::applyFilter);
    for (QCheckBox *box : {m_hideEmpty, m_hideFull, m_hideLocked, m_onlyMyVersion, m_friendsOnly})
        connect(box, &QCheckBox::toggled, this, &FindServers::applyFilter);
    connect(m_version, &QComboBox::currentIndexChanged, this, &FindServers::versionChosen);
    connect(m_refresh, &QPushButton::clicked, this, [this] { fetch(true); });
    connect(m_addBookmark, &QPushButton::clicked, this, &FindServers::addSelectedToBookmarks);
    connect(m_join, &QPushButton::clicked, this, &FindServers::joinSelected);
    connect(m_table, &QTableView::doubleClicked, this, &FindServers::joinSelected);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &FindServers::showPlayers);
    connect(m_servers, &QAbstractItemModel::dataChanged, this, &FindServers::showPlayers);
    connect(m_masters, &MasterClient::serversListed, this, &FindServers::listed);
    connect(m_masters, &MasterClient::masterEnded, this, &FindServers::masterEnded);
    connect(m_masters, &MasterClient::finished, this, &FindServers::mastersFinished);
    connect(m_sweep, &ServerSweep::replied, m_servers, &ServerListModel::setReply);
    connect(m_sweep, &ServerSweep::replied, this, &FindServers::replied);
    connect(m_sweep, &ServerSweep::noReply, m_servers, &ServerListModel::setNoReply);
    connect(m_sweep, &ServerSweep::failed, this,
            [this](const QString &reason) { m_failures.append(tr("status queries: ") + reason); });
    m_progressTimer->setInterval(kProgressInterval);
    connect(m_progressTimer, &QTimer::timeout, this, &FindServers::showProgress);
}

void FindServers::restoreGeometry()
{
    const QSettings saved(m_options.geometryPath, QSettings::IniFormat);
    QWidget::restoreGeometry(saved.value(QStringLiteral("geometry")).toByteArray());
}

void FindServers::closeEvent(QCloseEvent *event)
{
    saveGeometryAndList();
    QWidget::closeEvent(event);
}

void FindServers::saveGeometryAndList() const
{
    QSettings saved(m_options.geometryPath, QSettings::IniFormat);
    saved.setValue(QStringLiteral("geometry"), saveGeometry());
    saveCache();
}

// A cache of another game version's list, or none that can be read, leaves the list empty.
void FindServers::loadCache()
{
    const std::optional<CachedList> cached = readServerCache(m_options.cachePath);
    if (!cached)
        return;
    m_masters->setAskedAt(cached->askedAt);
    if (cached->protocol == m_listProtocol) {
        m_servers->setServers(cached->servers);
        m_listTakenAt = newestAskedAt(cached->askedAt, m_listProtocol);
    }
}

void FindServers::saveCache() const
{
    writeServerCache(m_options.cachePath,
                     {m_listProtocol, m_masters->askedAt(), m_servers->servers()});
}

int FindServers::gameProtocol() const
{
    return m_version->currentData().toInt();
}

void FindServers::open()
{
    show();
    raise();
    activateWindow();
    if (m_opened)
        return;
    m_opened = true;
    fetch(false);
}

// The rows shown keep their place and are asked again; the masters add what is new.
void FindServers::fetch(bool refresh)
{
    m_failures.clear();
    m_mastersListed = 0;
    m_sweep->stop();
    m_sweep->ask(m_servers->restartAll());
    m_masters->fetch(m_options.masters, gameProtocol(), refresh);
    m_progressTimer->start();
    showProgress();
}

void FindServers::versionChosen()
{
    saveCache();
    m_listProtocol = gameProtocol();
    m_servers->setGameProtocol(m_listProtocol);
    m_servers->setServers({});
    m_listTakenAt = {};
    loadCache();
    emit gameProtocolChanged(gameProtocol());
    fetch(false);
}

void FindServers::listed(const QList<ServerAddress> &servers)
{
    m_sweep->ask(m_servers->addServers(servers));
}

void FindServers::masterEnded(const QString &master, const MasterOutcome &outcome)
{
    if (outcome.kind == MasterOutcome::Kind::Listed) {
        ++m_mastersListed;
        m_listTakenAt = QDateTime::currentDateTimeUtc();
    } else
        m_failures.append(master + QStringLiteral(": ") + outcomeWords(outcome));
}

void FindServers::mastersFinished(bool)
{
    showProgress();
}

// The line is read out by its description: its name stays "Progress".
void FindServers::showProgress()
{
    const int total = m_servers->rowCount();
    const bool working = m_masters->isFetching() || !m_sweep->isIdle();
    BrowserProgress progress{total, m_mastersListed, {}, m_servers->answered(), m_failures};
    if (m_mastersListed == 0 && total > 0 && m_listTakenAt.isValid())
        progress.keptListAge = seconds(m_listTakenAt.secsTo(QDateTime::currentDateTimeUtc()));
    const QString text = progressWords(progress);
    if (text != m_progress->text()) { // a reader hears each change once
        m_progress->setText(text);
        m_progress->setAccessibleDescription(text);
    }
    m_progressBar->setVisible(working);
    m_progressBar->setRange(0, std::max(total, 1));
    m_progressBar->setValue(m_servers->settled());
    if (!working) {
        m_progressTimer->stop();
        saveCache();
        emit sweepEnded();
    }
}

void FindServers::applyFilter()
{
    m_filter->setText(m_filterText->text());
    m_filter->setSwitches({m_hideEmpty->isChecked(), m_hideFull->isChecked(),
                           m_hideLocked->isChecked(), m_onlyMyVersion->isChecked(),
                           m_friendsOnly->isChecked()});
}

std::optional<int> FindServers::selectedRow() const
{
    const QModelIndex current = m_table->selectionModel()->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return m_filter->mapToSource(current).row();
}

void FindServers::showPlayers()
{
    m_players->clear();
    const std::optional<int> row = selectedRow();
    if (!row)
        return;
    QList<QTreeWidgetItem *> items;
    for (const FoundPlayer &player : m_servers->server(*row).players) {
        auto *item = new QTreeWidgetItem(
            {player.name, QString::number(player.score), QString::number(player.ping)});
        item->setTextAlignment(1, Qt::AlignRight);
        item->setTextAlignment(2, Qt::AlignRight);
        item->setFont(0, playerFont(m_players->font(), m_friends, player.name));
        items.append(item);
    }
    m_players->addTopLevelItems(items);
}

void FindServers::addSelectedToBookmarks()
{
    if (const std::optional<int> row = selectedRow()) {
        const FoundServer &server = m_servers->server(*row);
        emit addBookmarkRequested(server.name.isEmpty() ? server.addressText() : server.name,
                                  server.addressText());
    }
}

void FindServers::joinSelected()
{
    if (const std::optional<int> row = selectedRow())
        joinRow(*row);
}

// Chosen, then joined as a double click on its row would: the same questions come first.
void FindServers::joinListed(const QString &address)
{
    const std::optional<StatusTarget> target = statusTarget(address);
    const int row = target
        ? m_servers->rowOf(ServerAddress{target->host.toIPv4Address(), target->port}.key())
        : -1;
    if (row < 0)
        return;
    m_table->setCurrentIndex(m_filter->mapFromSource(m_servers->index(row, 0)));
    joinRow(row);
}

void FindServers::joinRow(int row)
{
    const FoundServer server = m_servers->server(row);
    const QString name = server.name.isEmpty() ? server.addressText() : server.name;
    if (!confirmVersion(server))
        return;
    QString password;
    if (server.status.state == BookmarkStatus::State::Answered && server.status.server.password) {
        const std::optional<QString> typed = m_dialogs.password(tr(kPasswordPrompt).arg(name));
        if (!typed)
            return;
        password = *typed;
    }
    emit joinRequested(name, server.addressText(), password);
}

bool FindServers::confirmVersion(const FoundServer &server)
{
    const BookmarkStatus::Server &figures = server.status.server;
    if (server.status.state != BookmarkStatus::State::Answered
        || !runsOtherVersion(figures, gameProtocol()))
        return true;
    const QString question =
        tr(kOtherVersionQuestion)
            .arg(server.name.isEmpty() ? server.addressText() : server.name,
                 versionOfProtocol(*figures.protocol).value_or(QString::number(*figures.protocol)),
                 m_version->currentText());
    return m_dialogs.message(question, Dialogs::Buttons::YesNo, Dialogs::Icon::None)
        == Dialogs::Answer::Yes;
}

bool FindServers::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            joinSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
