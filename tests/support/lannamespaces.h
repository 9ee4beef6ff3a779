// SPDX-License-Identifier: GPL-3.0-or-later
// A LAN of a test's own: two network namespaces joined by a veth pair, and game servers on its far
// side that answer a broadcast. Nothing sent there reaches this machine's own networks.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QUdpSocket>

#include <chrono>
#include <memory>

// The thread that makes it moves to the near side (10.77.0.1/24 on `nearInterface()`, set up
// without a broadcast address, loopback, and an interface left down, 10.79.0.1/24) and stays there
// while it lives; the far side has 10.77.0.2/24 and, outside the near network, 10.78.0.2/24.
// Sockets keep the namespace they were made in, so those made in onFarSide() stay there. Neither
// namespace has a name: each goes, with its interfaces, as the last socket in it closes, so nothing
// is left behind, not even by a crash, and runs at the same time cannot meet. Needs root and Linux.
class LanNamespaces final
{
    Q_DISABLE_COPY_MOVE(LanNamespaces)

public:
    LanNamespaces();
    ~LanNamespaces(); // the thread back where it was

    // Why there is no LAN; empty when there is. `permitted()` tells a lack of root or of Linux,
    // for which a test is skipped, from a LAN that could not be made.
    QString problem() const { return m_problem; }
    bool permitted() const { return m_permitted; }

    QString nearInterface() const { return m_nearInterface; }
    static QHostAddress nearAddress() { return QHostAddress(QStringLiteral("10.77.0.1")); }
    static QHostAddress farAddress() { return QHostAddress(QStringLiteral("10.77.0.2")); }
    static QHostAddress strangerAddress() { return QHostAddress(QStringLiteral("10.78.0.2")); }

    // Runs `make` on the far side and returns what it returns.
    template<typename Make>
    auto onFarSide(Make make)
    {
        enter(m_far);
        auto made = make();
        enter(m_near);
        return made;
    }

private:
    bool makeNamespaces();
    bool run(const QStringList &commands);
    void waitUntilRunning();
    void enter(int ns);

    QString m_problem;
    bool m_permitted = true;
    QString m_nearInterface;
    int m_home = -1;
    int m_near = -1;
    int m_far = -1;
};

// Skips the test without root or Linux, and fails it when the LAN could not be made.
#define LAN_OR_SKIP(lan)                                                                           \
    do {                                                                                           \
        if (!(lan).permitted())                                                                    \
            QSKIP(qPrintable((lan).problem()));                                                    \
        QVERIFY2((lan).problem().isEmpty(), qPrintable((lan).problem()));                          \
    } while (false)

// Who sends a FakeLanServer's infoResponse, and when: an address and port other than the
// server's, or none for the server itself; a delay after the request.
struct InfoSender
{
    QHostAddress address;
    quint16 port = 0;
    std::chrono::milliseconds delay{0};
};

// A game server on the far side, bound to every address at its port as servers are: it answers
// "getinfo" with an infoResponse, or has a stranger answer it, and "getstatus" with its status.
class FakeLanServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeLanServer)

public:
    FakeLanServer(quint16 port, const QString &name, InfoSender infoSender = {});

    bool isListening() const { return m_socket.state() == QAbstractSocket::BoundState; }
    QList<QByteArray> received;
    int infoSent = 0; // infoResponses gone out

private:
    void readRequests();
    void sendInfo(const QHostAddress &to, quint16 toPort);

    QUdpSocket m_socket;
    std::unique_ptr<QUdpSocket> m_stranger;
    const QByteArray m_info;
    const QByteArray m_status;
    const std::chrono::milliseconds m_infoDelay;
};
