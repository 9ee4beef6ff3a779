// SPDX-License-Identifier: GPL-3.0-or-later
#include "servers/serverbrowser.h"

#include "friends/friendsettings.h"
#include "query/statussocket.h"
#include "servers/masterclient.h"
#include "servers/servercache.h"
#include "servers/serverfilter.h"
#include "servers/serverlistmodel.h"
#include "settings/appsettings.h"

#include <algorithm>

using namespace std::chrono;

namespace {

constexpr milliseconds kProgressInterval{100};

} // namespace

ServerBrowser::ServerBrowser(AppSettings &settings, ServerBrowserOptions options, QObject *parent)
    : QObject(parent),
      m_settings(settings),
      m_options(std::move(options)),
      m_servers(new ServerListModel(this)),
      m_filter(new ServerFilter(*m_servers, this)),
      m_masters(new MasterClient(m_options.masterBounds, this)),
      m_sweep(new ServerSweep(m_options.sweepBounds, this)),
      m_lan(new LanScan(m_options.lanBounds, this)),
      m_played(playedOf(m_options.game)),
      m_scansLan(settings.lanScan())
{
    m_servers->setPlayed(m_played);
    wire();
    readFriends();
    loadCache();
}

// Quitting the program ends the browser without its window being closed.
ServerBrowser::~ServerBrowser()
{
    saveCache();
}

void ServerBrowser::wire()
{
    connect(m_masters, &MasterClient::serversListed, this, &ServerBrowser::listed);
    connect(m_masters, &MasterClient::masterEnded, this, &ServerBrowser::masterEnded);
    connect(m_masters, &MasterClient::finished, this, &ServerBrowser::tick);
    connect(m_sweep, &ServerSweep::replied, m_servers, &ServerListModel::setReply);
    connect(m_sweep, &ServerSweep::replied, this, &ServerBrowser::replied);
    connect(m_sweep, &ServerSweep::noReply, m_servers, &ServerListModel::setNoReply);
    connect(m_sweep, &ServerSweep::failed, this,
            [this](const QString &reason) { m_failures.append(tr("status queries: ") + reason); });
    connect(m_lan, &LanScan::found, this, &ServerBrowser::foundOnLan);
    connect(m_lan, &LanScan::finished, this, &ServerBrowser::tick);
    connect(m_lan, &LanScan::failed, this,
            [this](const QString &reason) { m_failures.append(tr("LAN: ") + reason); });
    m_progressTimer.setInterval(kProgressInterval);
    connect(&m_progressTimer, &QTimer::timeout, this, &ServerBrowser::tick);
}

// A cache of another game version's list, or none that can be read, leaves the list empty.
void ServerBrowser::loadCache()
{
    const std::optional<CachedList> cached = readServerCache(
        serverCachePath(m_options.cacheFolder, m_played.game));
    if (!cached)
        return;
    m_masters->setAskedAt(cached->askedAt);
    if (cached->protocol == m_played.protocol) {
        m_servers->setServers(cached->servers);
        m_listTakenAt = newestAskedAt(cached->askedAt, m_played);
    }
}

void ServerBrowser::saveCache() const
{
    writeServerCache(serverCachePath(m_options.cacheFolder, m_played.game),
                     {m_played.protocol, m_masters->askedAt(), m_servers->servers()});
}

PlayedVersion ServerBrowser::playedOf(GameId game) const
{
    return m_options.played ? m_options.played(game)
                            : PlayedVersion{game, gameOf(game).defaultProtocol};
}

void ServerBrowser::choose(PlayedVersion played)
{
    // Kept only when it changed, so that choosing versions seldom writes the store; a choice that
    // could not be kept is no loss worth a message.
    if (played.game != m_played.game)
        m_settings.setBrowserGame(played.game);
    saveCache();
    m_played = played;
    m_servers->setPlayed(played);
    m_servers->setServers({});
    m_listTakenAt = {};
    loadCache();
    fetch(false);
}

