// SPDX-License-Identifier: GPL-3.0-or-later
#include "servers/serverlistmodel.h"

#include <QTimer>

#include <algorithm>
#include <limits>

namespace {

// Statuses that arrive together are shown together: each change re-sorts and redraws the table.
// Ten changes a second still show the list filling as it happens.
constexpr std::chrono::milliseconds kShowChangesEvery{100};
// Changed rows this close together are told as one range.
constexpr int kRunGap = 32;

QString header(int column)
{
    static const char *const headers[] = {QT_TRANSLATE_NOOP("ServerListModel", "Name"),
                                          QT_TRANSLATE_NOOP("ServerListModel", "Players"),
                                          QT_TRANSLATE_NOOP("ServerListModel", "Ping"),
                                          QT_TRANSLATE_NOOP("ServerListModel", "Country"),
                                          QT_TRANSLATE_NOOP("ServerListModel", "Map"),
                                          QT_TRANSLATE_NOOP("ServerListModel", "Type"),
                                          QT_TRANSLATE_NOOP("ServerListModel", "Version"),
                                          QT_TRANSLATE_NOOP("ServerListModel", "Mod")};
    return ServerListModel::tr(headers[column]);
}

bool isSettled(BookmarkStatus::State state)
{
    return state != BookmarkStatus::State::Waiting;
}

} // namespace

ServerListModel::ServerListModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

int ServerListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_servers.size());
}

int ServerListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ServerListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_servers.size())
        return {};
    const FoundServer &server = m_servers.at(index.row());
    const QStringList &friends = server.friends;
    const bool answered = server.status.state == BookmarkStatus::State::Answered;
    switch (role) {
    case Qt::DisplayRole:
        return display(server, index.column());
    case roleId(FoundServerRole::SortKey):
        return sortKey(server, index.column());
    case Qt::AccessibleDescriptionRole:
        return withFriendsWords(statusWords(server.status, m_played, server.country().name()),
                                friends);
    case Qt::ToolTipRole:
        return toolTip(server, index.column());
    case roleId(FoundServerRole::FriendCount):
        return int(friends.size());
    case Qt::TextAlignmentRole:
        return index.column() == Players || index.column() == Ping
            ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
            : QVariant();
    case roleId(FoundServerRole::Locked):
        return answered && server.status.server.password;
    case roleId(FoundServerRole::OtherVersion):
        return answered && runsOtherVersion(server.status.server, m_played);
    case roleId(FoundServerRole::CountryCode):
        return QString(server.country().code());
    default:
        return {};
    }
}

QVariant ServerListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= ColumnCount)
        return {};
    return header(section);
}

QVariant ServerListModel::display(const FoundServer &server, int column) const
{
    const BookmarkStatus::Server &figures = server.status.server;
    const bool answered = server.status.state == BookmarkStatus::State::Answered;
    switch (column) {
    case Name:
        return server.displayName();
    case Players:
        return answered ? playersFigure(figures) : statusMark(server.status.state);
    case Ping:
        return answered ? QString::number(figures.pingMs) : QString();
    case Country:
        return server.country().label();
    case Map:
        return figures.map;
    case Type:
        return server.type;
    case Version:
        return figures.version;
    case Mod:
        return figures.mod;
    }
    return {};
}

// Players and ping sort as numbers; a server without figures sorts after every one with them, as
// one of unknown country does after the rest.
QVariant ServerListModel::sortKey(const FoundServer &server, int column) const
{
    const bool answered = server.status.state == BookmarkStatus::State::Answered;
    switch (column) {
    case Players:
        return answered ? server.status.server.players : -1;
    case Ping:
        return answered ? server.status.server.pingMs : std::numeric_limits<qint64>::max();
    case Country:
        return server.country().sortRank();
    default:
        return display(server, column);
    }
}

// The Country cell tells the country's name alone, the others the row's status and its country.
QString ServerListModel::toolTip(const FoundServer &server, int column) const
{
    const QString place = server.country().name();
    if (column == Country && !place.isEmpty())
        return place;
    return withFriendsWords(statusToolTip(server.status, m_played, place), server.friends);
}

QStringList ServerListModel::friendsAmong(const FoundServer &server) const
{
    if (m_friends.isEmpty())
        return {};
    QStringList players;
    players.reserve(server.players.size());
    for (const FoundPlayer &player : server.players)
        players.append(player.name);
    return m_friends.friendsAmong(players);
}

