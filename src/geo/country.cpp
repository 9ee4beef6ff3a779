// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/country.h"

#include "geo/countrytable.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Beyond every index of the table's countries, which fit in one byte.
constexpr quint16 kLanIndex = 0x100;

struct Network
{
    quint32 first;
    int prefixLength;
};

constexpr std::array<Network, 5> kLanNetworks{{
    {0x0A000000, 8},  // 10.0.0.0/8, private
    {0x7F000000, 8},  // 127.0.0.0/8, loopback
    {0xA9FE0000, 16}, // 169.254.0.0/16, link-local
    {0xAC100000, 12}, // 172.16.0.0/12, private
    {0xC0A80000, 16}, // 192.168.0.0/16, private
}};

bool isIn(quint32 ip, const Network &network)
{
    const int hostBits = 32 - network.prefixLength;
    return ip >> hostBits == network.first >> hostBits;
}

bool isLanAddress(quint32 ip)
{
    return std::any_of(kLanNetworks.begin(), kLanNetworks.end(),
                       [ip](const Network &network) { return isIn(ip, network); });
}

// The range an address lies in is the one before the first range of its block that starts after
// it; when none of its block's ranges starts at or before it, that is the last of an earlier block.
quint8 tableCountry(quint32 ip)
{
    const quint32 block = ip >> 16;
    const auto starts = kRangeStarts.begin();
    const auto after = std::upper_bound(starts + kBlockFirstRange[block],
                                        starts + kBlockFirstRange[block + 1], quint16(ip));
    return kRangeCountries[after - starts - 1];
}

} // namespace

Country Country::of(quint32 ipv4)
{
    return Country(isLanAddress(ipv4) ? kLanIndex : tableCountry(ipv4));
}

Country Country::fromCode(QStringView code)
{
    const auto known = kCountries.subspan(1);
    const auto found = std::find_if(known.begin(), known.end(), [code](const CountryEntry &entry) {
        return code == QLatin1StringView(entry.code);
    });
    return found == known.end() ? Country() : Country(quint16(found - kCountries.begin()));
}

bool Country::isKnown() const
{
    return m_index != 0 && !isLan();
}

bool Country::isLan() const
{
    return m_index == kLanIndex;
}

QLatin1StringView Country::code() const
{
    return isLan() ? QLatin1StringView() : QLatin1StringView(kCountries[m_index].code);
}

const char *Country::englishName() const
{
    return isLan() ? "" : kCountries[m_index].name;
}

QLatin1StringView countryDataDate()
{
    return QLatin1StringView(kCountryDataDate);
}
