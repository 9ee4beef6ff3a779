// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/findservers.h"

#include "app/foundserverdelegate.h"
#include "app/joinlinkaction.h"
#include "app/windowcontrols.h"
#include "platform/dialogs.h"
#include "query/games.h"
#include "servers/browserprogress.h"
#include "servers/serverbrowser.h"
#include "servers/serverfilter.h"
#include "servers/serverlistmodel.h"
#include "settings/appsettings.h"

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
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr char kOtherVersionQuestion[] = QT_TRANSLATE_NOOP(
    "FindServers", "%1 runs game version %2; your game is %3. Join anyway?");
constexpr char kOtherGameQuestion[] = QT_TRANSLATE_NOOP("FindServers",
                                                        "%1 runs %2, not %3. Join anyway?");
constexpr char kPasswordPrompt[] = QT_TRANSLATE_NOOP("FindServers", "Password for %1:");

QCheckBox *checkBox(const QString &caption, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setAccessibleName(box->text());
    return box;
}

} // namespace

FindServers::FindServers(Dialogs &dialogs, ServerBrowser &browser, QWidget *parent)
    : QWidget(parent, Qt::Window),
      m_dialogs(dialogs),
      m_browser(browser)
{
    setObjectName(QStringLiteral("findServers"));
    setWindowTitle(tr("Find Servers"));
    // The main window's end ends the program, whether this window is open or not.
    setAttribute(Qt::WA_QuitOnClose, false);
    buildControls();
    wireEvents();
    wireFriends();
    showFriends(m_browser.settings().friends());
}

void FindServers::buildControls()
{
    m_filterText = new QLineEdit(this);
    m_filterText->setObjectName(QStringLiteral("filter"));
    m_filterText->setAccessibleName(tr("Filter"));
    m_filterText->setPlaceholderText(tr("Filter"));
    m_filterText->setClearButtonEnabled(true);
    // The check boxes and the game's choices would otherwise leave the field no room to type in.
    m_filterText->setMinimumWidth(fontMetrics().averageCharWidth() * 16);
    m_hideEmpty = checkBox(tr("Hide empty"), this);
    m_hideFull = checkBox(tr("Hide full"), this);
    m_hideLocked = checkBox(tr("Hide locked"), this);
    m_onlyMyVersion = checkBox(tr("Only my version"), this);
    m_friendsOnly = checkBox(tr("Friends only"), this);
    m_game = new QComboBox(this);
    m_game->setObjectName(QStringLiteral("game"));
    m_game->setAccessibleName(tr("Game"));
    for (const Game &game : games())
        m_game->addItem(QString::fromLatin1(game.name), int(game.id));
    m_game->setCurrentIndex(int(m_browser.played().game));
    auto *gameLabel = new QLabel(tr("Game:"), this);
    gameLabel->setBuddy(m_game);
    m_version = new QComboBox(this);
    m_version->setObjectName(QStringLiteral("gameVersion"));
    m_version->setAccessibleName(tr("Game version"));
    listVersions(m_browser.played());
    auto *versionLabel = new QLabel(tr("Game version:"), this);
    versionLabel->setBuddy(m_version);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("servers"));
    m_table->setAccessibleName(tr("Servers"));
    m_table->setModel(&m_browser.filter());
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
    const int widths[] = {34, 11, 8, 10, 17, 7, 10, 10}; // room for the sort mark too
    for (int column = 0; column < ServerListModel::ColumnCount; ++column)
        m_table->setColumnWidth(column, widths[column] * character);
    m_table->installEventFilter(this);
    addCopyJoinLink(*m_table, [this](const QModelIndex &row) {
        return m_browser.servers().server(m_browser.filter().mapToSource(row).row()).addressText();
    });

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
    m_lan = checkBox(tr("LAN"), this);
    m_lan->setObjectName(QStringLiteral("lan"));
    m_lan->setToolTip(tr("Also look for servers on your own networks"));
    m_lan->setChecked(m_browser.scansLan());
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
    filters->addWidget(gameLabel);
    filters->addWidget(m_game);
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
    bottom->addWidget(m_lan);
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
    connect(&m_browser, &ServerBrowser::friendsRead, this, &FindServers::showFriends);
    connect(&m_browser, &ServerBrowser::friendsMatched, this, &FindServers::showPlayers);
    connect(m_addFriend, &QPushButton::clicked, this, [this] {
        m_browser.editFriend(m_friendName->text().trimmed(), true);
        m_friendName->clear();
    });
    connect(m_friendName, &QLineEdit::returnPressed, m_addFriend, &QPushButton::click);
    connect(m_removeFriend, &QPushButton::clicked, this, [this] {
        if (const QListWidgetItem *chosen = m_friendList->currentItem())
            m_browser.editFriend(chosen->text(), false);
    });
    connect(m_players, &QTreeWidget::currentItemChanged, this, &FindServers::offerPlayerActions);
    const auto playerName = [this] {
        const QTreeWidgetItem *player = m_players->currentItem();
        return player ? player->text(0) : QString();
    };
    connect(m_playerActions.add, &QAction::triggered, this,
            [this, playerName] { m_browser.editFriend(playerName(), true); });
    connect(m_playerActions.remove, &QAction::triggered, this,
            [this, playerName] { m_browser.editFriend(playerName(), false); });
}

void FindServers::showFriends(const QStringList &names)
{
    m_friendList->clear();
    m_friendList->addItems(names);
}

void FindServers::offerPlayerActions()
{
    const QTreeWidgetItem *player = m_players->currentItem();
    offerFriendActions(m_playerActions, m_browser.settings(), player ? player->text(0) : QString());
}

