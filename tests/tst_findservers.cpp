// SPDX-License-Identifier: GPL-3.0-or-later
// The server browser on a whole window: a fake master and fake servers on loopback.
#include "fakemaster.h"
#include "fakestatusserver.h"
#include "lannamespaces.h"
#include "longfriendlist.h"
#include "windowharness.h"

#include "bookmarks/bookmarkmodel.h"
#include "app/findservers.h"
#include "settings/appsettings.h"
#include "friends/friendalerts.h"
#include "friends/friendsettings.h"
#include "servers/serverbrowser.h"
#include "servers/servercache.h"
#include "servers/serverlistmodel.h"
#include "storage/keyvaluestore.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDirIterator>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QHeaderView>
#include <QTreeWidget>

using namespace std::chrono_literals;

namespace {

QByteArray masterList(const QList<const FakeStatusServer *> &servers)
{
    QList<ServerEndpoint> listed;
    for (const FakeStatusServer *server : servers)
        listed.append(ServerEndpoint::of(server->address(), server->port()));
    return masterDatagram(listed);
}

QByteArray reply(const QString &info, int players)
{
    QStringList lines{info};
    for (int i = 0; i < players; ++i)
        lines.append(QStringLiteral(R"(%1 %2 "^1Player%3")").arg(i * 10).arg(40 + i).arg(i));
    return FakeStatusServer::statusReply(lines);
}

// The table's rows as shown, but for the ping, which varies:
// "Name|Players|Country|Map|Type|Version|Mod".
QStringList shownRows(const QTableView &table)
{
    QStringList rows;
    const QAbstractItemModel &model = *table.model();
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column) {
            if (column != ServerListModel::Ping)
                cells.append(model.index(row, column).data().toString());
        }
        rows.append(cells.join(u'|'));
    }
    return rows;
}

QStringList shownNames(const QTableView &table)
{
    QStringList names;
    for (int row = 0; row < table.model()->rowCount(); ++row)
        names.append(table.model()->index(row, 0).data().toString());
    return names;
}

} // namespace

class tst_FindServers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsAndSorts();
    void filters_data();
    void filters();
    void addToBookmarks();
    void friends();
    void friendsSummedUpAfterFive();
    void friendsOnlyAndThePlayerPane();
    void friendsMatchedInLaterTurns();
    void join_data();
    void join();
    void reopenedFromTheCache();
    void otherGame();
    void lanServers_data();
    void lanServers();
    void cleanupTestCase();

private:
    template<typename T>
    T *control(const char *name)
    {
        return m_browser->findChild<T *>(QLatin1String(name));
    }
    void answerOnce(int morePlayers = 0);
    void selectServer(const QString &name);
    QModelIndex serverIndex(const QString &name);
    QImage nameCell(const QString &name);

    QTemporaryDir m_cache;
    std::unique_ptr<FakeStatusServer> m_master;
    std::unique_ptr<FakeStatusServer> m_harbor, m_locked, m_newer, m_silent;
    std::unique_ptr<WindowHarness> m_harness;
    FindServers *m_browser = nullptr;
    QTableView *m_table = nullptr;
};

void tst_FindServers::initTestCase()
{
    qputenv("XDG_CACHE_HOME", m_cache.path().toLocal8Bit());
    m_master = std::make_unique<FakeStatusServer>(2);
    m_harbor = std::make_unique<FakeStatusServer>(3);
    m_locked = std::make_unique<FakeStatusServer>(4);
    m_newer = std::make_unique<FakeStatusServer>(5);
    m_silent = std::make_unique<FakeStatusServer>(6);
    answerOnce();
    m_harness = std::make_unique<WindowHarness>();
    m_harness->storeGamePath();
    QSettings settings(m_harness->settingsPath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("settings/masters"), m_master->addressText());
    settings.sync();
    StartOptions options;
    options.commandLine = QStringLiteral("/debug");
    options.masters = {100ms, 300ms, 2000ms};
    options.sweep = {1000, 200ms, 600ms};
    options.exchange.reply = 1000ms;
    m_harness->start(options).show();
    m_harness->find<QAction>("menu_find")->trigger();
    for (QWidget *window : QApplication::topLevelWidgets())
        m_browser = m_browser ? m_browser : qobject_cast<FindServers *>(window);
    QVERIFY(m_browser);
    QVERIFY(m_browser->isVisible());
    QCOMPARE(m_browser->windowTitle(), QStringLiteral("Find Servers"));
    m_table = control<QTableView>("servers");
    auto *progress = control<QLabel>("progress");
    QTRY_VERIFY(progress->text().startsWith(QStringLiteral("4 servers from 1 master, 3 answered")));
    // A screen reader hears the line by its name and its description.
    QAccessibleInterface *line = QAccessible::queryAccessibleInterface(progress);
    QCOMPARE(line->text(QAccessible::Name), QStringLiteral("Progress"));
    QCOMPARE(line->text(QAccessible::Description), progress->text());
}

