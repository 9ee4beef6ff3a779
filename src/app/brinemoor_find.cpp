// The main window's side of the server browser: "[ Find ]" opens it, and what it asks for, a new
// bookmark or a join, happens here as the window's own commands would do it.
#include "app/bookmarkdelegate.h"
#include "app/brinemoor.h"
#include "app/findservers.h"
#include "bookmarks/bookmarkmodel.h"
#include "bookmarks/bookmarksave.h"
#include "bookmarks/settingsstore.h"
#include "friends/friendalerts.h"
#include "launch/gamestart.h"
#include "platform/services.h"
#include "servers/masterclient.h"
#include "servers/servercache.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>

namespace {

constexpr char kMastersKey[] = "masters";
constexpr char kProtocolKey[] = "protocol";

} // namespace

Brinemoor::~Brinemoor() = default;

void Brinemoor::buildFindItem()
{
    menu_find = menuBar()->addAction(QStringLiteral("[ Find ]"));
    menu_find->setObjectName(QStringLiteral("menu_find"));
    menu_find->setShortcut(QKeySequence::Find);
    connect(menu_find, &QAction::triggered, this, &Brinemoor::menu_find_Click);
}

void Brinemoor::menu_find_Click()
{
    if (!m_find) {
        const QString section = QString::fromLatin1(kSettingsSection);
        const QStringList masters = mastersNamed(
            m_store.readList(section, QString::fromLatin1(kMastersKey)));
        const QString cache = serverCachePath();
        m_find = std::make_unique<FindServers>(
            m_services.dialogs, m_store,
            FindServersOptions{masters, gameProtocol(), m_options.masters, m_options.sweep, cache,
                               QFileInfo(cache).dir().filePath(QStringLiteral("findservers.ini"))});
        connect(m_find.get(), &FindServers::addBookmarkRequested, this,
                &Brinemoor::addFoundBookmark);
        connect(m_find.get(), &FindServers::joinRequested, this, &Brinemoor::joinFoundServer);
        connect(m_find.get(), &FindServers::gameProtocolChanged, this,
                &Brinemoor::showGameProtocol);
        connect(m_find.get(), &FindServers::friendsEdited, this, &Brinemoor::friendsEdited);
        connect(m_find.get(), &FindServers::serverAnswered, m_friends,
                &FriendAlerts::serverAnswered);
        connect(m_find.get(), &FindServers::sweepEnded, m_friends, &FriendAlerts::refreshEnded);
    }
    m_find->open();
}

int Brinemoor::gameProtocol()
{
    if (!m_gameProtocol) {
        m_gameProtocol = chosenProtocol(
            m_store.read(QString::fromLatin1(kSettingsSection), QString::fromLatin1(kProtocolKey)),
            m_state.GamePath);
        bookmarkDelegate().setGameProtocol(*m_gameProtocol);
    }
    return *m_gameProtocol;
}

BookmarkDelegate &Brinemoor::bookmarkDelegate() const
{
    return *static_cast<BookmarkDelegate *>(servers_name->itemDelegate());
}

// The rows' words say "other version" against the version chosen now.
void Brinemoor::showGameProtocol(int protocol)
{
    m_gameProtocol = protocol;
    bookmarkDelegate().setGameProtocol(protocol);
    for (int row = 0; row < m_bookmarks->rowCount(); ++row) {
        const QVariant status = m_bookmarks->index(row).data(BookmarkModel::StatusRole);
        if (status.isValid())
            showBookmarkStatus(m_bookmarks->bookmark(row).address, status.value<BookmarkStatus>());
    }
    servers_name->viewport()->update();
}

// Stored at once under a name not taken yet, listed, and selected with its fields filled, as a
// click on it would leave them, without asking the server again. A bookmark of the same name is
// never touched, even one for the same server: its password would be lost.
void Brinemoor::addFoundBookmark(const QString &name, const QString &address)
{
    const QList<Bookmark> listed = m_bookmarks->bookmarks();
    const Bookmark found{freeBookmarkName(m_store, listed, name), address, QString()};
    const bool saved = saveBookmark(m_store, listed, QString(), found) == SaveOutcome::Saved;
    getservers();
    if (!saved) {
        showServerListNotSaved();
        return;
    }
    reselectBookmark(found.name);
    server_name->setText(found.name);
    server_ip->setText(found.address);
    server_pass->clear();
}

// The fields take the server, with no bookmark selected, and the join runs as "[ Join Game ]"
// does: game path, status query, full server, slot wait.
void Brinemoor::joinFoundServer(const QString &name, const QString &address,
                                const QString &password)
{
    cleartexts();
    server_name->setText(name);
    server_ip->setText(address);
    server_pass->setText(password);
    menu_join_Click();
}
