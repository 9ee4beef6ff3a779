// SPDX-License-Identifier: GPL-3.0-or-later
// One ICMP echo to a host, for the ping shown beside a server's status.
#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

// One echo on its way. It reports exactly once, never from inside Pinger::start(), and never
// after it has been destroyed: destroying it cancels the echo.
class EchoProbe : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    // The round trip, or nullopt when no echo reply came back within the wait (or none could be
    // sent).
    void finished(std::optional<std::chrono::microseconds> roundTrip);
};

class Pinger
{
public:
    virtual ~Pinger() = default;
    // Sends one echo with an empty payload to a dotted IPv4 address, to wait at most `wait` for
    // its reply. The caller's event loop carries it; the call never blocks.
    virtual std::unique_ptr<EchoProbe> start(const QString &ipv4,
                                             std::chrono::milliseconds wait) = 0;
};