// The master lists the four servers; all but the silent one answer, Harbor and Locked with
// `morePlayers` more than their nine and ten.
void tst_FindServers::answerOnce(int morePlayers)
{
    m_master->answerNext(
        masterList({m_harbor.get(), m_locked.get(), m_newer.get(), m_silent.get()}));
    m_harbor->answerNext(reply(QStringLiteral(R"(\sv_hostname\^2Harbor\mapname\mp_harbor)"
                                              R"(\sv_maxclients\20\g_gametype\sd\protocol\1)"
                                              R"(\shortversion\1.1)"),
                               9 + morePlayers));
    m_locked->answerNext(reply(QStringLiteral(R"(\sv_hostname\Locked\mapname\mp_carentan)"
                                              R"(\sv_maxclients\10\g_needpass\1\protocol\1)"
                                              R"(\fs_game\awe)"),
                               10 + morePlayers));
    m_newer->answerNext(reply(QStringLiteral(R"(\sv_hostname\Newer\mapname\mp_dawnville)"
                                             R"(\sv_maxclients\16\protocol\6\shortversion\1.5)"),
                              0));
}

void tst_FindServers::listsAndSorts()
{
    m_table->sortByColumn(ServerListModel::Players, Qt::DescendingOrder);
    QTRY_COMPARE(
        shownRows(*m_table),
        QStringList({"Locked|10/10|LAN|mp_carentan|||awe", "Harbor|9/20|LAN|mp_harbor|sd|1.1|",
                     "Newer|0/16|LAN|mp_dawnville||1.5|",
                     QStringLiteral("127.0.0.6:%1|no reply|LAN||||").arg(m_silent->port())}));
    const QModelIndex newer = m_table->model()->index(2, 0);
    QCOMPARE(newer.data(Qt::AccessibleDescriptionRole).toString().section(u',', 0, 0),
             QStringLiteral("0/16 players"));
    QVERIFY(newer.data(Qt::AccessibleDescriptionRole)
                .toString()
                .endsWith(QStringLiteral(", map mp_dawnville, other version 1.5, LAN")));
    QVERIFY(m_table->model()
                ->index(0, 0)
                .data(Qt::AccessibleDescriptionRole)
                .toString()
                .endsWith(QStringLiteral(", map mp_carentan, password required, full, LAN")));
    m_table->sortByColumn(ServerListModel::Ping, Qt::AscendingOrder);
    QVERIFY(shownRows(*m_table).last().startsWith(QStringLiteral("127.0.0.6")));
    selectServer(QStringLiteral("Harbor"));
    auto *players = control<QTreeWidget>("players");
    QCOMPARE(players->topLevelItemCount(), 9);
    QCOMPARE(players->topLevelItem(8)->text(0) + u' ' + players->topLevelItem(8)->text(1) + u' '
                 + players->topLevelItem(8)->text(2),
             QStringLiteral("Player8 80 48"));
    QVERIFY(players->header()->length() <= players->viewport()->width()); // ping not cut off
}

void tst_FindServers::filters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("switchName");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("map, any case") << "MP_HAR"
                                   << "" << QStringList{"Harbor"};
    QTest::newRow("player, colour codes typed") << "^1player9"
                                                << "" << QStringList{"Locked"};
    QTest::newRow("mod") << "awe"
                         << "" << QStringList{"Locked"};
    QTest::newRow("country: the local network")
        << "lan"
        << "" << QStringList{"127.0.0.6", "Harbor", "Locked", "Newer"};
    QTest::newRow("hide empty") << ""
                                << "Hide empty" << QStringList{"Harbor", "Locked"};
    QTest::newRow("hide full") << ""
                               << "Hide full" << QStringList{"127.0.0.6", "Harbor", "Newer"};
    QTest::newRow("hide locked") << ""
                                 << "Hide locked" << QStringList{"127.0.0.6", "Harbor", "Newer"};
    QTest::newRow("only my version") << ""
                                     << "Only my version" << QStringList{"Harbor", "Locked"};
}

