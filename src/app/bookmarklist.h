// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's list of bookmarks.
#pragma once

#include <QListView>

class BookmarkDelegate;

// A view of the bookmark model, drawn by BookmarkDelegate, that selects one row by its number. It
// tells what the window makes of its keys and clicks: Enter, a press on the row already current
// (it changes no selection, yet it is a click), and a double click while disabled. A right press
// only opens the list's menu.
class BookmarkList final : public QListView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BookmarkList)

public:
    explicit BookmarkList(QWidget *parent);

    BookmarkDelegate &delegate() const;
    // -1: none.
    int selectedRow() const;
    // The selected bookmark's name; empty for none.
    QString selectedName() const;
    // Selects `row` (-1: none) as a click does.
    void selectRow(int row);
    // The same without telling the selection's handler.
    void reselectRow(int row);

signals:
    void currentRowPressed();
    void enterPressed();
    // A query holds the window disabled, and a disabled list drops the second click: a double
    // click on a server slower than the double-click interval is told all the same.
    void doubleClickedWhileDisabled(int row);

protected:
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = {}) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    int m_rowBeforePress = -1;
};
