// SPDX-License-Identifier: GPL-3.0-or-later
#include "geo/country.h"

#include "geo/countrytable.h"
#include "geo/localnetwork.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// Beyond every index of the table's countries, which fit in one byte.
constexpr quint16 kLanIndex = 0x100;
constexpr char kLanName[] = QT_TRANSLATE_NOOP("Country", "LAN");

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
    return Country(localNetworkOf(ipv4) != LocalNetwork::None ? kLanIndex : tableCountry(ipv4));
}

Country Country::lan()
{
    return Country(kLanIndex);
}

Country Country::fromCode(QStringView code)
{
    const auto known = kCountries.subspan(1);
    const auto found = std::find_if(known.begin(), known.end(), [code](const CountryEntry &entry) {
        return code == QLatin1StringView(entry.code);
    });
    return found == known.end() ? Country() : Country(quint16(found - kCountries.begin()));
}

QList<Country> Country::all()
{
    QList<Country> all;
    all.reserve(qsizetype(kCountries.size()));
    for (quint16 index = 1; index < kCountries.size(); ++index)
        all.append(Country(index));
    all.append(lan());
    return all;
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

QString Country::label() const
{
    return isLan() ? name() : QString(code());
}

QString Country::name() const
{
    if (isLan())
        return QCoreApplication::translate("Country", kLanName);
    return isKnown() ? QCoreApplication::translate("Country", englishName()) : QString();
}

int Country::sortRank() const
{
    return m_index == 0 ? kLanIndex + 1 : m_index;
}

QLatin1StringView countryDataDate()
{
    return QLatin1StringView(kCountryDataDate);
}
