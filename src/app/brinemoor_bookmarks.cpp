// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's bookmark handling: the list from the store, the New, Save and Delete
// commands, and the bookmarks and friends lists the server browser changes.
#include "app/brinemoor.h"

#include "app/bookmarklist.h"
#include "app/browserlink.h"
#include "app/friendslink.h"
#include "app/listrefresh.h"
#include "app/statusdisplay.h"
#include "bookmarks/bookmarkmodel.h"
#include "bookmarks/bookmarkmessages.h"
#include "platform/services.h"
#include "storage/keyvaluestore.h"

#include <QDir>
#include <QLineEdit>

// A store that cannot be read any more (its file replaced by something unreadable) leaves the
// list as it stands: what it showed is still the last the store was known to hold. Rows made anew
// know nothing of their servers yet: once the window is on screen, they are asked.
void Brinemoor::getservers()
{
    if (std::optional<QList<Bookmark>> bookmarks = m_bookmarkStore.list())
        m_bookmarks->fill(*std::move(bookmarks));
    readFriendSettings();
    m_refresh->listRebuilt();
}

// Another running copy or an editor changed the store. The selection stays on its bookmark while
// the store still holds it; the fields, the user's working copy, stay as they are.
void Brinemoor::followStoreChanges()
{
    const QString selected = servers_name->selectedName();
    getservers();
    reselectBookmark(selected);
}

void Brinemoor::cleartexts()
{
    static_cast<AddressFilter &>(m_state) = AddressFilter{};
    m_display->clear();
    m_replyPingShown = false;
    server_name->clear();
    server_ip->clear();
    server_pass->clear();
    servers_name->selectRow(-1);
}

void Brinemoor::menu_new_Click()
{
    cleartexts();
}

// The name checks come before the address verdict, so an empty name is all the user is told.
void Brinemoor::menu_save_Click()
{
    m_state.result = checkip(m_state, server_ip->text());
    const QString name = server_name->text();
    if (name.isEmpty())
        m_state.result = bookmarkMessage(kNoServerName);
    else if (m_bookmarkStore.isReservedName(name))
        m_state.result = bookmarkMessage(kInvalidServerName);
    else if (m_state.result == QLatin1String(kAddressOk))
        storeEditedBookmark(name);
    if (m_state.result != QLatin1String(kAddressOk))
        showMessage(m_state.result, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

// A name clash is told here and leaves `result` at "ok".
void Brinemoor::storeEditedBookmark(const QString &name)
{
    const QString selected = servers_name->selectedName();
    // An edited bookmark stays of its game; a new one is of the server the browser handed over.
    const int row = servers_name->selectedRow();
    const GameId game = row >= 0 ? m_bookmarks->bookmark(row).game : fieldsGame();
    const Bookmark edited{name, server_ip->text(), server_pass->text(), 0, game};
    switch (m_bookmarkStore.save(m_bookmarks->bookmarks(), selected, edited)) {
    case SaveOutcome::NameInUse:
        showMessage(bookmarkMessage(kServerNameInUse), Dialogs::Buttons::Ok,
                    Dialogs::Icon::Critical);
        return;
    case SaveOutcome::NotStored:
        // An earlier write of this save may have reached the disk: list what the store holds,
        // and keep the fields and the selection, so that saving again finishes the job.
        getservers();
        reselectBookmark(selected);
        showServerListNotSaved();
        return;
    case SaveOutcome::Saved:
        cleartexts();
        getservers();
        return;
    }
}

void Brinemoor::reselectBookmark(const QString &name)
{
    // Quietly: the selection handler would load the stored bookmark over the edited fields.
    servers_name->reselectRow(int(m_bookmarkStore.rowOf(m_bookmarks->bookmarks(), name)));
}

// The number is the bookmark's own: kept in its section, and in its row until the list is read
// again.
void Brinemoor::askPlayerAlert()
{
    const int row = servers_name->currentIndex().row();
    if (row < 0)
        return;
    const Bookmark bookmark = m_bookmarks->bookmark(row);
    const std::optional<int> players = m_services.dialogs.number(
        tr("Tell me when %1 has this many players (0: never):").arg(bookmark.name), bookmark.alert);
    if (!players)
        return;
    if (!m_bookmarkStore.setAlert(bookmark.name, *players)) {
        showServerListNotSaved();
        return;
    }
    m_bookmarks->setAlert(row, *players);
}

void Brinemoor::showServerListNotSaved()
{
    showMessage(
        bookmarkMessage(kServerListNotSaved).arg(QDir::toNativeSeparators(m_store.fileName())),
        Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

// Deletes only when the name field still shows the selected bookmark's name; the fields are
// emptied in every case.
void Brinemoor::menu_delete_Click()
{
    const QString selected = servers_name->selectedName();
    bool stored = true;
    if (!selected.isEmpty() && selected == server_name->text())
        stored = m_bookmarkStore.remove(selected);
    cleartexts();
    getservers();
    if (!stored)
        showServerListNotSaved();
}

// Stored at once under a name not taken yet, listed, and selected with its fields filled, as a
// click on it would leave them, without asking the server again. A bookmark of the same name is
// never touched, even one for the same server: its password would be lost.
void Brinemoor::addFoundBookmark(const QString &name, const QString &address, GameId game)
{
    const QList<Bookmark> listed = m_bookmarks->bookmarks();
    const Bookmark found{m_bookmarkStore.freeName(listed, name), address, QString(), 0, game};
    const bool saved = m_bookmarkStore.save(listed, QString(), found) == SaveOutcome::Saved;
    getservers();
    if (!saved) {
        showServerListNotSaved();
        return;
    }
    reselectBookmark(found.name);
    showFields(found);
}

void Brinemoor::showFields(const Bookmark &bookmark)
{
    server_name->setText(bookmark.name);
    server_ip->setText(bookmark.address);
    server_pass->setText(bookmark.password);
}

// With every rebuild of the list: the friends, the period of the refresh, and the browser's lists.
void Brinemoor::readFriendSettings()
{
    m_friends->readSettings();
    m_refresh->readSettings(m_settings);
    m_browser->readFriends();
}

// From the player list or the browser: every list of friends shows the stored one.
void Brinemoor::friendsEdited(bool stored)
{
    readFriendSettings();
    if (!stored)
        showServerListNotSaved();
}
