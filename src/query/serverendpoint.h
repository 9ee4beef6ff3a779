// SPDX-License-Identifier: GPL-3.0-or-later
// A game server's IPv4 address and port.
#pragma once

#include <QHostAddress>
#include <QString>

struct ServerEndpoint
{
    quint32 ip = 0;
    quint16 port = 0;

    static ServerEndpoint of(const QHostAddress &host, quint16 port)
    {
        return {host.toIPv4Address(), port};
    }
    // Both in one number, the key servers are found by in hashes and sets.
    quint64 key() const { return quint64(ip) << 16 | port; }
    static ServerEndpoint fromKey(quint64 key) { return {quint32(key >> 16), quint16(key)}; }
    QHostAddress host() const { return QHostAddress(ip); }
    // "1.2.3.4:28960"
    QString text() const { return host().toString() + u':' + QString::number(port); }

    friend bool operator==(const ServerEndpoint &, const ServerEndpoint &) = default;
};
