// SPDX-License-Identifier: GPL-3.0-or-later
// A server the masters listed or the LAN scan found, and what it last said of itself.
#pragma once

#include "geo/country.h"
#include "query/bookmarkstatus.h"
#include "servers/masterreply.h"

#include <QList>
#include <QString>

struct StatusReply;

struct FoundPlayer
{
    QString name; // colour codes removed
    qint64 score = 0;
    qint64 ping = 0;
};

struct FoundServer
{
    ServerEndpoint address;
    BookmarkStatus status; // Waiting until it answers or stays silent
    QString name;          // sv_hostname, colour codes removed
    QString type;          // g_gametype
    QList<FoundPlayer> players;
    QStringList friends;     // the players the friends list names, as last matched; not cached
    bool foundOnLan = false; // answered the LAN scan, whatever its address; not cached

    // "1.2.3.4:28960"
    QString addressText() const;
    // The name it gives itself, else its address.
    QString displayName() const;
    // Looked up anew from the address, as cheap as keeping it and no byte more a row.
    // A server the LAN scan found is on the local network, whatever its address.
    Country country() const { return foundOnLan ? Country::lan() : Country::of(address.ip); }
    // Takes a server's reply: its status, name, type and players.
    void take(const StatusReply &reply, std::chrono::microseconds roundTrip);
};