void FindServers::wireEvents()
{
    connect(m_filterText, &QLineEdit::textChanged, this, &FindServers::applyFilter);
    for (QCheckBox *box : {m_hideEmpty, m_hideFull, m_hideLocked, m_onlyMyVersion, m_friendsOnly})
        connect(box, &QCheckBox::toggled, this, &FindServers::applyFilter);
    connect(m_game, &QComboBox::currentIndexChanged, this, &FindServers::gameChosen);
    connect(m_version, &QComboBox::currentIndexChanged, this, &FindServers::versionChosen);
    connect(m_lan, &QCheckBox::toggled, &m_browser, &ServerBrowser::setLanScan);
    connect(m_refresh, &QPushButton::clicked, this, [this] { m_browser.fetch(true); });
    connect(m_addBookmark, &QPushButton::clicked, this, &FindServers::addSelectedToBookmarks);
    connect(m_join, &QPushButton::clicked, this, &FindServers::joinSelected);
    connect(m_table, &QTableView::doubleClicked, this, &FindServers::joinSelected);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &FindServers::showPlayers);
    connect(&m_browser.servers(), &QAbstractItemModel::dataChanged, this,
            &FindServers::showPlayers);
    connect(&m_browser, &ServerBrowser::progressChanged, this, &FindServers::showProgress);
}

void FindServers::closeEvent(QCloseEvent *event)
{
    emit closed();
    QWidget::closeEvent(event);
}

void FindServers::open()
{
    show();
    raise();
    activateWindow();
    if (m_opened)
        return;
    m_opened = true;
    m_browser.fetch(false);
}

// The versions of the game, the one played chosen.
void FindServers::listVersions(PlayedVersion played)
{
    const QSignalBlocker quiet(m_version);
    m_version->clear();
    for (const GameVersion &version : gameOf(played.game).versions)
        m_version->addItem(QString::fromLatin1(version.name), version.protocol);
    m_version->setCurrentIndex(std::max(0, m_version->findData(played.protocol)));
}

// The game's list in the version its player plays.
void FindServers::gameChosen()
{
    const PlayedVersion played = m_browser.playedOf(GameId(m_game->currentData().toInt()));
    listVersions(played);
    m_browser.choose(played);
}

void FindServers::versionChosen()
{
    const PlayedVersion played{m_browser.played().game, m_version->currentData().toInt()};
    m_browser.choose(played);
    emit playedVersionChosen(played);
}

// The line is read out by its description: its name stays "Progress".
void FindServers::showProgress()
{
    const QString text = progressWords(m_browser.progress());
    if (text != m_progress->text()) { // a reader hears each change once
        m_progress->setText(text);
        m_progress->setAccessibleDescription(text);
    }
    const ServerListModel &servers = m_browser.servers();
    m_progressBar->setVisible(m_browser.isWorking());
    m_progressBar->setRange(0, std::max(servers.rowCount(), 1));
    m_progressBar->setValue(servers.settled());
}

void FindServers::applyFilter()
{
    ServerFilter &filter = m_browser.filter();
    filter.setText(m_filterText->text());
    filter.setSwitches({m_hideEmpty->isChecked(), m_hideFull->isChecked(),
                        m_hideLocked->isChecked(), m_onlyMyVersion->isChecked(),
                        m_friendsOnly->isChecked()});
}

std::optional<int> FindServers::selectedRow() const
{
    const QModelIndex current = m_table->selectionModel()->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return m_browser.filter().mapToSource(current).row();
}

void FindServers::showPlayers()
{
    m_players->clear();
    const std::optional<int> row = selectedRow();
    if (!row)
        return;
    QList<QTreeWidgetItem *> items;
    for (const FoundPlayer &player : m_browser.servers().server(*row).players) {
        auto *item = new QTreeWidgetItem(
            {player.name, QString::number(player.score), QString::number(player.ping)});
        item->setTextAlignment(1, Qt::AlignRight);
        item->setTextAlignment(2, Qt::AlignRight);
        item->setFont(0, playerFont(m_players->font(), m_browser.friends(), player.name));
        items.append(item);
    }
    m_players->addTopLevelItems(items);
}

void FindServers::addSelectedToBookmarks()
{
    if (const std::optional<int> row = selectedRow()) {
        const FoundServer &server = m_browser.servers().server(*row);
        emit addBookmarkRequested(server.displayName(), server.addressText(),
                                  m_browser.played().game);
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
    const std::optional<int> row = m_browser.rowOf(address);
    if (!row)
        return;
    m_table->setCurrentIndex(m_browser.filter().mapFromSource(m_browser.servers().index(*row, 0)));
    joinRow(*row);
}

void FindServers::joinRow(int row)
{
    const FoundServer server = m_browser.servers().server(row);
    const QString name = server.displayName();
    if (!confirmVersion(server))
        return;
    QString password;
    if (server.status.state == BookmarkStatus::State::Answered && server.status.server.password) {
        const std::optional<QString> typed = m_dialogs.password(tr(kPasswordPrompt).arg(name));
        if (!typed)
            return;
        password = *typed;
    }
    emit joinRequested(name, server.addressText(), password, m_browser.played().game);
}

bool FindServers::confirmVersion(const FoundServer &server)
{
    const BookmarkStatus::Server &figures = server.status.server;
    const PlayedVersion played = m_browser.played();
    if (server.status.state != BookmarkStatus::State::Answered
        || !runsOtherVersion(figures, played))
        return true;
    const Game &game = gameOf(played.game);
    const std::optional<GameId> other = otherGame(figures, played.game);
    const QString question = other
        ? tr(kOtherGameQuestion)
              .arg(server.displayName(), QLatin1String(gameOf(*other).name),
                   QLatin1String(game.name))
        : tr(kOtherVersionQuestion)
              .arg(server.displayName(),
                   versionOfProtocol(game, *figures.protocol)
                       .value_or(QString::number(*figures.protocol)),
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
