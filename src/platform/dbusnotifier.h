// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop notifications through the freedesktop notification service on the session bus.
#pragma once

#include "platform/notifier.h"

#include <QDBusConnection>
#include <QList>

#include <functional>
#include <optional>
#include <utility>

class QDBusPendingCallWatcher;

// Calls org.freedesktop.Notifications' Notify without waiting for its answer, and follows
// ActionInvoked for the notifications of its own that carry an action. The bus is opened with the
// first notification, so a start-up that shows none never waits for it.
class DBusNotifier final : public Notifier
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DBusNotifier)

public:
    using OpenBus = std::function<QDBusConnection()>;

    explicit DBusNotifier(OpenBus openBus = &QDBusConnection::sessionBus,
                          QObject *parent = nullptr);

    void show(const DesktopNotification &notification) override;

private slots:
    // Called by QtDBus, which connects by signature only.
    void serviceActionInvoked(uint id, const QString &action);
    void serviceNotificationClosed(uint id, uint reason);

private:
    QDBusConnection &bus();
    void shown(QDBusPendingCallWatcher *call, const QString &actionKey);

    const OpenBus m_openBus;
    std::optional<QDBusConnection> m_bus;
    // The notifications with an action still on screen, newest last, at most kRemembered: a
    // service that never says one was closed must not make the list grow.
    QList<std::pair<uint, QString>> m_withAction;
};
