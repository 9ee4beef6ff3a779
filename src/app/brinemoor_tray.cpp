// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part in the tray: the icon once a tray is there, and closing into it.
#include "app/brinemoor.h"

#include "app/friendslink.h"
#include "app/trayicon.h"
#include "app/windowcontrols.h"
#include "bookmarks/bookmarkmodel.h"
#include "friends/friendalerts.h"
#include "platform/notifier.h"
#include "platform/services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSet>
#include <QTimer>

namespace {

constexpr std::chrono::seconds kToolTipRecount{1};
constexpr char kKeepsRunning[] = QT_TRANSLATE_NOOP(
    "Brinemoor", "Brinemoor keeps running in the tray; Quit in its menu ends it.");

} // namespace

// At log-in the tray often comes after the program: it is looked for until it is there.
void Brinemoor::lookForTray()
{
    if (!TrayIcon::isTrayThere()) {
        if (!m_trayLook) {
            m_trayLook = new QTimer(this);
            connect(m_trayLook, &QTimer::timeout, this, &Brinemoor::lookForTray);
            m_trayLook->start(m_options.trayLook);
        }
        return;
    }
    delete m_trayLook;
    m_trayLook = nullptr;
    TrayIcon::Actions actions{[this] { bringToFront(); }, [this] { menu_find_Click(); },
                              [this](const RecentServer &server) { joinRecent(server); },
                              [this] { menu_quit_Click(); }};
    m_tray = named(new TrayIcon(*this, m_settings, std::move(actions), this), "tray");
    // The tray keeps the program: the server browser closed last, while this window is hidden,
    // must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    // Every answer of a refresh changes a row: the friends are counted once a second at most,
    // since each count looks at every bookmark.
    auto *recount = new QTimer(this);
    recount->setSingleShot(true);
    recount->setInterval(kToolTipRecount);
    connect(recount, &QTimer::timeout, this, &Brinemoor::showTrayToolTip);
    const auto recountSoon = [recount] {
        if (!recount->isActive())
            recount->start();
    };
    connect(m_bookmarks, &QAbstractItemModel::dataChanged, recount, recountSoon);
    connect(m_bookmarks, &QAbstractItemModel::modelReset, recount, recountSoon);
    showTrayToolTip();
}

void Brinemoor::showTrayToolTip()
{
    if (m_tray)
        m_tray->setToolTip(trayToolTip(friendsPlaying(), m_waitingFor));
}

// Each friend once, on however many bookmarked servers: what the rows mark.
int Brinemoor::friendsPlaying() const
{
    QSet<QString> playing;
    for (int row = 0; row < m_bookmarks->rowCount(); ++row) {
        const QStringList names = m_friends->alerts().friendsOn(m_bookmarks->bookmark(row).address);
        playing.unite(QSet<QString>(names.cbegin(), names.cend()));
    }
    return int(playing.size());
}

// With a tray the window hides and everything it watches goes on; without one, or with
// `closetotray` off, closing ends the program as [ Quit ] does.
void Brinemoor::closeEvent(QCloseEvent *event)
{
    if (!m_tray) {
        QMainWindow::closeEvent(event);
        return;
    }
    if (!m_settings.closeToTray()) {
        menu_quit_Click();
        return;
    }
    event->ignore();
    hide();
    if (!m_toldOfTray) {
        m_toldOfTray = true;
        m_services.notifier.show({tr(kKeepsRunning), {}, {}, {}});
    }
}