void tst_FindServers::filters()
{
    QFETCH(QString, text);
    QFETCH(QString, switchName);
    QFETCH(QStringList, shown);
    auto *filter = control<QLineEdit>("filter");
    QTest::keyClicks(filter, text);
    QCheckBox *box = nullptr;
    for (QCheckBox *candidate : m_browser->findChildren<QCheckBox *>())
        box = candidate->text() == switchName ? candidate : box;
    if (box)
        box->click();
    QStringList names = shownNames(*m_table);
    for (QString &name : names)
        name = name.section(u':', 0, 0);
    names.sort();
    if (box)
        box->click();
    filter->clear();
    QCOMPARE(names, shown);
}

QModelIndex tst_FindServers::serverIndex(const QString &name)
{
    const QModelIndexList found = m_table->model()->match(m_table->model()->index(0, 0),
                                                          Qt::DisplayRole, name);
    return found.value(0);
}

void tst_FindServers::selectServer(const QString &name)
{
    const QModelIndex found = serverIndex(name);
    QVERIFY(found.isValid());
    m_table->setCurrentIndex(found);
}

QImage tst_FindServers::nameCell(const QString &name)
{
    return m_table->viewport()->grab(m_table->visualRect(serverIndex(name))).toImage();
}

void tst_FindServers::addToBookmarks()
{
    selectServer(QStringLiteral("Harbor"));
    auto *add = control<QPushButton>("addToBookmarks");
    add->click();
    add->click();
    const auto store = m_harness->reopenStore();
    QCOMPARE(store->read(QStringLiteral("Harbor"), QStringLiteral("ip")), m_harbor->addressText());
    QCOMPARE(store->read(QStringLiteral("Harbor (2)"), QStringLiteral("ip")),
             m_harbor->addressText());
    QCOMPARE(m_harness->bookmarkIndex(m_harness->currentBookmark()).data().toString(),
             QStringLiteral("Harbor (2)"));
    QCOMPARE(m_harness->find<QLineEdit>("server_ip")->text(), m_harbor->addressText());
    // The list's own refresh of the new rows ends before the joins ask these servers.
    QTRY_VERIFY(m_harness->bookmarkIndex(1).data(roleId(BookmarkRole::Status)).isValid());

    // Both lists put the chosen server's link on the clipboard, a sorted row's own.
    const QString link = QStringLiteral("cod://") + m_harbor->addressText();
    for (QWidget *list :
         {static_cast<QWidget *>(m_table), static_cast<QWidget *>(m_harness->bookmarkList())}) {
        QGuiApplication::clipboard()->clear();
        list->findChild<QAction *>(QStringLiteral("copyJoinLink"))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), link);
    }
}

// Added in the "Friends" list, a friend is stored, known to the main window's alerts, marked and
// named on the row of the server it is on, and told of once as the server answers again.
void tst_FindServers::friends()
{
    const QImage unmarked = nameCell(QStringLiteral("Locked"));
    control<QLineEdit>("friendName")->setText(QStringLiteral("^3PLAYER9"));
    control<QPushButton>("addFriendName")->click();
    QCOMPARE(AppSettings(*m_harness->reopenStore()).friends(), QStringList{"^3PLAYER9"});
    QCOMPARE(control<QListWidget>("friends")->count(), 1);
    QCOMPARE(
        m_harness->find<FriendAlerts>("friendAlerts")->friends().match(QStringLiteral("Player9")),
        FriendList::Match::Named);
    const QModelIndex locked = serverIndex(QStringLiteral("Locked"));
    QCOMPARE(locked.data(roleId(FoundServerRole::FriendCount)).toInt(), 1);
    QCOMPARE(
        serverIndex(QStringLiteral("Harbor")).data(roleId(FoundServerRole::FriendCount)).toInt(),
        0);
    for (const int role : {int(Qt::ToolTipRole), int(Qt::AccessibleDescriptionRole)})
        QVERIFY(locked.data(role).toString().endsWith(QStringLiteral("; friends: Player9")));
    // The mark goes at the end of the cell; the lock and the name stay as they were.
    const QImage marked = nameCell(QStringLiteral("Locked"));
    const int half = marked.width() / 2;
    QCOMPARE(marked.copy(0, 0, half, marked.height()), unmarked.copy(0, 0, half, marked.height()));
    QVERIFY(marked.copy(half, 0, half, marked.height())
            != unmarked.copy(half, 0, half, marked.height()));

    answerOnce();
    control<QPushButton>("refresh")->click();
    QTRY_COMPARE(m_harness->notifier.shown.size(), 1);
    const DesktopNotification &told = m_harness->notifier.shown.constFirst();
    QCOMPARE(told.summary, QStringLiteral("Player9 is playing"));
    QCOMPARE(told.body, QStringLiteral(u"Locked \u2014 10/10 players, mp_carentan"));
    QCOMPARE(told.actionKey, m_locked->addressText());
    QTRY_VERIFY(!m_browser->findChild<QProgressBar *>()->isVisible());
    QCOMPARE(m_harness->notifier.shown.size(), 1);
}

