// SPDX-License-Identifier: GPL-3.0-or-later
// How a row of the server list looks: the bookmark's name, and right of it what the background
// refresh learnt of its server.
#pragma once

#include "query/games.h"

#include <QStyledItemDelegate>

#include <optional>

class QPainter;

// A padlock in `box`, in `ink`: the mark of a server that asks for a password.
void drawLock(QPainter &painter, const QRect &box, const QColor &ink);
// The colour of an item's text as its view draws it: selected or not, in the window's state.
QColor itemInk(const QStyleOptionViewItem &item);

// Draws the row as the list would, with the name cut short where it would run into the status:
// the friends on the server, players against the limit, the ping, a lock for a password, a mark for
// a full server; or a dimmed "no reply", "refused"... for a server that gave no figures. The
// figures of a server on another game version are dimmed too. The row's text stays the name, so
// selection, keyboard search and screen readers see only the name.
class BookmarkDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BookmarkDelegate)

public:
    explicit BookmarkDelegate(QObject *parent = nullptr);

    // Servers that say they run another game or version than the player's are drawn dimmed.
    void setPlayedProtocols(const PlayedProtocols &played) { m_played = played; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    PlayedProtocols m_played;
};
