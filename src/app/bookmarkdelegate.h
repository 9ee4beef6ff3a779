// How a row of the server list looks: the bookmark's name, and right of it what the background
// refresh learnt of its server.
#pragma once

#include <QStyledItemDelegate>

// Draws the row as the list would, with the name cut short where it would run into the status:
// players against the limit, the ping, a lock for a password, a mark for a full server; or a
// dimmed "no reply", "refused"... for a server that gave no figures. The row's text stays the
// name, so selection, keyboard search and screen readers see only the name.
class BookmarkDelegate final : public QStyledItemDelegate
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BookmarkDelegate)

public:
    explicit BookmarkDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
