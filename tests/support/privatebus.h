// SPDX-License-Identifier: GPL-3.0-or-later
// A session bus of a test's own, and a desktop notification service on it that records what it
// is asked to show.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

#include <chrono>

// A dbus-daemon child process on a socket in a temporary folder. It knows no activatable
// services, so a name nobody owns stays unowned.
class PrivateBus final
{
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    bool isRunning() const { return !m_address.isEmpty(); }
    QString address() const { return m_address; }
    // A connection of its own to the bus; it is closed with the bus.
    QDBusConnection connect();

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
};

// org.freedesktop.Notifications on a connection of its own: records each Notify call, answers
// with a fresh id, and sends ActionInvoked or NotificationClosed when told to.
class FakeNotificationService final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
    Q_DISABLE_COPY_MOVE(FakeNotificationService)

public:
    struct Call
    {
        uint id = 0;
        QString appName;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        std::chrono::steady_clock::time_point at;
    };

    explicit FakeNotificationService(PrivateBus &bus);

    bool isRegistered() const { return m_registered; }
    void invokeAction(uint id, const QString &action) { emit ActionInvoked(id, action); }
    void close(uint id) { emit NotificationClosed(id, kDismissedByUser); }

    QList<Call> calls;

public slots:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon,
                const QString &summary, const QString &body, const QStringList &actions,
                const QVariantMap &hints, int expireTimeout);

signals:
    void ActionInvoked(uint id, const QString &actionKey);
    void NotificationClosed(uint id, uint reason);
    void notified();

private:
    static constexpr uint kDismissedByUser = 2;
    QDBusConnection m_connection;
    bool m_registered = false;
};