// Eighteen more friends in one sweep: five told of, the rest summed up as the sweep ends, as
// after a refresh of the bookmarks.
void tst_FindServers::friendsSummedUpAfterFive()
{
    control<QLineEdit>("friendName")->setText(QStringLiteral("player*"));
    control<QPushButton>("addFriendName")->click();
    answerOnce();
    control<QPushButton>("refresh")->click();
    QTRY_COMPARE(m_harness->notifier.shown.size(), 7);
    QCOMPARE(m_harness->notifier.shown.last().summary, QStringLiteral("and 13 more"));
    QTRY_VERIFY(!m_browser->findChild<QProgressBar *>()->isVisible());
    auto *friendList = control<QListWidget>("friends");
    friendList->setCurrentRow(1);
    control<QPushButton>("removeFriendName")->click();
    QCOMPARE(AppSettings(*m_harness->reopenStore()).friends(), QStringList{"^3PLAYER9"});
}

// "Friends only" picks the friend's server, where the friend is bold in the player pane; the
// pane's menu removes the friend again.
void tst_FindServers::friendsOnlyAndThePlayerPane()
{
    QCheckBox *friendsOnly = nullptr;
    for (QCheckBox *candidate : m_browser->findChildren<QCheckBox *>())
        friendsOnly = candidate->text() == QLatin1String("Friends only") ? candidate : friendsOnly;
    QVERIFY(friendsOnly);
    friendsOnly->click();
    QCOMPARE(shownNames(*m_table), QStringList{"Locked"});
    selectServer(QStringLiteral("Locked"));
    auto *players = control<QTreeWidget>("players");
    const QList<QTreeWidgetItem *> nine = players->findItems(QStringLiteral("Player9"),
                                                             Qt::MatchExactly);
    QCOMPARE(nine.size(), 1);
    QVERIFY(nine.first()->font(0).bold());
    QVERIFY(!players->topLevelItem(0)->font(0).bold());
    players->setCurrentItem(nine.first());
    auto *remove = players->findChild<QAction *>(QStringLiteral("removeFriend"));
    QVERIFY(remove->isVisible());
    remove->trigger();
    QVERIFY(AppSettings(*m_harness->reopenStore()).friends().isEmpty());
    QCOMPARE(control<QListWidget>("friends")->count(), 0);
    QVERIFY(shownNames(*m_table).isEmpty());
    friendsOnly->click();
}

