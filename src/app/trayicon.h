// SPDX-License-Identifier: GPL-3.0-or-later
// The icon in the desktop's tray while the program keeps watch, with its menu and tooltip.
#pragma once

#include "settings/recentservers.h"

#include <QObject>

#include <functional>
#include <memory>

class AppSettings;
class QAction;
class QMenu;
class QSystemTrayIcon;
class QWidget;

// "Brinemoor", then what it watches: "2 friends playing", "waiting for a slot on NAME".
QString trayToolTip(int friendsPlaying, const QString &waitingFor);

// Made only while a tray is there. A click on the icon shows and raises the window, or hides it;
// the menu holds the same and the program's other ways in and out.
class TrayIcon final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrayIcon)

public:
    struct Actions
    {
        std::function<void()> show; // shows and raises the window
        std::function<void()> findServers;
        std::function<void(const RecentServer &)> joinRecent;
        std::function<void()> quit;
    };

    TrayIcon(QWidget &window, const AppSettings &settings, Actions actions, QObject *parent);
    ~TrayIcon() override;

    // Whether the desktop has a tray now.
    static bool isTrayThere();

    void setToolTip(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void toggleWindow();
    void offerWindowToggle();
    void setStartWithDesktop(bool start);

    QWidget &m_window;
    const Actions m_actions;
    std::unique_ptr<QMenu> m_menu; // a menu of a tray has no parent widget
    QAction *m_showHide = nullptr;
    QAction *m_startWithDesktop = nullptr;
    QSystemTrayIcon *m_icon = nullptr;
};
