// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/trayicon.h"

#include "app/recentmenu.h"
#include "launch/autostart.h"

#include <QCoreApplication>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

#ifndef Q_OS_WIN
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#endif

namespace {

#ifndef Q_OS_WIN
constexpr int kHostAnswerBound = 500; // ms: the look is repeated while there is no tray

bool statusNotifierHostIsThere()
{
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusMessage get = QDBusMessage::createMethodCall(
        watcher, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusReply<QDBusVariant> reply = QDBusConnection::sessionBus().call(get, QDBus::Block,
                                                                              kHostAnswerBound);
    return reply.isValid() && reply.value().variant().toBool();
}
#endif

} // namespace

QString trayToolTip(int friendsPlaying, const QString &waitingFor)
{
    QStringList lines{QStringLiteral("Brinemoor")};
    if (friendsPlaying == 1)
        lines << QCoreApplication::translate("TrayIcon", "1 friend playing");
    else if (friendsPlaying > 1)
        lines << QCoreApplication::translate("TrayIcon", "%1 friends playing").arg(friendsPlaying);
    if (!waitingFor.isEmpty())
        lines
            << QCoreApplication::translate("TrayIcon", "waiting for a slot on %1").arg(waitingFor);
    return lines.join(u'\n');
}

TrayIcon::TrayIcon(QWidget &window, const AppSettings &settings, Actions actions, QObject *parent)
    : QObject(parent),
      m_window(window),
      m_actions(std::move(actions)),
      m_menu(std::make_unique<QMenu>())
{
    m_showHide = m_menu->addAction(QString(), this, &TrayIcon::toggleWindow);
    m_menu->addAction(tr("Find Servers"), this, [this] { m_actions.findServers(); });
    QMenu *recent = recentServersMenu(settings, m_actions.joinRecent, m_menu.get());
    m_menu->addMenu(recent);
    m_startWithDesktop = m_menu->addAction(tr("Start with the desktop"));
    m_startWithDesktop->setCheckable(true);
    connect(m_startWithDesktop, &QAction::triggered, this, &TrayIcon::setStartWithDesktop);
    m_menu->addSeparator();
    m_menu->addAction(tr("Quit"), this, [this] { m_actions.quit(); });
    // Read as the menu opens, and the first item each time the window is shown or hidden: a
    // tray that exports the menu over D-Bus may not say that it opens it.
    connect(m_menu.get(), &QMenu::aboutToShow, this, &TrayIcon::offerWindowToggle);
    m_window.installEventFilter(this);
    offerWindowToggle();

    m_icon = new QSystemTrayIcon(m_window.windowIcon(), this);
    m_icon->setObjectName(QStringLiteral("trayIcon"));
    m_icon->setContextMenu(m_menu.get());
    m_icon->setToolTip(trayToolTip(0, QString()));
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    toggleWindow();
            });
    m_icon->show();
}

// The icon goes before its menu, which it still points to.
TrayIcon::~TrayIcon()
{
    delete m_icon;
}

// Qt 6.4 asks the session bus once whether a StatusNotifierItem host is there and keeps that
// answer. Where the host is the only tray (Wayland), Qt is asked only once it has come, so that a
// start before the desktop's tray (at log-in) still finds it; X11's own tray Qt follows itself.
bool TrayIcon::isTrayThere()
{
#ifndef Q_OS_WIN
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
        && !statusNotifierHostIsThere())
        return false;
#endif
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::setToolTip(const QString &text)
{
    if (m_icon->toolTip() != text)
        m_icon->setToolTip(text);
}

bool TrayIcon::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        offerWindowToggle();
    return QObject::eventFilter(watched, event);
}

void TrayIcon::toggleWindow()
{
    if (m_window.isVisible() && !m_window.isMinimized())
        m_window.hide();
    else
        m_actions.show();
}

void TrayIcon::offerWindowToggle()
{
    const bool shown = m_window.isVisible() && !m_window.isMinimized();
    m_showHide->setText(shown ? tr("Hide Brinemoor") : tr("Show Brinemoor"));
    m_startWithDesktop->setChecked(startsWithDesktop());
}

// The check shows what the desktop will do, also when the entry could not be changed.
void TrayIcon::setStartWithDesktop(bool start)
{
    if (!::setStartWithDesktop(start, QApplication::applicationFilePath()))
        qWarning("Brinemoor could not change its autostart entry");
    m_startWithDesktop->setChecked(startsWithDesktop());
}
