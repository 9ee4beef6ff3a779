// SPDX-License-Identifier: GPL-3.0-or-later
#include "loopbacksocket.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

LoopbackSocket::LoopbackSocket(QObject *parent)
    : QObject(parent),
      m_socket(new QUdpSocket(this))
{
    connect(m_socket, &QUdpSocket::readyRead, this, &LoopbackSocket::readyRead);
}

LoopbackSocket::~LoopbackSocket() = default;

QString LoopbackSocket::bind(const QHostAddress &address, quint16 port)
{
    if (!m_socket->bind(address, port))
        return m_socket->errorString();
    m_address = m_socket->localAddress();
    m_port = m_socket->localPort();
    return {};
}

QList<LoopbackSocket::Datagram> LoopbackSocket::takeArrived()
{
    QList<Datagram> arrived;
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        arrived.append({datagram.data(), datagram.senderAddress(), quint16(datagram.senderPort())});
    }
    return arrived;
}

void LoopbackSocket::send(const QByteArray &data, const QHostAddress &to, quint16 toPort)
{
    m_socket->writeDatagram(data, to, toPort);
}
