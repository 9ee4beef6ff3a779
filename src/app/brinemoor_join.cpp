// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of a join (JoinFlow runs it), the bookmark list's click and double
// click, and the joins the server browser and a friend's notification ask for.
#include "app/brinemoor.h"

#include "app/bookmarklist.h"
#include "app/browserlink.h"
#include "app/statusdisplay.h"
#include "bookmarks/bookmarkmodel.h"
#include "launch/autostart.h"
#include "launch/gamepath.h"
#include "launch/joinlink.h"
#include "launch/joinmessages.h"
#include "platform/services.h"
#include "storage/keyvaluestore.h"

#include <QLineEdit>
#include <QShortcut>

void Brinemoor::menu_join_Click()
{
    m_join->join();
}

JoinTarget Brinemoor::checkTarget()
{
    server_ip->setText(ipcheck(m_state, server_ip->text()));
    m_state.result = checkip(m_state, server_ip->text());
    return {server_ip->text(), server_pass->text(), chosenPlayerName(gullwingnicks), fieldsGame()};
}

void Brinemoor::queryStatus(const QString &address, const QString &verdict)
{
    m_state.result = verdict;
    queryStatusOf(address);
}

JoinStatus Brinemoor::status() const
{
    return {m_state.result,
            servers_name->selectedName(),
            cod_query->isPending(),
            m_state.ServerReady,
            m_display->shownPlayers(),
            m_display->shownRoundTrip(),
            m_state.sv_maxclients,
            m_unsentAddress};
}

void Brinemoor::holdInput(bool held)
{
    setEnabled(!held);
}

// The fields hold a bookmark or the server the browser handed over while its address is there.
GameId Brinemoor::fieldsGame() const
{
    const int row = servers_name->selectedRow();
    if (row >= 0 && fieldsHoldBookmark(row))
        return m_bookmarks->bookmark(row).game;
    if (m_handedOver && server_ip->text() == m_handedOver->address)
        return m_handedOver->game;
    return GameId::Cod;
}

// Only the user writes the wine keys.
LaunchSettings Brinemoor::launchSettings(GameId game) const
{
    return {game == GameId::Cod ? m_state.GamePath : m_settings.gamePath(game),
            m_options.commandLine,
            {m_settings.wine(), m_settings.winePrefix()}};
}

bool Brinemoor::chooseGamePath(GameId game)
{
    const std::optional<QString> path = askGamePath(m_services.dialogs, gameOf(game));
    if (!path)
        return false;
    if (!m_settings.setGamePath(*path, game) && !m_store.isUnreadable())
        showServerListNotSaved();
    return true;
}

void Brinemoor::showSlotWait(const QString &server)
{
    m_cancelWait->setEnabled(!server.isEmpty());
    m_waitingFor = server;
    showTrayToolTip();
    if (server.isEmpty()) {
        setWindowTitle(m_titleBeforeWait);
        return;
    }
    m_titleBeforeWait = windowTitle();
    setWindowTitle(m_titleBeforeWait + joinMessage(kWaitingForSlot) + server);
}

void Brinemoor::showGamesStarting(bool starting)
{
    m_pointer.set(BusyPointer::Reason::GameStarting, starting);
}

// Named as its bookmark, else as the server named itself in the last reply.
void Brinemoor::gameStarted(const JoinTarget &target)
{
    const int row = m_bookmarks->rowOf(target.address);
    const QString name = row >= 0 ? m_bookmarks->bookmark(row).name : m_state.sv_hostname;
    m_settings.recordRecent({target.address, name, QDateTime::currentDateTimeUtc()});
}

void Brinemoor::joinRecent(const RecentServer &server)
{
    bringToFront();
    if (!joinBookmarkOf(server.address))
        joinFoundServer(server.name, server.address, QString());
}

// As Enter on the first bookmark of the address; false when no bookmark has it.
bool Brinemoor::joinBookmarkOf(const QString &address)
{
    const int row = m_bookmarks->rowOf(address);
    if (row < 0)
        return false;
    servers_name->selectionModel()->setCurrentIndex(m_bookmarks->index(row),
                                                    QItemSelectionModel::NoUpdate);
    bookmarkEnterPressed();
    return true;
}

