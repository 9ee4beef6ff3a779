// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbusnotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {

constexpr char kService[] = "org.freedesktop.Notifications";
constexpr char kPath[] = "/org/freedesktop/Notifications";
constexpr char kInterface[] = "org.freedesktop.Notifications";
constexpr char kActionId[] = "action";
constexpr qsizetype kRemembered = 64;
constexpr int kServerDecidesTimeout = -1;

QString text(const char *latin1)
{
    return QString::fromLatin1(latin1);
}

QDBusMessage notifyCall(const DesktopNotification &notification)
{
    QDBusMessage call = QDBusMessage::createMethodCall(text(kService), text(kPath),
                                                       text(kInterface), QStringLiteral("Notify"));
    QStringList actions;
    if (!notification.actionLabel.isEmpty())
        actions << text(kActionId) << notification.actionLabel;
    // The desktop entry gives the service the program's name and icon.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("brinemoor")}};
    call << QStringLiteral("Brinemoor") << uint(0) << QStringLiteral("brinemoor")
         << notification.summary << notification.body << actions << hints << kServerDecidesTimeout;
    return call;
}

} // namespace

DBusNotifier::DBusNotifier(OpenBus openBus, QObject *parent)
    : Notifier(parent),
      m_openBus(std::move(openBus))
{ }

QDBusConnection &DBusNotifier::bus()
{
    if (!m_bus) {
        m_bus = m_openBus();
        m_bus->connect(text(kService), text(kPath), text(kInterface),
                       QStringLiteral("ActionInvoked"), this,
                       SLOT(serviceActionInvoked(uint, QString)));
        m_bus->connect(text(kService), text(kPath), text(kInterface),
                       QStringLiteral("NotificationClosed"), this,
                       SLOT(serviceNotificationClosed(uint, uint)));
    }
    return *m_bus;
}

void DBusNotifier::show(const DesktopNotification &notification)
{
    if (!bus().isConnected()) {
        emit failed(QStringLiteral("no session bus: %1").arg(m_bus->lastError().message()));
        return;
    }
    auto *call = new QDBusPendingCallWatcher(m_bus->asyncCall(notifyCall(notification)), this);
    const QString actionKey = notification.actionLabel.isEmpty() ? QString()
                                                                 : notification.actionKey;
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, actionKey](QDBusPendingCallWatcher *finished) { shown(finished, actionKey); });
}

void DBusNotifier::shown(QDBusPendingCallWatcher *call, const QString &actionKey)
{
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        emit failed(reply.error().message());
        return;
    }
    if (actionKey.isEmpty())
        return;
    if (m_withAction.size() == kRemembered)
        m_withAction.removeFirst();
    m_withAction.append({reply.value(), actionKey});
}

void DBusNotifier::serviceActionInvoked(uint id, const QString &action)
{
    if (action != text(kActionId))
        return;
    for (const auto &[shownId, key] : std::as_const(m_withAction)) {
        if (shownId == id) {
            emit actionInvoked(key);
            return;
        }
    }
}

void DBusNotifier::serviceNotificationClosed(uint id, uint)
{
    m_withAction.removeIf(
        [id](const std::pair<uint, QString> &shown) { return shown.first == id; });
}
