// SPDX-License-Identifier: GPL-3.0-or-later
#include "servers/masterquery.h"

#include <QHostInfo>
#include <QNetworkProxy>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

QString outcomeWords(const MasterOutcome &outcome)
{
    switch (outcome.kind) {
    case MasterOutcome::Kind::Listed:
        return MasterQuery::tr("%n servers", nullptr, outcome.servers);
    case MasterOutcome::Kind::NoAnswer:
        return MasterQuery::tr("no answer");
    case MasterOutcome::Kind::BadReply:
        return MasterQuery::tr("bad reply");
    case MasterOutcome::Kind::NotFound:
        return MasterQuery::tr("name not found");
    case MasterOutcome::Kind::NotSent:
        return MasterQuery::tr("not sent: ") + outcome.detail;
    }
    return {};
}

std::optional<MasterName> masterName(const QString &text, quint16 defaultPort)
{
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.lastIndexOf(u':');
    if (colon < 0)
        return trimmed.isEmpty() ? std::nullopt : std::optional(MasterName{trimmed, defaultPort});
    bool isNumber = false;
    const uint port = trimmed.sliced(colon + 1).toUInt(&isNumber);
    if (!isNumber || port == 0 || port > 65535 || colon == 0)
        return std::nullopt;
    return MasterName{trimmed.first(colon), quint16(port)};
}

MasterQuery::MasterQuery(MasterBounds bounds, QObject *parent)
    : QObject(parent),
      m_bounds(bounds),
      m_socket(new QUdpSocket(this)),
      m_quiet(new QTimer(this)),
      m_whole(new QTimer(this))
{
    m_socket->setProxy(QNetworkProxy::NoProxy);
    m_quiet->setSingleShot(true);
    m_whole->setSingleShot(true);
    connect(m_socket, &QUdpSocket::readyRead, this, &MasterQuery::readDatagrams);
    connect(m_quiet, &QTimer::timeout, this, [this] {
        end(m_answered       ? MasterOutcome::Kind::Listed
                : m_badReply ? MasterOutcome::Kind::BadReply
                             : MasterOutcome::Kind::NoAnswer);
    });
    connect(m_whole, &QTimer::timeout, this, [this] {
        end(m_answered ? MasterOutcome::Kind::Listed : MasterOutcome::Kind::BadReply);
    });
}

MasterQuery::~MasterQuery()
{
    if (m_lookup >= 0)
        QHostInfo::abortHostLookup(m_lookup);
}

void MasterQuery::ask(const MasterName &master, int protocol)
{
    m_master = master;
    m_protocol = protocol;
    // A dotted address is used as it is, at once: a lookup of it would ask the DNS server for its
    // name first, and wait for an unreachable one.
    const QHostAddress literal(master.host);
    if (literal.protocol() == QAbstractSocket::IPv4Protocol)
        send(literal);
    else if (literal.isNull())
        m_lookup = QHostInfo::lookupHost(master.host, this, &MasterQuery::resolved);
    else
        end(MasterOutcome::Kind::NotFound, QStringLiteral("not an IPv4 address"));
}

void MasterQuery::resolved(const QHostInfo &info)
{
    m_lookup = -1;
    const QList<QHostAddress> addresses = info.addresses();
    const auto ipv4 = std::find_if(addresses.begin(), addresses.end(), [](const QHostAddress &a) {
        return a.protocol() == QAbstractSocket::IPv4Protocol;
    });
    if (ipv4 == addresses.end())
        end(MasterOutcome::Kind::NotFound, info.errorString());
    else
        send(*ipv4);
}

void MasterQuery::send(const QHostAddress &address)
{
    m_masterIp = address.toIPv4Address();
    m_socket->connectToHost(address, m_master.port);
    if (m_socket->write(masterRequest(m_protocol)) < 0) {
        end(MasterOutcome::Kind::NotSent, m_socket->errorString());
        return;
    }
    m_quiet->start(m_bounds.answer);
    m_whole->start(m_bounds.whole);
}

// Stops reading once the list is full: a master that sends 100,000 entries is cut off there.
void MasterQuery::readDatagrams()
{
    while (!m_ended) {
        // Read first, with a size: other first calls lose a refusal (which ends as no answer).
        const QNetworkDatagram datagram = m_socket->receiveDatagram(65536);
        if (!datagram.isValid())
            return;
        const MasterReply reply = parseMasterReply(datagram.data());
        if (!reply.isReply) {
            m_badReply = true;
            continue;
        }
        m_answered = true;
        QList<ServerEndpoint> servers;
        for (const ServerEndpoint &server : reply.servers) {
            if (isAcceptableServer(server, m_masterIp) && m_listed < kMaxListedServers) {
                servers.append(server);
                ++m_listed;
            }
        }
        if (!servers.isEmpty())
            emit serversListed(servers);
        if (reply.endOfList || m_listed >= kMaxListedServers)
            end(MasterOutcome::Kind::Listed);
        else
            m_quiet->start(m_bounds.quiet);
    }
}

void MasterQuery::end(MasterOutcome::Kind kind, const QString &detail)
{
    if (m_ended)
        return;
    m_ended = true;
    m_quiet->stop();
    m_whole->stop();
    m_socket->close();
    emit ended({kind, m_listed, detail});
}
