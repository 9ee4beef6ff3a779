// SPDX-License-Identifier: GPL-3.0-or-later
// A game server on loopback for tests: a real UDP socket on 127.0.0.x that records every datagram
// it receives and answers each one from a script.
#pragma once

#include "loopbacksocket.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QQueue>
#include <QStringList>
#include <QUdpSocket>

#include <chrono>
#include <memory>

class FakeStatusServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeStatusServer)

public:
    // Who sends a datagram of an answer: the server itself, a stranger on the server's address at
    // another port, or a stranger on the next address (127.0.0.3 for 127.0.0.2) at the same port.
    enum class Sender { Server, OtherPort, OtherAddress };
    Q_ENUM(Sender)

    struct Datagram
    {
        QByteArray data;
        Sender sender = Sender::Server;
        std::chrono::milliseconds delay{0}; // after the request arrived
    };

    struct Received
    {
        QByteArray data;
        QHostAddress sender;
        quint16 senderPort = 0;
        std::chrono::steady_clock::time_point at;
    };

    // Listens on 127.0.0.<hostNumber> at `port`, or at a free port when it is 0.
    explicit FakeStatusServer(int hostNumber = 2, quint16 port = 0);
    ~FakeStatusServer() override;

    bool isListening() const { return m_socket.isBound(); }
    QHostAddress address() const { return m_socket.address(); }
    quint16 port() const { return m_socket.port(); }
    // "127.0.0.2:<port>", as it is typed into the address field.
    QString addressText() const;

    // The datagrams that answer the next request; a request with nothing queued meets silence.
    void answerNext(const QList<Datagram> &answer) { m_script.enqueue(answer); }
    void answerNext(const QByteArray &reply) { answerNext({Datagram{reply}}); }
    // Sends from the server, now, to whoever sent the last request: a reply that comes late.
    void sendToLastClient(const QByteArray &data);

    QList<Received> received;
    // Takes the requests that have arrived, without waiting for the event loop to tell of them.
    void readRequests();

    // A status reply: the header, a line feed, then each line followed by a line feed.
    static QByteArray statusReply(const QStringList &lines);
    // A port on 127.0.0.<hostNumber> where nothing listens (it was free a moment ago).
    static quint16 unusedPort(int hostNumber = 2);

private:
    void send(const Datagram &datagram, const QHostAddress &to, quint16 toPort);
    LoopbackSocket &strangerSocket(Sender sender);

    LoopbackSocket m_socket;
    std::unique_ptr<LoopbackSocket> m_otherPort;
    std::unique_ptr<LoopbackSocket> m_otherAddress;
    QQueue<QList<Datagram>> m_script;
};

// The worked example's reply: a deathmatch on mp_harbor for 20, with Bob on it.
inline const QString kWorkedInfo = QStringLiteral(
    R"(\g_gametype\dm\mapname\mp_harbor\sv_maxclients\20)");
inline const QString kBob = QStringLiteral(R"(5 40 "^1Bob")");

inline QByteArray workedExample()
{
    return FakeStatusServer::statusReply({kWorkedInfo, kBob});
}
