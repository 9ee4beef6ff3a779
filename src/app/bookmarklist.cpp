// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bookmarklist.h"

#include "app/bookmarkdelegate.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

BookmarkList::BookmarkList(QWidget *parent)
    : QListView(parent)
{
    // Every row is one line of the same font: measuring one spares measuring thousands.
    setUniformItemSizes(true);
    setItemDelegate(new BookmarkDelegate(this));
    connect(this, &QListView::pressed, this, [this](const QModelIndex &index) {
        if (index.row() == m_rowBeforePress)
            emit currentRowPressed();
    });
}

// QListView lays out and repaints all of its rows after any change of data. A status changes
// nothing of a row's size here, so such a change repaints the row alone: a background refresh
// otherwise repainted the whole list hundreds of times.
void BookmarkList::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                               const QList<int> &roles)
{
    const bool sizeMayChange = roles.isEmpty() || roles.contains(Qt::DisplayRole)
        || roles.contains(Qt::SizeHintRole) || roles.contains(Qt::FontRole)
        || roles.contains(Qt::DecorationRole);
    if (sizeMayChange)
        QListView::dataChanged(topLeft, bottomRight, roles);
    else
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
}

BookmarkDelegate &BookmarkList::delegate() const
{
    return *static_cast<BookmarkDelegate *>(itemDelegate());
}

int BookmarkList::selectedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

QString BookmarkList::selectedName() const
{
    const int row = selectedRow();
    return row < 0 ? QString() : model()->index(row, 0).data().toString();
}

void BookmarkList::selectRow(int row)
{
    if (row < 0)
        selectionModel()->clear();
    else
        selectionModel()->setCurrentIndex(model()->index(row, 0),
                                          QItemSelectionModel::ClearAndSelect);
}

void BookmarkList::reselectRow(int row)
{
    const QSignalBlocker quiet(selectionModel());
    selectRow(row);
}

void BookmarkList::mousePressEvent(QMouseEvent *event)
{
    // Selecting the row under a right press would start that row's query, and the window it
    // disables would swallow the menu.
    if (event->button() == Qt::RightButton)
        return;
    m_rowBeforePress = currentIndex().row();
    QListView::mousePressEvent(event);
}

void BookmarkList::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        emit enterPressed();
    else
        QListView::keyPressEvent(event);
}

// The viewport's events reach this even while the list is disabled.
bool BookmarkList::viewportEvent(QEvent *event)
{
    if (isEnabled() || event->type() != QEvent::MouseButtonDblClick)
        return QListView::viewportEvent(event);
    const QModelIndex clicked = indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
    if (clicked.isValid())
        emit doubleClickedWhileDisabled(clicked.row());
    return true;
}