void Brinemoor::servers_name_Click()
{
    const int row = servers_name->selectedRow();
    if (row < 0)
        return;
    const Bookmark stored = m_bookmarks->bookmark(row);
    if (stored.name.isEmpty())
        return;
    m_join->bookmarkClicked(stored.name);
    // The bookmark already loaded is not asked for again; the password is not compared, so one
    // being typed stays. The address is compared as the field shows it: normalised.
    if (fieldsHoldBookmark(row))
        return;
    showFields({stored.name, ipcheck(m_state, stored.address), stored.password});
    m_state.result = checkip(m_state, server_ip->text());
    queryserver();
}

// The first click of the double click has loaded the bookmark and started its query; the join
// command waits for that query's end.
void Brinemoor::servers_name_DblClick()
{
    menu_join_Click();
}

// Enter on the focused bookmark is the keyboard's double click. Its click selects the row, or loads
// the selected bookmark again when the fields no longer hold it; the join follows.
void Brinemoor::bookmarkEnterPressed()
{
    const QModelIndex current = servers_name->currentIndex();
    if (!current.isValid())
        return;
    if (servers_name->selectionModel()->isSelected(current))
        servers_name_Click();
    else
        servers_name->selectRow(current.row());
    servers_name_DblClick();
}

// Joins while the window is disabled for a query, when the query is the one for the bookmark in
// `row` (not one whose fields were edited and queried since) and no join is waiting already.
bool Brinemoor::joinWhileQuerying(int row)
{
    if (servers_name->isEnabled() || !cod_query->isPending() || m_join->isWaitingForStatus()
        || row < 0 || row != servers_name->currentIndex().row() || !fieldsHoldBookmark(row))
        return false;
    servers_name_DblClick();
    return true;
}

bool Brinemoor::fieldsHoldBookmark(int row) const
{
    AddressFilter scratch;
    const Bookmark stored = m_bookmarks->bookmark(row);
    return server_name->text() == stored.name
        && server_ip->text() == ipcheck(scratch, stored.address);
}

// The fields take the server, with no bookmark selected, and the join runs as "[ Join Game ]"
// does: game path, status query, full server, slot wait.
void Brinemoor::bringToFront()
{
    if (isMinimized() || isHidden())
        showNormal();
    raise();
    activateWindow();
}

// A later start shows this window (but one with --minimized), and its join request is asked about
// here.
void Brinemoor::takeLaterStart(QStringList arguments)
{
    // The desktop's start at log-in finds the program running: it stays where it is.
    if (!takeMinimizedOption(arguments))
        bringToFront();
    const QString request = takeJoinRequest(arguments);
    if (!request.isEmpty())
        offerJoin(request);
}

// A link comes from outside: nothing is sent before the user agrees. A bookmark's own password
// stands unless the link brings one.
void Brinemoor::offerJoin(const QString &request)
{
    const std::optional<JoinLink> link = parseJoinLink(request);
    if (!link) {
        showMessage(tr("Not a server address: %1").arg(request), Dialogs::Buttons::Ok,
                    Dialogs::Icon::Critical);
        return;
    }
    const int row = m_bookmarks->rowOf(link->address);
    const Bookmark bookmark = row < 0 ? Bookmark{} : m_bookmarks->bookmark(row);
    const QString question = row < 0 ? tr("Join %1?").arg(link->address)
                                     : tr("Join %1 (%2)?").arg(bookmark.name, link->address);
    if (m_services.dialogs.message(question, Dialogs::Buttons::YesNo, Dialogs::Icon::None)
        != Dialogs::Answer::Yes)
        return;
    joinFoundServer(bookmark.name, link->address,
                    link->password.isEmpty() ? bookmark.password : link->password, bookmark.game);
}

void Brinemoor::joinFoundServer(const QString &name, const QString &address,
                                const QString &password, GameId game)
{
    cleartexts();
    showFields({name, address, password});
    m_handedOver = JoinTarget{address, {}, {}, game};
    menu_join_Click();
}

// As a double click on the bookmark would: its click loads it, the join follows. A server only the
// browser lists is joined as a double click on its row there would.
void Brinemoor::joinFriendServer(const QString &address)
{
    bringToFront();
    if (!joinBookmarkOf(address))
        m_browser->joinListed(address);
}
