// Arbitrary datagrams through the master reply parser, checking the bounds the browser relies on.
#include "servers/masterreply.h"

#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray datagram(reinterpret_cast<const char *>(data), qsizetype(size));
    // Most inputs get the header in front, so the time goes into the entries.
    if (size > 0 && data[0] % 4 != 0)
        datagram.replace(0, 1, "\xff\xff\xff\xffgetserversResponse");
    const MasterReply reply = parseMasterReply(datagram);
    check(reply.servers.size() <= kMaxListedServers);
    check(reply.isReply || (reply.servers.isEmpty() && !reply.endOfList));
    // Every entry takes 7 bytes of the datagram after the 22-byte header.
    check(reply.servers.size() * 7 <= qMax(qsizetype(0), datagram.size() - 22));
    for (const ServerAddress &server : reply.servers)
        check(isAcceptableServer(server, 0x7F000001)
              == (server.port != 0 && server.ip != 0 && server.ip != 0xFFFFFFFF));
    return 0;
}
