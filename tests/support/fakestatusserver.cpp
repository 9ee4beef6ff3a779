// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakestatusserver.h"

#include <QTest>
#include <QTimer>

namespace {

QHostAddress loopback(int hostNumber)
{
    return QHostAddress(QStringLiteral("127.0.0.%1").arg(hostNumber));
}

} // namespace

FakeStatusServer::FakeStatusServer(int hostNumber, quint16 port)
{
    if (const QString failure = m_socket.bind(loopback(hostNumber), port); !failure.isEmpty())
        QTest::qFail(qPrintable(QStringLiteral("fake server not bound: ") + failure), __FILE__,
                     __LINE__);
    connect(&m_socket, &LoopbackSocket::readyRead, this, &FakeStatusServer::readRequests);
}

FakeStatusServer::~FakeStatusServer() = default;

QString FakeStatusServer::addressText() const
{
    return address().toString() + u':' + QString::number(port());
}

void FakeStatusServer::sendToLastClient(const QByteArray &data)
{
    if (!received.isEmpty())
        send({data}, received.constLast().sender, received.constLast().senderPort);
}

QByteArray FakeStatusServer::statusReply(const QStringList &lines)
{
    QByteArray reply("\xff\xff\xff\xffstatusResponse\n");
    for (const QString &line : lines)
        reply += line.toLatin1() + '\n';
    return reply;
}

quint16 FakeStatusServer::unusedPort(int hostNumber)
{
    LoopbackSocket probe;
    probe.bind(loopback(hostNumber), 0);
    return probe.port();
}

void FakeStatusServer::readRequests()
{
    for (const LoopbackSocket::Datagram &request : m_socket.takeArrived()) {
        received.append(
            {request.data, request.sender, request.senderPort, std::chrono::steady_clock::now()});
        if (m_script.isEmpty())
            continue;
        for (const Datagram &datagram : m_script.dequeue())
            send(datagram, request.sender, request.senderPort);
    }
}

// Replies go out with writeDatagram to the request's sender; the client's connected socket drops
// anything that does not come from the server's own address and port.
void FakeStatusServer::send(const Datagram &datagram, const QHostAddress &to, quint16 toPort)
{
    LoopbackSocket &from = datagram.sender == Sender::Server ? m_socket
                                                             : strangerSocket(datagram.sender);
    if (datagram.delay.count() == 0) {
        from.send(datagram.data, to, toPort);
        return;
    }
    QTimer::singleShot(datagram.delay, Qt::PreciseTimer, &from,
                       [&from, data = datagram.data, to, toPort] { from.send(data, to, toPort); });
}

LoopbackSocket &FakeStatusServer::strangerSocket(Sender sender)
{
    std::unique_ptr<LoopbackSocket> &stranger = sender == Sender::OtherPort ? m_otherPort
                                                                            : m_otherAddress;
    if (!stranger) {
        stranger = std::make_unique<LoopbackSocket>();
        if (sender == Sender::OtherPort)
            stranger->bind(address(), 0);
        else
            stranger->bind(QHostAddress(address().toIPv4Address() + 1), port());
    }
    return *stranger;
}
