// SPDX-License-Identifier: GPL-3.0-or-later
#include "servers/lanscan.h"

#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QUdpSocket>

#include <algorithm>

namespace {

const QByteArray kInfoRequest("\xff\xff\xff\xffgetinfo xxx");
const QByteArray kInfoReply("\xff\xff\xff\xffinfoResponse\n");

bool isLanInterface(const QNetworkInterface &interface)
{
    const QNetworkInterface::InterfaceFlags flags = interface.flags();
    return flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning)
        && flags.testFlag(QNetworkInterface::CanBroadcast)
        && !flags.testFlag(QNetworkInterface::IsLoopBack);
}

// The interface's broadcast address, else its network's last one: Linux lets an address be set up
// without a broadcast address and still takes the last one for it.
QHostAddress broadcastOf(const QNetworkAddressEntry &entry)
{
    if (!entry.broadcast().isNull())
        return entry.broadcast();
    if (entry.prefixLength() >= 31) // a point-to-point pair, or a lone address
        return {};
    return QHostAddress(entry.ip().toIPv4Address() | ~entry.netmask().toIPv4Address());
}

} // namespace

QList<LanNetwork> lanNetworks(const QList<QNetworkInterface> &interfaces)
{
    QList<LanNetwork> networks;
    for (const QNetworkInterface &interface : interfaces) {
        if (!isLanInterface(interface))
            continue;
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            if (const QHostAddress broadcast = broadcastOf(entry); !broadcast.isNull())
                networks.append({entry.ip(), entry.prefixLength(), broadcast});
        }
    }
    return networks;
}

LanScan::LanScan(LanBounds bounds, QObject *parent)
    : QObject(parent),
      m_bounds(std::move(bounds))
{
    m_resend.setSingleShot(true);
    m_resend.setTimerType(Qt::PreciseTimer);
    m_end.setSingleShot(true);
    m_end.setTimerType(Qt::PreciseTimer);
    connect(&m_resend, &QTimer::timeout, this, &LanScan::send);
    connect(&m_end, &QTimer::timeout, this, &LanScan::end);
}

LanScan::~LanScan() = default;

void LanScan::start(const QList<LanNetwork> &networks)
{
    stop();
    for (const LanNetwork &network : networks) {
        auto *socket = new QUdpSocket(this);
        socket->setProxy(QNetworkProxy::NoProxy);
        if (!socket->bind(network.address, 0)) {
            emit failed(network.address.toString() + QStringLiteral(": ") + socket->errorString());
            delete socket;
            continue;
        }
        connect(socket, &QUdpSocket::readyRead, this, [this, socket] { readReplies(*socket); });
        m_asked.push_back({network, socket});
    }
    // With nothing to ask the scan still ends as any other does: later, with a word.
    m_end.start(m_asked.empty() ? std::chrono::milliseconds(0) : m_bounds.window);
    if (m_asked.empty())
        return;
    send();
    m_resend.start(m_bounds.resend);
}

void LanScan::stop()
{
    m_resend.stop();
    m_end.stop();
    // Closed at once, so nothing more is read, and deleted later: a reply's handler may stop the
    // scan while its socket is still telling of the reply.
    for (const Asked &asked : m_asked) {
        asked.socket->disconnect(this);
        asked.socket->close();
        asked.socket->deleteLater();
    }
    m_asked.clear();
    m_found.clear();
}

// A network that cannot be reached any more is no reason to stop asking the others.
void LanScan::send()
{
    for (const Asked &asked : m_asked) {
        for (const QHostAddress &to :
             {asked.network.broadcast, QHostAddress(QHostAddress::Broadcast)}) {
            for (const quint16 port : m_bounds.ports)
                asked.socket->writeDatagram(kInfoRequest, to, port);
        }
    }
}

void LanScan::readReplies(QUdpSocket &socket)
{
    QList<ServerEndpoint> fresh;
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket.receiveDatagram();
        const QHostAddress sender = datagram.senderAddress();
        const auto port = quint16(datagram.senderPort());
        if (!datagram.data().startsWith(kInfoReply) || !isAcceptable(sender, port))
            continue;
        const ServerEndpoint server = ServerEndpoint::of(sender, port);
        if (!m_found.contains(server.key())) {
            m_found.insert(server.key());
            fresh.append(server);
        }
    }
    for (const ServerEndpoint &server : fresh)
        emit found(server);
}

bool LanScan::isAcceptable(const QHostAddress &sender, quint16 port) const
{
    return m_bounds.ports.contains(port)
        && std::any_of(m_asked.cbegin(), m_asked.cend(),
                       [&sender](const Asked &asked) { return asked.network.contains(sender); });
}

void LanScan::end()
{
    stop();
    emit finished();
}
