// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary datagrams through the master reply parser, checking the bounds the browser relies on.
#include "servers/masterreply.h"
#include "fuzzcheck.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray datagram = datagramMostlyWithHeader(data, size,
                                                         "\xff\xff\xff\xffgetserversResponse");
    const MasterReply reply = parseMasterReply(datagram);
    check(reply.servers.size() <= kMaxListedServers);
    check(reply.isReply || (reply.servers.isEmpty() && !reply.endOfList));
    // Every entry takes 7 bytes of the datagram after the 22-byte header.
    check(reply.servers.size() * 7 <= qMax(qsizetype(0), datagram.size() - 22));
    for (const ServerEndpoint &server : reply.servers)
        check(isAcceptableServer(server, 0x7F000001)
              == (server.port != 0 && server.ip >> 24 == 127)); // a loopback master: loopback only
    return 0;
}
