// SPDX-License-Identifier: GPL-3.0-or-later
// When the bookmark rows' servers are asked for their status.
#pragma once

#include "query/statusexchange.h"

#include <QObject>

class BookmarkModel;
class PeriodicRefresh;
class QAction;
class QListView;
class QWidget;
class AppSettings;
class StatusRefresh;

// Asks every bookmark's server once the list is first drawn (so start-up shows the window first),
// after every rebuild of the list, on "Refresh all" (F5 anywhere in the window, or the list's
// context menu) and every period the store names. The answers come from statuses().
class ListRefresh final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListRefresh)

public:
    ListRefresh(ExchangeBounds bounds, const BookmarkModel &bookmarks, QListView &list,
                QWidget &window);

    StatusRefresh &statuses() const { return *m_refresh; }
    // The period of the refresh of itself.
    void readSettings(const AppSettings &settings);
    // The list was filled anew: its rows know nothing of their servers yet.
    void listRebuilt();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();

    const BookmarkModel &m_bookmarks;
    StatusRefresh *const m_refresh;
    PeriodicRefresh *const m_periodic;
    QAction *const m_refreshAll;
    bool m_listShown = false;
};
