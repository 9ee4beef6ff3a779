// SPDX-License-Identifier: GPL-3.0-or-later
// Wine (8.0) binds a datagram socket on any loopback address but 127.0.0.1 to every address
// instead. A fake server on 127.0.0.2 would then hold its port on 127.0.0.1 as well, where the
// program binds its own socket, and its answers would leave from 127.0.0.1, which the program's
// connected socket drops. A socket of both families bound to the IPv4 address in its IPv6 form is
// bound to that address alone, under Wine as on Windows. QUdpSocket cannot take such a socket
// over (Qt 6.4 leaves the receive function of an adopted socket unset), so this reads and writes
// it itself.
#include "loopbacksocket.h"

#include <QSocketNotifier>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>

namespace {

constexpr int kLargestDatagram = 65536;

QString lastError()
{
    return qt_error_string(WSAGetLastError());
}

sockaddr_in6 inIPv6Form(const QHostAddress &address, quint16 port)
{
    sockaddr_in6 socketAddress{};
    socketAddress.sin6_family = AF_INET6;
    socketAddress.sin6_port = htons(port);
    const Q_IPV6ADDR bytes = QHostAddress(address.toIPv4Address()).toIPv6Address();
    std::memcpy(&socketAddress.sin6_addr, bytes.c, sizeof bytes.c);
    return socketAddress;
}

QHostAddress inIPv4Form(const sockaddr_in6 &socketAddress)
{
    Q_IPV6ADDR bytes;
    std::memcpy(bytes.c, &socketAddress.sin6_addr, sizeof bytes.c);
    return QHostAddress(QHostAddress(bytes).toIPv4Address());
}

} // namespace

LoopbackSocket::LoopbackSocket(QObject *parent)
    : QObject(parent)
{ }

LoopbackSocket::~LoopbackSocket()
{
    delete m_notifier;
    if (m_handle != -1)
        ::closesocket(SOCKET(m_handle));
}

QString LoopbackSocket::bind(const QHostAddress &address, quint16 port)
{
    const SOCKET handle = ::socket(AF_INET6, SOCK_DGRAM, IPPROTO_UDP);
    if (handle == INVALID_SOCKET)
        return lastError();
    m_handle = qintptr(handle);
    const DWORD bothFamilies = 0;
    sockaddr_in6 local = inIPv6Form(address, port);
    int size = sizeof local;
    if (::setsockopt(handle, IPPROTO_IPV6, IPV6_V6ONLY,
                     reinterpret_cast<const char *>(&bothFamilies), sizeof bothFamilies)
            != 0
        || ::bind(handle, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0
        || ::getsockname(handle, reinterpret_cast<sockaddr *>(&local), &size) != 0)
        return lastError();
    m_address = inIPv4Form(local);
    m_port = ntohs(local.sin6_port);
    m_notifier = new QSocketNotifier(m_handle, QSocketNotifier::Read);
    connect(m_notifier, &QSocketNotifier::activated, this, &LoopbackSocket::readyRead);
    return {};
}

QList<LoopbackSocket::Datagram> LoopbackSocket::takeArrived()
{
    QList<Datagram> arrived;
    QByteArray buffer(kLargestDatagram, Qt::Uninitialized);
    u_long waiting = 0;
    while (::ioctlsocket(SOCKET(m_handle), FIONREAD, &waiting) == 0 && waiting > 0) {
        sockaddr_in6 sender{};
        int size = sizeof sender;
        const int received = ::recvfrom(SOCKET(m_handle), buffer.data(), int(buffer.size()), 0,
                                        reinterpret_cast<sockaddr *>(&sender), &size);
        // A port that refused an earlier answer is reported here once, as a reset.
        if (received >= 0)
            arrived.append({buffer.left(received), inIPv4Form(sender), ntohs(sender.sin6_port)});
        else if (WSAGetLastError() != WSAECONNRESET)
            break;
    }
    return arrived;
}

void LoopbackSocket::send(const QByteArray &data, const QHostAddress &to, quint16 toPort)
{
    const sockaddr_in6 target = inIPv6Form(to, toPort);
    ::sendto(SOCKET(m_handle), data.constData(), int(data.size()), 0,
             reinterpret_cast<const sockaddr *>(&target), sizeof target);
}
