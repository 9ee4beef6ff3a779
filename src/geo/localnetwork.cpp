// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/localnetwork.h"

#include <algorithm>
#include <array>

namespace {

struct Network
{
    quint32 first;
    int prefixLength;
    LocalNetwork kind;
};

constexpr std::array<Network, 5> kLocalNetworks{{
    {0x0A000000, 8, LocalNetwork::Private},    // 10.0.0.0/8
    {0x7F000000, 8, LocalNetwork::Loopback},   // 127.0.0.0/8
    {0xA9FE0000, 16, LocalNetwork::LinkLocal}, // 169.254.0.0/16
    {0xAC100000, 12, LocalNetwork::Private},   // 172.16.0.0/12
    {0xC0A80000, 16, LocalNetwork::Private},   // 192.168.0.0/16
}};

bool isIn(quint32 ip, const Network &network)
{
    const int hostBits = 32 - network.prefixLength;
    return ip >> hostBits == network.first >> hostBits;
}

} // namespace

LocalNetwork localNetworkOf(quint32 ipv4)
{
    const auto found = std::find_if(kLocalNetworks.begin(), kLocalNetworks.end(),
                                    [ipv4](const Network &network) { return isIn(ipv4, network); });
    return found == kLocalNetworks.end() ? LocalNetwork::None : found->kind;
}
