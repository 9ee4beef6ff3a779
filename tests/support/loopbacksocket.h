// SPDX-License-Identifier: GPL-3.0-or-later
// A datagram socket of a fake server, bound to one loopback address: QUdpSocket where it can be,
// a Winsock socket of its own on Windows (loopbacksocket_win.cpp says why).
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

#ifdef Q_OS_WIN
class QSocketNotifier;
#else
class QUdpSocket;
#endif

class LoopbackSocket final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LoopbackSocket)

public:
    struct Datagram
    {
        QByteArray data;
        QHostAddress sender;
        quint16 senderPort = 0;
    };

    explicit LoopbackSocket(QObject *parent = nullptr);
    ~LoopbackSocket() override;

    // Binds to `address` at `port`, or at a free port when it is 0: an empty text, or the
    // system's reason why not.
    QString bind(const QHostAddress &address, quint16 port);
    bool isBound() const { return m_port != 0; }
    QHostAddress address() const { return m_address; }
    quint16 port() const { return m_port; }

    // The datagrams that arrived since the last call.
    QList<Datagram> takeArrived();
    void send(const QByteArray &data, const QHostAddress &to, quint16 toPort);

signals:
    void readyRead();

private:
    QHostAddress m_address;
    quint16 m_port = 0;
#ifdef Q_OS_WIN
    qintptr m_handle = -1;
    QSocketNotifier *m_notifier = nullptr;
#else
    QUdpSocket *m_socket;
#endif
};
