// SPDX-License-Identifier: GPL-3.0-or-later
// The game servers on the player's own networks, found by a broadcast.
#pragma once

#include "query/serverendpoint.h"

#include <QHostAddress>
#include <QList>
#include <QNetworkInterface>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <chrono>
#include <vector>

class QUdpSocket;

// One IPv4 network of an interface: the interface's own address in it and its broadcast address.
struct LanNetwork
{
    QHostAddress address;
    int prefixLength = 0;
    QHostAddress broadcast;

    bool contains(const QHostAddress &host) const { return host.isInSubnet(address, prefixLength); }
    friend bool operator==(const LanNetwork &, const LanNetwork &) = default;
};

// The networks of the interfaces that are up, running and can broadcast; loopback is left out.
QList<LanNetwork> lanNetworks(const QList<QNetworkInterface> &interfaces);

// Where a scan asks and how long it listens.
struct LanBounds
{
    QList<quint16> ports{28960, 28961, 28962, 28963}; // the game's usual ones
    std::chrono::milliseconds resend{300};
    std::chrono::milliseconds window{1500}; // from the first request
};

// Sends "getinfo" to each network's broadcast address and to 255.255.255.255 at every port, twice,
// from a socket bound to the network's own address: a limited broadcast leaves by the interface
// of the address it is sent from, so every network hears it, not just the one with the default
// route. An "infoResponse" counts only from an address in one of the networks and a port asked,
// and only within the window; each server is told of once a scan.
class LanScan final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LanScan)

public:
    explicit LanScan(LanBounds bounds = {}, QObject *parent = nullptr);
    ~LanScan() override;

    // A scan under way starts over.
    void start(const QList<LanNetwork> &networks);
    // Ends the scan without a word.
    void stop();
    bool isScanning() const { return m_end.isActive(); }

signals:
    void found(const ServerEndpoint &server);
    void finished();
    // A network's socket could not be opened: that network is not asked.
    void failed(const QString &reason);

private:
    void send();
    void readReplies(QUdpSocket &socket);
    bool isAcceptable(const QHostAddress &sender, quint16 port) const;
    void end();

    struct Asked
    {
        LanNetwork network;
        QUdpSocket *socket; // bound to the network's own address
    };

    const LanBounds m_bounds;
    std::vector<Asked> m_asked;
    QSet<quint64> m_found;
    QTimer m_resend;
    QTimer m_end;
};
