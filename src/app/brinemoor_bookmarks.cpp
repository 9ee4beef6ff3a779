// The main window's bookmark handling: the list from the store, and the New, Save and Delete
// commands.
#include "app/brinemoor.h"

#include "app/captions.h"
#include "bookmarks/settingsstore.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

void Brinemoor::getservers()
{
    servers_name->clear();
    servers_ip->clear();
    servers_pass->clear();
    KeyNames.clear();
    m_store.enumkeys(false, KeyNames);
    for (const QString &name : std::as_const(KeyNames)) {
        if (name == QLatin1String(kSettingsSection))
            continue;
        servers_name->addItem(name);
        servers_ip->addItem(m_store.read(name, QString::fromLatin1(kAddressKey)));
        servers_pass->addItem(m_store.read(name, QString::fromLatin1(kPasswordKey)));
    }
}

void Brinemoor::cleartexts()
{
    static_cast<AddressFilter &>(m_state) = AddressFilter{};
    lbl_ping->setText(QString::fromLatin1(kPingNone));
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

void Brinemoor::menu_save_Click() { }

void Brinemoor::menu_delete_Click() { }