// Behind 9,999 patterns that search every player, the rows' matching takes later turns of the
// event loop: the rows are marked as their friends are found.
void tst_FindServers::friendsMatchedInLaterTurns()
{
    const auto storeList = [this](const QStringList &friends) {
        QVERIFY(AppSettings(m_harness->store()).setFriends(friends));
        emit m_harness->window().findChild<ServerBrowser *>()->friendsEdited(true);
    };
    const auto friendsMarked = [this] {
        return serverIndex(QStringLiteral("Harbor"))
                   .data(roleId(FoundServerRole::FriendCount))
                   .toInt()
            + serverIndex(QStringLiteral("Locked"))
                  .data(roleId(FoundServerRole::FriendCount))
                  .toInt();
    };
    storeList(patternsNamingNobody(QStringLiteral("player"), 7) << QStringLiteral("*yer*"));
    answerOnce(20);
    control<QPushButton>("refresh")->click();
    // The matching's turns take long in a sanitizer's build: no speed is checked here.
    QTRY_COMPARE_WITH_TIMEOUT(friendsMarked(), 29 + 30, 60'000);
    QTRY_VERIFY(!m_browser->findChild<QProgressBar *>()->isVisible());
    storeList({});
}

void tst_FindServers::join_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QList<Dialogs::Answer>>("answers");
    QTest::addColumn<std::optional<QString>>("password"); // typed; nullopt: Cancel
    QTest::addColumn<bool>("joined");
    QTest::addColumn<QString>("pass");
    QTest::addColumn<bool>("fromNotice"); // "Join" on a friend's notification, not Enter
    const QList<Dialogs::Answer> none;
    QTest::newRow("plain") << "Harbor" << QList{Dialogs::Answer::Ok} << std::optional<QString>()
                           << true << "" << false;
    QTest::newRow("password typed")
        << "Locked" << QList{Dialogs::Answer::Ok} << std::optional<QString>("secret") << true
        << "secret" << false;
    QTest::newRow("password cancelled")
        << "Locked" << none << std::optional<QString>() << false << "" << false;
    QTest::newRow("other version, No") << "Newer" << QList{Dialogs::Answer::No}
                                       << std::optional<QString>() << false << "" << false;
    QTest::newRow("other version, Yes")
        << "Newer" << QList{Dialogs::Answer::Yes, Dialogs::Answer::Ok} << std::optional<QString>()
        << true << "" << false;
    QTest::newRow("not a bookmark, from a notification")
        << "Locked" << QList{Dialogs::Answer::Ok} << std::optional<QString>("secret") << true
        << "secret" << true;
}

void tst_FindServers::join()
{
    QFETCH(QString, server);
    QFETCH(QList<Dialogs::Answer>, answers);
    QFETCH(std::optional<QString>, password);
    QFETCH(bool, joined);
    QFETCH(QString, pass);
    QFETCH(bool, fromNotice);
    ScriptedDialogs &dialogs = m_harness->dialogs;
    dialogs.messages.clear();
    for (const Dialogs::Answer answer : answers)
        dialogs.answerNext(answer);
    if (server == QLatin1String("Locked"))
        dialogs.typePasswordNext(password);
    FakeStatusServer &fake = server == QLatin1String("Harbor") ? *m_harbor
        : server == QLatin1String("Locked")                    ? *m_locked
                                                               : *m_newer;
    fake.answerNext(reply(QStringLiteral(R"(\sv_hostname\%1\sv_maxclients\64)").arg(server), 1));
    if (fromNotice) {
        emit m_harness->notifier.actionInvoked(fake.addressText());
    } else {
        selectServer(server);
        QTest::keyClick(m_table, Qt::Key_Return);
    }
    QTest::qWait(300);
    QVERIFY2(dialogs.texts().contains(QStringLiteral("Launched game....")) == joined,
             qPrintable(dialogs.texts().join(u'/')));
    if (!joined)
        return;
    QCOMPARE(m_harness->find<QLineEdit>("server_ip")->text(), fake.addressText());
    QCOMPARE(m_harness->find<QLineEdit>("server_pass")->text(), pass);
    if (server == QLatin1String("Newer"))
        QCOMPARE(dialogs.texts().first(),
                 QStringLiteral("Newer runs game version 1.5; your game is 1.1. Join anyway?"));
}

// A second browser shows the last list at once and spares the master asked a moment ago; another
// game version is another list, asked for at once.
void tst_FindServers::reopenedFromTheCache()
{
    QTRY_VERIFY(!m_browser->findChild<QProgressBar *>()->isVisible()); // done, the list kept
    const qsizetype asked = m_master->received.size();
    const auto store = m_harness->reopenStore();
    AppSettings settings(*store);
    ServerBrowserOptions options;
    options.masterBounds = {100ms, 300ms, 2000ms};
    options.sweepBounds = {1000, 200ms, 600ms};
    ServerBrowser browser(settings, options);
    FindServers again(m_harness->dialogs, browser);
    const ServerListModel *rows = &browser.servers();
    QCOMPARE(rows->rowCount(), 4);
    QCOMPARE(rows->answered(), 3);
    again.open();
    QTest::qWait(50);
    QCOMPARE(m_master->received.size(), asked);
    QVERIFY(again.findChild<QLabel *>(QStringLiteral("progress"))
                ->text()
                .startsWith(QStringLiteral("4 servers from the cache, less than 1 min old, ")));
    again.findChild<QComboBox *>(QStringLiteral("gameVersion"))->setCurrentIndex(4);
    QTRY_COMPARE(m_master->received.size(), asked + 1);
    QCOMPARE(m_master->received.last().data, QByteArray("\xff\xff\xff\xffgetservers 6 full empty"));
    QCOMPARE(rows->rowCount(), 0);
}

