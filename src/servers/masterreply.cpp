// SPDX-License-Identifier: GPL-3.0-or-later
#include "servers/masterreply.h"

#include "geo/localnetwork.h"

#include <algorithm>
#include <array>

namespace {

constexpr QByteArrayView kReplyHeader("\xff\xff\xff\xffgetserversResponse");
constexpr QByteArrayView kOptionalSeparator("\n\0", 2);
constexpr QByteArrayView kEndOfDatagram("EOT");
constexpr QByteArrayView kEndOfList("EOF");
constexpr qsizetype kEntrySize = 6; // 4 address bytes and 2 port bytes, big-endian

// What an address is to a server list; nothing is ever listed on an unusable one.
enum class AddressKind { Public, Loopback, Private, Shared, LinkLocal, Unusable };

struct Range
{
    quint32 network;
    int prefix;
    AddressKind kind;
};

// Beside the local networks, the ranges no game server on the internet can stand in (RFC 6890
// and its kin), and what each is.
constexpr std::array<Range, 9> kSpecialRanges{{
    {0x00000000, 8, AddressKind::Unusable},  // "this network"
    {0x64400000, 10, AddressKind::Shared},   // shared address space of carriers
    {0xC0000000, 24, AddressKind::Unusable}, // protocol assignments
    {0xC0000200, 24, AddressKind::Unusable}, // documentation
    {0xC6120000, 15, AddressKind::Unusable}, // benchmarking
    {0xC6336400, 24, AddressKind::Unusable}, // documentation
    {0xCB007100, 24, AddressKind::Unusable}, // documentation
    {0xE0000000, 4, AddressKind::Unusable},  // multicast
    {0xF0000000, 4, AddressKind::Unusable},  // reserved, and the broadcast address
}};

bool isIn(quint32 ip, const Range &range)
{
    const quint32 mask = ~quint32(0) << (32 - range.prefix);
    return (ip & mask) == range.network;
}

quint32 bigEndian32(const uchar *bytes)
{
    return quint32(bytes[0]) << 24 | quint32(bytes[1]) << 16 | quint32(bytes[2]) << 8 | bytes[3];
}

// "\EOT" or "\EOF" with nothing after it but up to three zero bytes of padding. Elsewhere it is
// an entry whose address bytes happen to read so (69.79.84.x); one that fills the padding exactly
// would have port 0, which no server has.
bool isMarker(QByteArrayView rest, QByteArrayView marker)
{
    if (rest.size() > 1 + marker.size() + 3 || !rest.sliced(1).startsWith(marker))
        return false;
    const QByteArrayView padding = rest.sliced(1 + marker.size());
    return std::all_of(padding.begin(), padding.end(), [](char byte) { return byte == 0; });
}

AddressKind addressKind(quint32 ip)
{
    switch (localNetworkOf(ip)) {
    case LocalNetwork::Private:
        return AddressKind::Private;
    case LocalNetwork::Loopback:
        return AddressKind::Loopback;
    case LocalNetwork::LinkLocal:
        return AddressKind::LinkLocal;
    case LocalNetwork::None:
        break;
    }
    for (const Range &range : kSpecialRanges) {
        if (isIn(ip, range))
            return range.kind;
    }
    return AddressKind::Public;
}

} // namespace

QByteArray masterRequest(int protocol)
{
    return QByteArrayLiteral("\xff\xff\xff\xffgetservers ") + QByteArray::number(protocol)
        + QByteArrayLiteral(" full empty");
}

MasterReply parseMasterReply(QByteArrayView datagram)
{
    MasterReply reply;
    if (!datagram.startsWith(kReplyHeader))
        return reply;
    reply.isReply = true;
    QByteArrayView rest = datagram.sliced(kReplyHeader.size());
    if (rest.startsWith(kOptionalSeparator))
        rest = rest.sliced(kOptionalSeparator.size());
    while (!rest.isEmpty()) {
        if (rest.front() != '\\') {
            reply.cutShort = true;
            break;
        }
        if (isMarker(rest, kEndOfList)) {
            reply.endOfList = true;
            break;
        }
        if (isMarker(rest, kEndOfDatagram))
            break;
        if (rest.size() < 1 + kEntrySize) {
            reply.cutShort = true;
            break;
        }
        const auto *entry = reinterpret_cast<const uchar *>(rest.data()) + 1;
        if (reply.servers.size() < kMaxListedServers)
            reply.servers.append({bigEndian32(entry), quint16(entry[4] << 8 | entry[5])});
        rest = rest.sliced(1 + kEntrySize);
    }
    return reply;
}

bool isAcceptableServer(const ServerEndpoint &server, quint32 masterIp)
{
    const AddressKind kind = addressKind(server.ip);
    return server.port != 0 && kind != AddressKind::Unusable && kind == addressKind(masterIp);
}
