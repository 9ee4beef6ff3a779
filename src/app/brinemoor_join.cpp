// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's side of a join (JoinFlow runs it), the bookmark list's click and double
// click, and the joins the server browser and a friend's notification ask for.
#include "app/brinemoor.h"

#include "app/bookmarklist.h"
#include "app/browserlink.h"
#include "app/statusdisplay.h"
#include "bookmarks/bookmarkmodel.h"
#include "launch/joinmessages.h"

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
    return {server_ip->text(), server_pass->text(), chosenPlayerName(gullwingnicks)};
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
            m_display->playersCaption(),
            m_display->pingCaption(),
            m_state.sv_maxclients,
            m_unsentAddress};
}

void Brinemoor::holdInput(bool held)
{
    setEnabled(!held);
}

// Only the user writes the wine keys.
LaunchSettings Brinemoor::launchSettings() const
{
    return {m_state.GamePath, m_options.commandLine, {m_settings.wine(), m_settings.winePrefix()}};
}

void Brinemoor::showSlotWait(const QString &server)
{
    m_cancelWait->setEnabled(!server.isEmpty());
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
void Brinemoor::joinFoundServer(const QString &name, const QString &address,
                                const QString &password)
{
    cleartexts();
    showFields({name, address, password});
    menu_join_Click();
}

// As a double click on the bookmark would: its click loads it, the join follows. A server only the
// browser lists is joined as a double click on its row there would.
void Brinemoor::joinFriendServer(const QString &address)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    const int row = m_bookmarks->rowOf(address);
    if (row < 0) {
        m_browser->joinListed(address);
        return;
    }
    servers_name->selectionModel()->setCurrentIndex(m_bookmarks->index(row),
                                                    QItemSelectionModel::NoUpdate);
    bookmarkEnterPressed();
}
