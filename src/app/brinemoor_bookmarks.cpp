// The main window's bookmark handling: the list from the store and its background refresh, and
// the New, Save and Delete commands.
#include "app/brinemoor.h"

#include "app/bookmarkdelegate.h"
#include "query/statuscaptions.h"
#include "query/statusrefresh.h"
#include "bookmarks/bookmarkmessages.h"
#include "bookmarks/bookmarksave.h"
#include "bookmarks/settingsstore.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTimer>

// A store that cannot be read any more (its file replaced by something unreadable) leaves the
// list as it stands: what it showed is still the last the store was known to hold. Rows made anew
// know nothing of their servers yet: once the window is on screen, they are asked.
void Brinemoor::getservers()
{
    if (std::optional<QList<StoredSection>> sections = m_store.contents())
        getservers(*std::move(sections));
    if (m_listShown)
        refreshBookmarks();
}

// The store is read in one go and each list filled at once: with thousands of bookmarks, reading
// value by value and adding row by row made start-up several times slower. The sections go before
// the rows are made, so that the rows take the memory they leave.
void Brinemoor::getservers(QList<StoredSection> sections)
{
    servers_name->clear();
    servers_ip->clear();
    servers_pass->clear();
    KeyNames.clear();
    QStringList names;
    QStringList addresses;
    QStringList passwords;
    KeyNames.reserve(sections.size());
    names.reserve(sections.size());
    addresses.reserve(sections.size());
    passwords.reserve(sections.size());
    const QString addressKey = QString::fromLatin1(kAddressKey);
    const QString passwordKey = QString::fromLatin1(kPasswordKey);
    for (const StoredSection &section : std::as_const(sections)) {
        KeyNames.append(section.name);
        if (section.name == QLatin1String(kSettingsSection))
            continue;
        names.append(section.name);
        addresses.append(section.value(addressKey));
        passwords.append(section.value(passwordKey));
    }
    sections = {};
    servers_name->addItems(names);
    servers_ip->addItems(addresses);
    servers_pass->addItems(passwords);
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
    server_options->clear();
    server_players->clear();
    server_name->clear();
    server_ip->clear();
    server_pass->clear();
    selectBookmarkRow(-1);
}

void Brinemoor::selectBookmarkRow(int row)
{
    for (QListWidget *list : {servers_name, servers_ip, servers_pass}) {
        if (row < 0)
            list->clearSelection();
        list->setCurrentRow(row);
    }
}

QString Brinemoor::selectedBookmarkName() const
{
    const QList<QListWidgetItem *> selected = servers_name->selectedItems();
    return selected.isEmpty() ? QString() : selected.constFirst()->text();
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
    else if (name == QLatin1String(kSettingsSection))
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
    switch (saveBookmark(m_store, listedBookmarks(), selected, edited)) {
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

QList<Bookmark> Brinemoor::listedBookmarks() const
{
    QList<Bookmark> listed;
    listed.reserve(servers_name->count());
    for (int row = 0; row < servers_name->count(); ++row)
        listed.append({servers_name->item(row)->text(), servers_ip->item(row)->text(),
                       servers_pass->item(row)->text()});
    return listed;
}

void Brinemoor::reselectBookmark(const QString &name)
{
    // Quietly: the selection handler would load the stored bookmark over the edited fields.
    const QSignalBlocker quiet(servers_name);
    selectBookmarkRow(int(bookmarkRow(m_store, listedBookmarks(), name)));
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

void Brinemoor::refreshBookmarks()
{
    QStringList addresses;
    addresses.reserve(servers_ip->count());
    for (int row = 0; row < servers_ip->count(); ++row)
        addresses.append(servers_ip->item(row)->text());
    m_refresh->refresh(addresses);
}

// Only the row changes: its text and accessible name stay the bookmark's name.
void Brinemoor::showBookmarkStatus(int row, const BookmarkStatus &status)
{
    QListWidgetItem *item = servers_name->item(row);
    item->setData(kBookmarkStatusRole, QVariant::fromValue(status));
    item->setData(Qt::AccessibleDescriptionRole, statusWords(status, gameProtocol()));
    item->setToolTip(statusToolTip(status, gameProtocol()));
}