// Each game has its masters, asked at the game's master port unless they name one, its versions
// and its list in a cache of its own; a server added to the bookmarks is of the game shown, and
// the game left comes back with its list.
void tst_FindServers::otherGame()
{
    FakeStatusServer master(7, gameOf(GameId::Cod2).masterPort);
    FakeStatusServer dunes(8);
    master.answerNext(masterList({&dunes}));
    for (int answer = 0; answer < 2; ++answer) // to the browser, then to the bookmark's refresh
        dunes.answerNext(reply(QStringLiteral(R"(\sv_hostname\Dunes\sv_maxclients\24)"
                                              R"(\protocol\118\gamename\Call of Duty 2)"),
                               3));
    m_harness->store().write(AppSettings::sectionName(), AppSettings::mastersKey(GameId::Cod2),
                             master.address().toString());
    QTRY_VERIFY(!m_browser->findChild<QProgressBar *>()->isVisible());
    auto *game = control<QComboBox>("game");
    auto *version = control<QComboBox>("gameVersion");
    game->setCurrentIndex(game->findText(QStringLiteral("Call of Duty 2")));
    QTRY_COMPARE(master.received.size(), 1);
    QCOMPARE(master.received.first().data, QByteArray("\xff\xff\xff\xffgetservers 118 full empty"));
    QStringList versions;
    for (int item = 0; item < version->count(); ++item)
        versions.append(version->itemText(item));
    QCOMPARE(versions, QStringList({"1.0", "1.2", "1.3", "1.4"}));
    QCOMPARE(version->currentText(), QStringLiteral("1.3"));
    QCOMPARE(AppSettings(*m_harness->reopenStore()).browserGame(), GameId::Cod2); // opens on it
    QTRY_VERIFY(serverIndex(QStringLiteral("Dunes")).isValid());
    QTRY_VERIFY(serverIndex(QStringLiteral("Dunes"))
                    .data(Qt::ToolTipRole)
                    .toString()
                    .startsWith(QStringLiteral("3/24 players")));
    QVERIFY(
        !serverIndex(QStringLiteral("Dunes")).data(roleId(FoundServerRole::OtherVersion)).toBool());

    selectServer(QStringLiteral("Dunes"));
    control<QPushButton>("addToBookmarks")->click();
    QCOMPARE(m_harness->reopenStore()->read(QStringLiteral("Dunes"), QStringLiteral("game")),
             QStringLiteral("cod2"));
    const QModelIndex row = m_harness->bookmarkIndex(m_harness->currentBookmark());
    QCOMPARE(GameId(row.data(roleId(BookmarkRole::Game)).toInt()), GameId::Cod2);
    QTRY_VERIFY(row.data(Qt::AccessibleDescriptionRole)
                    .toString()
                    .startsWith(QStringLiteral("Call of Duty 2: 3/24 players")));

    game->setCurrentIndex(game->findText(QStringLiteral("Call of Duty")));
    QCOMPARE(version->count(), 5);
    QTRY_VERIFY(serverIndex(QStringLiteral("Harbor")).isValid());
    QVERIFY(!serverIndex(QStringLiteral("Dunes")).isValid());
}

void tst_FindServers::lanServers_data()
{
    QTest::addColumn<bool>("keptTicked"); // as the browser last closed
    QTest::addColumn<bool>("tick");       // once it is open
    QTest::newRow("ticked") << false << true;
    QTest::newRow("kept ticked") << true << false;
    QTest::newRow("never ticked") << false << false;
}

