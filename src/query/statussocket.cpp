// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/statussocket.h"

#include "address/addressrules.h"
#include "query/statusreply.h"

#include <QNetworkDatagram>
#include <QNetworkProxy>
#include <QSignalBlocker>
#include <QUdpSocket>

#ifdef Q_OS_WIN
#include <winsock2.h>
#endif

namespace {

// Room for the largest datagram UDP can carry, so that no reply is ever cut short.
constexpr qint64 kLargestDatagram = 65536;

// The local address the system would send from to reach `target`. A throwaway connected socket
// asks the routing table; nothing is sent.
std::optional<QHostAddress> routeTo(const StatusTarget &target, QString &failure)
{
    QUdpSocket probe;
    probe.setProxy(QNetworkProxy::NoProxy);
    probe.connectToHost(target.host, target.port);
    if (probe.state() != QAbstractSocket::ConnectedState) {
        failure = probe.errorString();
        return std::nullopt;
    }
    return probe.localAddress();
}

// A socket that could not be made ready is closed, so that nothing arrives on it later.
QString closedWith(QUdpSocket &socket, const QString &failure)
{
    socket.close();
    return failure;
}

} // namespace

std::optional<StatusTarget> statusTarget(const QString &host, const QString &port)
{
    QHostAddress address;
    if (!address.setAddress(host) || address.protocol() != QAbstractSocket::IPv4Protocol)
        return std::nullopt;
    bool isNumber = false;
    const uint number = port.toUInt(&isNumber);
    if (!isNumber || number == 0 || number > 65535)
        return std::nullopt;
    return StatusTarget{address, quint16(number)};
}

std::optional<StatusTarget> statusTarget(const QString &address)
{
    const qsizetype colon = address.indexOf(u':');
    if (colon < 0)
        return std::nullopt;
    return statusTarget(address.left(colon), address.mid(colon + 1));
}

std::variant<StatusTarget, QString> checkedTarget(const QString &verdict, const QString &address)
{
    if (verdict != QLatin1String(kAddressOk))
        return verdict;
    if (const std::optional<StatusTarget> target = statusTarget(address))
        return *target;
    return addressMessage(kInvalidAddress);
}

std::optional<QString> openStatusSocket(QUdpSocket &socket, const StatusTarget &target,
                                        LocalPort localPort)
{
    const QSignalBlocker quiet(socket);
    // Status requests go straight to the server. Left to itself, Qt asks the system's proxy
    // settings on every bind and connect, which costs more than the whole exchange.
    socket.setProxy(QNetworkProxy::NoProxy);
    // Any free port: the system binds one on the routing address as it connects, which spares
    // the background refresh a route probe and a bind for each of its thousands of servers.
    if (localPort == LocalPort::SameAsServer) {
        QString failure;
        const std::optional<QHostAddress> local = routeTo(target, failure);
        if (!local)
            return failure;
        // Bound on the routing address rather than the wildcard: a wildcard bind fails whenever
        // any program here holds the port on any address, a game server on this machine included.
        if (!socket.bind(*local, target.port, QAbstractSocket::DontShareAddress))
            return socket.errorString();
    }
    socket.connectToHost(target.host, target.port);
    if (socket.state() != QAbstractSocket::ConnectedState)
        return closedWith(socket, socket.errorString());
    return std::nullopt;
}

std::optional<QString> sendStatusRequest(QUdpSocket &socket)
{
    const QSignalBlocker quiet(socket);
    const QByteArray request = statusRequest();
    if (socket.write(request) != request.size())
        return socket.errorString();
    return std::nullopt;
}

#ifdef Q_OS_WIN

bool hasPendingRefusal(QUdpSocket &socket)
{
    const auto handle = SOCKET(socket.socketDescriptor());
    int error = 0;
    int size = sizeof error;
    if (::getsockopt(handle, SOL_SOCKET, SO_ERROR, reinterpret_cast<char *>(&error), &size) == 0
        && (error == WSAECONNREFUSED || error == WSAECONNRESET))
        return true;
    // A peek leaves a datagram that is there for the read that follows.
    char peeked = 0;
    return ::recv(handle, &peeked, 1, MSG_PEEK) == SOCKET_ERROR
        && WSAGetLastError() == WSAECONNRESET;
}

#else

bool hasPendingRefusal(QUdpSocket &)
{
    return false;
}

#endif

ArrivedDatagram readArrivedDatagram(QUdpSocket &socket)
{
    const QNetworkDatagram datagram = socket.receiveDatagram(kLargestDatagram);
    if (datagram.isValid())
        return {ArrivedDatagram::Kind::Datagram, datagram.data()};
    if (socket.error() == QAbstractSocket::ConnectionRefusedError)
        return {ArrivedDatagram::Kind::Refused, {}};
    return {};
}
