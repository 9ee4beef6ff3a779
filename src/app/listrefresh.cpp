// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/listrefresh.h"

#include "app/windowcontrols.h"
#include "bookmarks/bookmarkmodel.h"
#include "settings/appsettings.h"
#include "friends/periodicrefresh.h"
#include "query/statusrefresh.h"

#include <QAction>
#include <QEvent>
#include <QListView>
#include <QTimer>

namespace {

constexpr char kRefreshAll[] = QT_TRANSLATE_NOOP("ListRefresh", "Refresh all");

} // namespace

ListRefresh::ListRefresh(ExchangeBounds bounds, const BookmarkModel &bookmarks, QListView &list,
                         QWidget &window)
    : QObject(&window),
      m_bookmarks(bookmarks),
      m_refresh(named(new StatusRefresh(bounds, this), "refresh")),
      m_periodic(named(new PeriodicRefresh(this), "periodicRefresh")),
      m_refreshAll(named(new QAction(tr(kRefreshAll), this), "refreshAll"))
{
    // A window shortcut works wherever the focus is in the window; the list offers it too.
    m_refreshAll->setShortcut(QKeySequence(Qt::Key_F5));
    m_refreshAll->setShortcutContext(Qt::WindowShortcut);
    window.addAction(m_refreshAll);
    list.addAction(m_refreshAll);
    list.setContextMenuPolicy(Qt::ActionsContextMenu);
    list.viewport()->installEventFilter(this);
    connect(m_refreshAll, &QAction::triggered, this, &ListRefresh::refresh);
    connect(m_periodic, &PeriodicRefresh::due, this, &ListRefresh::refresh);
}

void ListRefresh::readSettings(const AppSettings &settings)
{
    m_periodic->setPeriod(settings.refreshPeriod());
}

void ListRefresh::listRebuilt()
{
    if (m_listShown)
        refresh();
}

// The first refresh waits until the list has been drawn: start-up shows the window first, and
// then asks.
bool ListRefresh::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_listShown) {
        m_listShown = true;
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, &ListRefresh::refresh);
    }
    return QObject::eventFilter(watched, event);
}

// Whatever starts a refresh, the periodic one is due a whole period later.
void ListRefresh::refresh()
{
    m_periodic->refreshed();
    // The rows as they are now, shared with the list rather than copied; a rebuilt list starts
    // a refresh of its own.
    const QList<Bookmark> rows = m_bookmarks.bookmarks();
    m_refresh->refresh(rows.size(), [rows](qsizetype row) { return rows.at(row).address; });
}
