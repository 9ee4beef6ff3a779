// SPDX-License-Identifier: GPL-3.0-or-later
#include "servers/masterclient.h"

#include <QRegularExpression>

QStringList defaultMasters()
{
    return {QStringLiteral("master.cod.pm"), QStringLiteral("codmaster.comu-mvzg.com")};
}

QStringList mastersNamed(const QStringList &stored)
{
    QStringList masters;
    for (const QString &entry : stored)
        masters += entry.split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts);
    return masters.isEmpty() ? defaultMasters() : masters;
}

namespace {

// The game and the protocol first: a master's name holds no blank. Call of Duty and Call of
// Duty 4 share protocol numbers, not lists.
QString askedAtKey(PlayedVersion played, const QString &master)
{
    return QLatin1String(gameOf(played.game).key) + u' ' + QString::number(played.protocol) + u' '
        + master;
}

} // namespace

QDateTime newestAskedAt(const QHash<QString, QDateTime> &askedAt, PlayedVersion played)
{
    const QString prefix = askedAtKey(played, {});
    QDateTime newest;
    for (auto entry = askedAt.cbegin(); entry != askedAt.cend(); ++entry) {
        if (entry.key().startsWith(prefix) && (!newest.isValid() || entry.value() > newest))
            newest = entry.value();
    }
    return newest;
}

MasterClient::MasterClient(MasterBounds bounds, QObject *parent)
    : QObject(parent),
      m_bounds(bounds)
{ }

void MasterClient::fetch(const QStringList &masters, PlayedVersion played, bool refresh)
{
    qDeleteAll(m_queries);
    m_queries.clear();
    m_seen.clear();
    m_running = 0;
    for (const QString &master : masters) {
        const QString key = askedAtKey(played, master);
        if (!refresh && askedRecently(key))
            continue;
        const std::optional<MasterName> name = masterName(master, gameOf(played.game).masterPort);
        if (!name) {
            emit masterEnded(master, {MasterOutcome::Kind::NotFound, 0, {}});
            continue;
        }
        m_askedAt.insert(key, QDateTime::currentDateTimeUtc());
        auto *query = new MasterQuery(m_bounds, this);
        m_queries.append(query);
        ++m_running;
        connect(query, &MasterQuery::serversListed, this, &MasterClient::listed);
        connect(query, &MasterQuery::ended, this, [this, master](const MasterOutcome &outcome) {
            --m_running;
            emit masterEnded(master, outcome);
            if (m_running == 0 && !m_starting)
                emit finished(true);
        });
        // A dotted address that cannot be sent to ends within ask(): the others start all the same.
        m_starting = true;
        query->ask(*name, played.protocol);
        m_starting = false;
    }
    if (m_running == 0)
        emit finished(!m_queries.isEmpty());
}

bool MasterClient::askedRecently(const QString &key) const
{
    const QDateTime asked = m_askedAt.value(key);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    // A clock set back makes the last time lie in the future: ask again rather than never.
    return asked.isValid() && asked <= now
        && asked.secsTo(now) < std::chrono::seconds(kMinimumInterval).count();
}

void MasterClient::listed(const QList<ServerEndpoint> &servers)
{
    QList<ServerEndpoint> fresh;
    for (const ServerEndpoint &server : servers) {
        if (m_seen.size() < kMaxListedServers && !m_seen.contains(server.key())) {
            m_seen.insert(server.key());
            fresh.append(server);
        }
    }
    if (!fresh.isEmpty())
        emit serversListed(fresh);
}