void ServerListModel::setFriends(const FriendList &friends)
{
    m_friends = friends;
    for (FoundServer &server : m_servers)
        server.friends = friendsAmong(server);
    if (!m_servers.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void ServerListModel::setPlayed(PlayedVersion played)
{
    m_played = played;
    if (!m_servers.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void ServerListModel::setServers(const QList<FoundServer> &servers)
{
    beginResetModel();
    m_servers = servers;
    m_rows.clear();
    m_answered = m_settled = 0;
    for (int row = 0; row < m_servers.size(); ++row) {
        m_servers[row].friends = friendsAmong(m_servers[row]);
        const BookmarkStatus::State state = m_servers[row].status.state;
        m_rows.insert(m_servers[row].address.key(), row);
        m_answered += state == BookmarkStatus::State::Answered;
        m_settled += isSettled(state);
    }
    m_changedRows.clear();
    endResetModel();
}

QList<quint64> ServerListModel::addServers(const QList<ServerEndpoint> &servers)
{
    QList<quint64> added;
    for (const ServerEndpoint &address : servers) {
        if (!m_rows.contains(address.key()) && m_servers.size() + added.size() < kMaxListedServers)
            added.append(address.key());
    }
    if (added.isEmpty())
        return added;
    beginInsertRows({}, int(m_servers.size()), int(m_servers.size() + added.size() - 1));
    for (const quint64 key : added) {
        m_rows.insert(key, int(m_servers.size()));
        FoundServer server;
        server.address = ServerEndpoint::fromKey(key);
        m_servers.append(server);
    }
    endInsertRows();
    return added;
}

void ServerListModel::setFoundOnLan(quint64 server)
{
    const int row = m_rows.value(server, -1);
    if (row < 0 || m_servers[row].foundOnLan)
        return;
    m_servers[row].foundOnLan = true;
    changed(row);
}

void ServerListModel::setReply(quint64 server, const StatusReply &reply,
                               std::chrono::microseconds roundTrip)
{
    const int row = m_rows.value(server, -1);
    if (row < 0)
        return;
    FoundServer &found = m_servers[row];
    m_answered += found.status.state != BookmarkStatus::State::Answered;
    m_settled += !isSettled(found.status.state);
    found.take(reply, roundTrip);
    found.friends = friendsAmong(found);
    changed(row);
}

void ServerListModel::setNoReply(quint64 server)
{
    const int row = m_rows.value(server, -1);
    if (row < 0)
        return;
    FoundServer &found = m_servers[row];
    m_answered -= found.status.state == BookmarkStatus::State::Answered;
    m_settled += !isSettled(found.status.state);
    found.status.state = BookmarkStatus::State::NoReply;
    changed(row);
}

// The rows keep their name, map and the like on display until the new status comes.
QList<quint64> ServerListModel::restartAll()
{
    QList<quint64> all;
    all.reserve(m_servers.size());
    for (FoundServer &server : m_servers) {
        all.append(server.address.key());
        server.status.state = BookmarkStatus::State::Waiting;
    }
    m_settled = 0;
    m_answered = 0;
    if (!m_servers.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
    return all;
}

void ServerListModel::changed(int row)
{
    if (m_changedRows.isEmpty())
        QTimer::singleShot(kShowChangesEvery, this, &ServerListModel::showChanges);
    m_changedRows.append(row);
    if (m_settled == rowCount()) // the last status is not held back: nothing comes after it
        showChanges();
}

// One change per run of nearby rows: servers answer in about the order they were listed, so a
// batch is a run or two, and the sorter looks at those rows rather than at all between them.
void ServerListModel::showChanges()
{
    if (m_changedRows.isEmpty())
        return;
    QList<int> rows;
    rows.swap(m_changedRows);
    std::sort(rows.begin(), rows.end());
    const int last = rowCount() - 1;
    for (qsizetype start = 0; start < rows.size();) {
        qsizetype end = start;
        while (end + 1 < rows.size() && rows[end + 1] - rows[end] <= kRunGap)
            ++end;
        if (rows[start] <= last)
            emit dataChanged(index(rows[start], 0),
                             index(std::min(rows[end], last), ColumnCount - 1));
        start = end + 1;
    }
}