// Two servers on a LAN of the test's own, beside a master's server on loopback. With the box
// ticked, opening or the tick itself finds them; they are listed as found on the LAN, asked for
// their status as any other, and looked for again on Refresh. Without it, or once it is taken
// off, nothing goes to the LAN.
void tst_FindServers::lanServers()
{
    QFETCH(bool, keptTicked);
    QFETCH(bool, tick);
    LanNamespaces lan;
    LAN_OR_SKIP(lan);
    const auto lanServers = lan.onFarSide([] {
        return std::array{std::make_unique<FakeLanServer>(28960, QStringLiteral("Basement")),
                          std::make_unique<FakeLanServer>(28961, QStringLiteral("Attic"))};
    });
    const auto infoRequests = [&lanServers] {
        qsizetype requests = 0;
        for (const auto &server : lanServers)
            requests += server->received.count(QByteArray("\xff\xff\xff\xffgetinfo xxx"));
        return requests;
    };
    FakeStatusServer master(2), listed(3);
    const auto answerOnce = [&] {
        master.answerNext(masterList({&listed}));
        listed.answerNext(reply(QStringLiteral(R"(\sv_hostname\Listed)"), 0));
    };
    QTemporaryDir folder;
    const std::unique_ptr<KeyValueStore> store = openIniStore(
        folder.filePath(QStringLiteral("lan.ini")));
    QVERIFY(store->write(AppSettings::sectionName(), AppSettings::mastersKey(GameId::Cod),
                         master.addressText()));
    AppSettings settings(*store);
    if (keptTicked)
        QVERIFY(settings.setLanScan(true));
    ServerBrowserOptions options;
    options.masterBounds = {100ms, 300ms, 2000ms};
    options.sweepBounds = {1000, 200ms, 600ms};
    options.cacheFolder = folder.path();
    ServerBrowser browser(settings, options);
    FindServers window(m_harness->dialogs, browser);
    auto *box = window.findChild<QCheckBox *>(QStringLiteral("lan"));
    auto *progressBar = window.findChild<QProgressBar *>();
    auto *refresh = window.findChild<QPushButton *>(QStringLiteral("refresh"));
    QCOMPARE(box->isChecked(), keptTicked);
    answerOnce();
    window.open();
    if (tick)
        box->click();
    QTRY_VERIFY(!progressBar->isVisible());
    answerOnce();
    refresh->click();
    QTRY_VERIFY(!progressBar->isVisible());
    if (!keptTicked && !tick) {
        QCOMPARE(infoRequests(), 0);
        QCOMPARE(browser.servers().rowCount(), 1);
        return;
    }
    // At each server twice to each of two addresses, on opening or ticking and on Refresh.
    QCOMPARE(infoRequests(), 2 * 2 * 2 * 2);
    QStringList names = shownNames(*window.findChild<QTableView *>(QStringLiteral("servers")));
    names.sort();
    QCOMPARE(names, QStringList({"Attic", "Basement", "Listed"}));
    const ServerListModel &rows = browser.servers();
    QCOMPARE(rows.rowCount(), 3);
    for (int row = 0; row < rows.rowCount(); ++row)
        QCOMPARE(rows.server(row).foundOnLan, rows.server(row).name != QLatin1String("Listed"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("progress"))->text(),
             QStringLiteral("1 server from 1 master, 2 on the LAN, 3 answered"));
    QVERIFY(AppSettings(*store).lanScan());

    box->click();
    QVERIFY(!AppSettings(*store).lanScan());
    answerOnce();
    refresh->click();
    QTRY_VERIFY(!progressBar->isVisible());
    QCOMPARE(infoRequests(), 2 * 2 * 2 * 2);
}

void tst_FindServers::cleanupTestCase()
{
    // The window's place is kept in the store as it closes.
    m_browser->move(m_browser->pos() + QPoint(7, 5));
    m_browser->close();
    const auto store = m_harness->reopenStore();
    QCOMPARE(AppSettings(*store).browserGeometry(), m_browser->saveGeometry());
    m_harness.reset();
    // The list is kept in the cache folder, and only there. Windows has no variable that moves
    // the cache folder: there it is the user's own.
#ifdef Q_OS_WIN
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
#else
    const QString cache = m_cache.path();
#endif
    QStringList kept;
    for (QDirIterator files(cache, QDir::Files, QDirIterator::Subdirectories); files.hasNext();)
        kept.append(QFileInfo(files.next()).fileName());
    kept.sort();
    QCOMPARE(kept, QStringList({"servers-cod2.cache", "servers.cache"}));
}

QTEST_MAIN(tst_FindServers)
#include "tst_findservers.moc"
