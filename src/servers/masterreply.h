// SPDX-License-Identifier: GPL-3.0-or-later
// The master server's bytes: the request for a game version's server list, and the reply's
// addresses.
#pragma once

#include "query/serverendpoint.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The game keeps at most 2,048 servers; twice that is room enough and a bound on a hostile master.
inline constexpr int kMaxListedServers = 4096;

// "\xff\xff\xff\xffgetservers P full empty": masters answer only this exact text.
QByteArray masterRequest(int protocol);

// What one datagram of a master's reply holds.
struct MasterReply
{
    bool isReply = false;          // it carries the reply header
    bool endOfList = false;        // "\EOF": no datagram follows
    bool cutShort = false;         // garbage or a truncated entry where an entry should stand
    QList<ServerEndpoint> servers; // in reply order, at most kMaxListedServers
};

MasterReply parseMasterReply(QByteArrayView datagram);

// Whether a listed server is worth asking: one of the master's own kind (on the internet, on this
// machine, on a LAN of RFC 1918, behind a carrier's NAT, link-local), never port 0 nor "this
// network", multicast, reserved, broadcast, documentation or benchmarking addresses. A public
// master could otherwise make us scan the user's own network, and any master send us anywhere.
bool isAcceptableServer(const ServerEndpoint &server, quint32 masterIp);
