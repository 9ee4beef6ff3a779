// SPDX-License-Identifier: GPL-3.0-or-later
#include "privatebus.h"

#include <QCoreApplication>
#include <QFile>
#include <QMutexLocker>

namespace {

constexpr char kConfig[] = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

} // namespace

PrivateBus::PrivateBus()
{
    const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QString::fromLatin1(kConfig).arg(m_dir.path()).toUtf8()) < 0)
        return;
    file.close();
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                    QStringLiteral("--print-address=1")});
    while (m_daemon.waitForReadyRead(5000) && !m_daemon.canReadLine()) { }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    for (const QString &name : std::as_const(m_connections))
        QDBusConnection::disconnectFromBus(name);
    m_daemon.terminate();
    m_daemon.waitForFinished(5000);
}

QDBusConnection PrivateBus::connect()
{
    static int made = 0;
    const QString name = QStringLiteral("brinemoor-test-bus-%1").arg(++made);
    m_connections.append(name);
    return QDBusConnection::connectToBus(m_address, name);
}

FakeNotificationService::FakeNotificationService(PrivateBus &bus)
    : m_connection(bus.connect())
{
    m_registered = m_connection.registerObject(
                       QStringLiteral("/org/freedesktop/Notifications"), this,
                       QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)
        && m_connection.registerService(QStringLiteral("org.freedesktop.Notifications"));
}

uint FakeNotificationService::Notify(const QString &appName, uint, const QString &,
                                     const QString &summary, const QString &body,
                                     const QStringList &actions, const QVariantMap &hints, int)
{
    const uint id = uint(calls.size()) + 1;
    calls.append({id, appName, summary, body, actions, hints, std::chrono::steady_clock::now()});
    emit notified();
    return id;
}

FakeStatusNotifierWatcher::FakeStatusNotifierWatcher(PrivateBus &bus)
    : m_connection(bus.connect())
{
    m_registered = m_connection.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                               QDBusConnection::ExportAllSlots
                                                   | QDBusConnection::ExportAllSignals
                                                   | QDBusConnection::ExportAllProperties)
        && m_connection.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    m_thread.start();
    moveToThread(&m_thread);
}

FakeStatusNotifierWatcher::~FakeStatusNotifierWatcher()
{
    m_connection.unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    m_connection.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
    // Back to the test's thread, from its own, so that it ends where it was made.
    QThread *const home = QCoreApplication::instance()->thread();
    QMetaObject::invokeMethod(
        this, [this, home] { moveToThread(home); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

QStringList FakeStatusNotifierWatcher::items() const
{
    const QMutexLocker locked(&m_lock);
    return m_items;
}

void FakeStatusNotifierWatcher::RegisterStatusNotifierItem(const QString &service)
{
    {
        const QMutexLocker locked(&m_lock);
        m_items.append(service);
    }
    emit StatusNotifierItemRegistered(service);
}
