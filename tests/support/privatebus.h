// SPDX-License-Identifier: GPL-3.0-or-later
// A session bus of a test's own, a desktop notification service on it that records what it is
// asked to show, and a tray's StatusNotifierWatcher that records the items registered with it.
#pragma once

#include <QDBusConnection>
#include <QMutex>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
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

// org.kde.StatusNotifierWatcher at /StatusNotifierWatcher, with a host registered: what a desktop
// with a tray puts on the session bus. It answers on a thread of its own, since Qt's tray icon
// asks it with calls that block the GUI thread.
class FakeStatusNotifierWatcher final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_DISABLE_COPY_MOVE(FakeStatusNotifierWatcher)

public:
    explicit FakeStatusNotifierWatcher(PrivateBus &bus);
    ~FakeStatusNotifierWatcher() override;

    bool isRegistered() const { return m_registered; }
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    // The items' services, in the order they came; safe from any thread.
    QStringList items() const;

public slots:
    void RegisterStatusNotifierItem(const QString &service);
    void RegisterStatusNotifierHost(const QString &) { }

signals:
    void StatusNotifierItemRegistered(const QString &service);
    void StatusNotifierHostRegistered();

private:
    QDBusConnection m_connection;
    QThread m_thread;
    bool m_registered = false;
    mutable QMutex m_lock;
    QStringList m_items;
};
