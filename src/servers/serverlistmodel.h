// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's servers as a table: one row per listed server, its status as it comes in.
#pragma once

#include "friends/friendlist.h"
#include "servers/foundserver.h"

#include <QAbstractTableModel>
#include <QHash>

#include <chrono>

struct StatusReply;

// Roles beyond Qt's own. Widgets draw from them; the model stays free of them.
enum class FoundServerRole {
    SortKey = Qt::UserRole + 1, // numbers for players, ping and country
    Locked,                     // bool: a password is needed, a lock in the Name column
    OtherVersion,               // bool: drawn dimmed
    FriendCount,                // int: the friends on it, marked
    CountryCode,                // "DE", whose flag the Country column draws; empty for none
};
constexpr int roleId(FoundServerRole role)
{
    return int(role);
}

// Rows are only ever appended, or all replaced, so a server's row stays its row while statuses
// arrive. The replies of 100 ms are shown in one change, not one each: thousands of single
// changes would make every view and sorter work thousands of times, and each change repaints the
// table, which costs more than all else a sweep does. The change that settles the
// last row is shown at once. A row's friends are those among the players of its last answer; its
// description and tooltip name them, and its country (the Country cell's tooltip is that alone).
class ServerListModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ServerListModel)

public:
    enum Column { Name, Players, Ping, Country, Map, Type, Version, Mod, ColumnCount };

    explicit ServerListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The game and version the user plays: servers of another are marked.
    void setPlayed(PlayedVersion played);
    PlayedVersion played() const { return m_played; }
    // Finds the friends on every row again.
    void setFriends(const FriendList &friends);

    void setServers(const QList<FoundServer> &servers);
    // Adds the servers not listed yet, waiting for their status; returns those added.
    QList<quint64> addServers(const QList<ServerEndpoint> &servers);
    // Marks a listed server as found on the LAN.
    void setFoundOnLan(quint64 server);
    void setReply(quint64 server, const StatusReply &reply, std::chrono::microseconds roundTrip);
    void setNoReply(quint64 server);
    // Marks every row as waiting for its status again.
    QList<quint64> restartAll();

    const QList<FoundServer> &servers() const { return m_servers; }
    const FoundServer &server(int row) const { return m_servers.at(row); }
    int rowOf(quint64 server) const { return m_rows.value(server, -1); }
    int answered() const { return m_answered; }
    int settled() const { return m_settled; } // answered or silent

private:
    QVariant display(const FoundServer &server, int column) const;
    QVariant sortKey(const FoundServer &server, int column) const;
    QString toolTip(const FoundServer &server, int column) const;
    QStringList friendsAmong(const FoundServer &server) const;
    void changed(int row);
    void showChanges();

    QList<FoundServer> m_servers;
    FriendList m_friends;
    QHash<quint64, int> m_rows;
    PlayedVersion m_played;
    int m_answered = 0;
    int m_settled = 0;
    QList<int> m_changedRows; // not shown yet
};
