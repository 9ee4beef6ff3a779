// The main window's bookmark handling: the list from the store and its background refresh, and
// the New, Save and Delete commands.
#include "app/brinemoor.h"

#include "bookmarks/bookmarkmodel.h"
#include "query/statuscaptions.h"
#include "query/statusrefresh.h"
#include "bookmarks/bookmarkmessages.h"
#include "bookmarks/bookmarksave.h"
#include "bookmarks/settingsstore.h"
#include "friends/periodicrefresh.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTimer>

// A store that cannot be read any more (its file replaced by something unreadable) leaves the
// list as it stands: what it showed is still the last the store was known to hold. Rows made anew
// know nothing of their servers yet: once the window is on screen, they are asked.
void Brinemoor::getservers()
{
    if (std::optional<QList<StoredSection>> sections = m_store.contents())
        m_bookmarks->fill(*std::move(sections));
    readFriendSettings();
    if (m_listShown)
        refreshBookmarks();
}

// Another running copy or an editor changed the store. The selection stays on its bookmark while
// the store still holds it; the fields, the user's working copy, stay as they are.
void Brinemoor::followStoreChanges()
{
    const QString selected = selectedBookmarkName();
    getservers();
    reselectBookmark(selected);
}

void Brinemoor::cleartexts()
{
    static_cast<AddressFilter &>(m_state) = AddressFilter{};
    lbl_ping->setText(QString::fromLatin1(kPingNone));
    m_replyPingShown = false;
    lbl_players->setText(QString::fromLatin1(kPlayersNone));
    lbl_type->setText(QString::fromLatin1(kTypeNone));
    lbl_map->setText(QString::fromLatin1(kMapNone));
    lbl_reserved->setText(QString::fromLatin1(kReservedNone));
    server_players->clear();
    server_name->clear();
    server_ip->clear();
    server_pass->clear();
    selectBookmarkRow(-1);
}

void Brinemoor::selectBookmarkRow(int row)
{
    QItemSelectionModel *selection = servers_name->selectionModel();
    if (row < 0)
        selection->clear();
    else
        selection->setCurrentIndex(m_bookmarks->index(row), QItemSelectionModel::ClearAndSelect);
}

int Brinemoor::selectedBookmarkRow() const
{
    const QModelIndexList selected = servers_name->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

QString Brinemoor::selectedBookmarkName() const
{
    const int row = selectedBookmarkRow();
    return row < 0 ? QString() : m_bookmarks->bookmark(row).name;
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
        m_state.result = QString::fromLatin1(kNoServerName);
    // Where the store ignores letter case (the registry), "Settings" would be the settings section.
    else if (m_store.isSameSection(name, QString::fromLatin1(kSettingsSection)))
        m_state.result = QString::fromLatin1(kInvalidServerName);
    else if (m_state.result == QLatin1String(kAddressOk))
        storeEditedBookmark(name);
    if (m_state.result != QLatin1String(kAddressOk))
        showMessage(m_state.result, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

// A name clash is told here and leaves `result` at "ok".
void Brinemoor::storeEditedBookmark(const QString &name)
{
    const QString selected = selectedBookmarkName();
    const Bookmark edited{name, server_ip->text(), server_pass->text()};
    switch (saveBookmark(m_store, m_bookmarks->bookmarks(), selected, edited)) {
    case SaveOutcome::NameInUse:
        showMessage(QString::fromLatin1(kServerNameInUse), Dialogs::Buttons::Ok,
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
    const QSignalBlocker quiet(servers_name->selectionModel());
    selectBookmarkRow(int(bookmarkRow(m_store, m_bookmarks->bookmarks(), name)));
}

void Brinemoor::showServerListNotSaved()
{
    showMessage(
        QString::fromLatin1(kServerListNotSaved).arg(QDir::toNativeSeparators(m_store.fileName())),
        Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

// Deletes only when the name field still shows the selected bookmark's name; the fields are
// emptied in every case.
void Brinemoor::menu_delete_Click()
{
    const QString selected = selectedBookmarkName();
    bool stored = true;
    if (!selected.isEmpty() && selected == server_name->text())
        stored = m_store.deleteSection(selected);
    cleartexts();
    getservers();
    if (!stored)
        showServerListNotSaved();
}

// The first refresh waits until the list has been drawn: start-up shows the window first, and
// then asks.
void Brinemoor::listFirstShown()
{
    m_listShown = true;
    QTimer::singleShot(0, this, &Brinemoor::refreshBookmarks);
}

// Whatever starts a refresh, the periodic one is due a whole period later.
void Brinemoor::refreshBookmarks()
{
    m_periodicRefresh->refreshed();
    m_refresh->refresh(m_bookmarks->addresses());
}
