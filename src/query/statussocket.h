// SPDX-License-Identifier: GPL-3.0-or-later
// The status exchange's socket work: where the request goes, binding, sending and reading, with
// the platform's outcomes handed back as values.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QString>

#include <optional>
#include <variant>

class QUdpSocket;

// The server a status request goes to.
struct StatusTarget
{
    QHostAddress host;
    quint16 port = 0;
};

// The target for the host and port texts cut from an address field. nullopt when the host is no
// IPv4 address (the address rules let octets such as 999 through) or the port is not 1 to 65535.
std::optional<StatusTarget> statusTarget(const QString &host, const QString &port);
// The same for an "ip:port" address text, cut at its first colon.
std::optional<StatusTarget> statusTarget(const QString &address);

// The server an address names, given the address rules' verdict on it: that verdict when it is
// not "ok", and the rules' "Invalid IP" for what they let through but no socket takes.
std::variant<StatusTarget, QString> checkedTarget(const QString &verdict, const QString &address);

// Which local port an exchange sends from: the server's own port number, which the window's
// exchange keeps to, or any free one, for queries that run beside it.
enum class LocalPort { SameAsServer, Any };

// Opens a closed `socket` for an exchange with `target`: binds the local port on the local
// address that routes to the server, then connects to the server, so that the reply comes back
// to that port and no other sender's datagram gets through. Returns the platform's error text
// when that fails, with the socket left closed. The socket's errorOccurred stays quiet meanwhile:
// the caller reports.
std::optional<QString> openStatusSocket(QUdpSocket &socket, const StatusTarget &target,
                                        LocalPort localPort);

// Sends the status request on an opened socket; the platform's error text when it is not sent.
// Like openStatusSocket, it leaves the reporting to the caller.
std::optional<QString> sendStatusRequest(QUdpSocket &socket);

// What one read from the socket found.
struct ArrivedDatagram
{
    enum class Kind { Datagram, Refused, Failed };
    Kind kind = Kind::Failed;
    QByteArray data;
};

// True when the server's port has been found refused while no read reported it: Windows tells a
// refusal on the next receive, and Wine keeps it only as the socket's pending error, with no sign
// that there is anything to read. Elsewhere the refusal always comes as something to read.
bool hasPendingRefusal(QUdpSocket &socket);

// Reads one datagram. It has to be the first call on the socket in a readyRead handler: a refused
// port shows only as the failure of that read, and other first calls lose it.
ArrivedDatagram readArrivedDatagram(QUdpSocket &socket);
