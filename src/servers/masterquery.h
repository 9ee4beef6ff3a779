// SPDX-License-Identifier: GPL-3.0-or-later
// One master server asked for one game version's server list.
#pragma once

#include "servers/masterreply.h"

#include <QObject>
#include <QString>

#include <chrono>

class QTimer;
class QUdpSocket;
class QHostAddress;
class QHostInfo;

// How long a master is given. A list ends with "\EOF", or when `quiet` passes without a datagram
// (some masters end with "\EOT" only); a master that sends nothing within `answer` has not
// answered; `whole` ends a master that never stops sending.
struct MasterBounds
{
    std::chrono::milliseconds quiet{1000};
    std::chrono::milliseconds answer{3000};
    std::chrono::milliseconds whole{10000};
};

// How asking one master ended.
struct MasterOutcome
{
    enum class Kind { Listed, NoAnswer, BadReply, NotFound, NotSent };
    Kind kind = Kind::NoAnswer;
    int servers = 0; // acceptable servers it listed
    QString detail;  // the platform's words when NotFound or NotSent
};

// The words of the status line for a master that failed: "no answer", "bad reply", ...
QString outcomeWords(const MasterOutcome &outcome);

// A master as the settings name it: "host" or "host:port", the game's master port where it names
// none.
struct MasterName
{
    QString host;
    quint16 port = 0;
};
std::optional<MasterName> masterName(const QString &text, quint16 defaultPort);

// Resolves the master's name, sends the request from a socket connected to it (so nothing but the
// master's datagrams gets through) and reports the acceptable servers of each datagram, then the
// end once. The object is used once.
class MasterQuery final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MasterQuery)

public:
    MasterQuery(MasterBounds bounds, QObject *parent = nullptr);
    ~MasterQuery() override;

    void ask(const MasterName &master, int protocol);

signals:
    void serversListed(const QList<ServerEndpoint> &servers);
    void ended(const MasterOutcome &outcome);

private:
    void resolved(const QHostInfo &info);
    void send(const QHostAddress &address);
    void readDatagrams();
    void end(MasterOutcome::Kind kind, const QString &detail = {});

    const MasterBounds m_bounds;
    QUdpSocket *const m_socket;
    QTimer *const m_quiet;
    QTimer *const m_whole;
    MasterName m_master;
    int m_protocol = 0;
    int m_lookup = -1;
    quint32 m_masterIp = 0;
    int m_listed = 0;
    bool m_answered = false; // a datagram with the reply header came
    bool m_badReply = false;
    bool m_ended = false;
};