void ServerBrowser::fetch(bool refresh)
{
    m_failures.clear();
    m_mastersListed = 0;
    m_sweep->stop();
    m_sweep->ask(m_servers->restartAll());
    m_masters->fetch(mastersNamed(m_settings.masters(m_played.game)), m_played, refresh);
    if (m_scansLan)
        scanLan();
    m_progressTimer.start();
    tick();
}

bool ServerBrowser::isWorking() const
{
    return m_masters->isFetching() || !m_sweep->isIdle() || m_lan->isScanning();
}

// A switch that could not be stored is still the one the browser goes by until it closes.
void ServerBrowser::setLanScan(bool on)
{
    m_scansLan = on;
    m_settings.setLanScan(on);
    if (!on) {
        m_lan->stop();
        return;
    }
    scanLan();
    m_progressTimer.start();
    tick();
}

// The interfaces are read anew each time: a network may have come or gone since the last look.
void ServerBrowser::scanLan()
{
    m_lan->start(lanNetworks(QNetworkInterface::allInterfaces()));
}

BrowserProgress ServerBrowser::progress() const
{
    const int total = m_servers->rowCount();
    const QList<FoundServer> &rows = m_servers->servers();
    const auto onLan = int(std::count_if(rows.cbegin(), rows.cend(),
                                         [](const FoundServer &row) { return row.foundOnLan; }));
    BrowserProgress progress{total, m_mastersListed, {}, m_servers->answered(), m_failures};
    if (m_mastersListed == 0 && total > onLan && m_listTakenAt.isValid())
        progress.keptListAge = seconds(m_listTakenAt.secsTo(QDateTime::currentDateTimeUtc()));
    if (m_scansLan || onLan > 0)
        progress.lanServers = onLan;
    return progress;
}

std::optional<int> ServerBrowser::rowOf(const QString &address) const
{
    const std::optional<StatusTarget> target = statusTarget(address);
    if (!target)
        return std::nullopt;
    const int row = m_servers->rowOf(ServerEndpoint::of(target->host, target->port).key());
    return row < 0 ? std::nullopt : std::optional<int>(row);
}

void ServerBrowser::readFriends()
{
    const QStringList names = m_settings.friends();
    m_friends = FriendList(names);
    m_friends.whenDecided(this, [this] { // players matched in later turns
        m_servers->setFriends(m_friends);
        emit friendsMatched();
    });
    m_servers->setFriends(m_friends);
    emit friendsRead(names);
    emit friendsMatched();
}

// The main window reads the list again, and has the browser read it through readFriends().
void ServerBrowser::editFriend(const QString &name, bool befriend)
{
    if (name.isEmpty())
        return;
    emit friendsEdited(befriend ? addFriend(m_settings, name) : removeFriend(m_settings, name));
}

void ServerBrowser::listed(const QList<ServerEndpoint> &servers)
{
    m_sweep->ask(m_servers->addServers(servers));
}

void ServerBrowser::foundOnLan(const ServerEndpoint &server)
{
    m_sweep->ask(m_servers->addServers({server}));
    m_servers->setFoundOnLan(server.key());
}

void ServerBrowser::masterEnded(const QString &master, const MasterOutcome &outcome)
{
    if (outcome.kind == MasterOutcome::Kind::Listed) {
        ++m_mastersListed;
        m_listTakenAt = QDateTime::currentDateTimeUtc();
    } else
        m_failures.append(master + QStringLiteral(": ") + outcomeWords(outcome));
}

void ServerBrowser::replied(quint64 server)
{
    const int row = m_servers->rowOf(server);
    if (row < 0)
        return;
    const FoundServer &found = m_servers->server(row);
    emit serverAnswered(found.addressText(), found.name, found.status);
}

void ServerBrowser::tick()
{
    emit progressChanged();
    if (!isWorking()) {
        m_progressTimer.stop();
        saveCache();
        emit sweepEnded();
    }
}
