// SPDX-License-Identifier: GPL-3.0-or-later
// Where an IPv4 address is, from the country table compiled into the program (IPFire Location
// data, through Debian's tor-geoipdb): a country, the local network, or unknown. Looked up
// offline, in well under a microsecond.
#pragma once

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringView>

class Country
{
public:
    // Unknown.
    Country() = default;
    // The local network for private (10/8, 172.16/12, 192.168/16), loopback (127/8) and
    // link-local (169.254/16) addresses; else the table's country, unknown where the table names
    // none. That includes the carriers' shared space 100.64/10: such an address is the
    // provider's network, not the player's, and the table cannot say where it is.
    static Country of(quint32 ipv4);
    // The table's country of a two-letter code ("DE"); unknown for any other text.
    static Country fromCode(QStringView code);
    // The local network, where a server was found by looking there, whatever its address.
    static Country lan();
    // Every country of the table, and the local network.
    static QList<Country> all();

    bool isKnown() const;
    bool isLan() const;
    // "DE"; empty for the local network and unknown.
    QLatin1StringView code() const;
    // "Germany", the source text of its translation in context "Country"; empty for the local
    // network and unknown.
    const char *englishName() const;
    // What a list shows of it: the code, "LAN" for the local network; empty when unknown.
    QString label() const;
    // The name in the user's language, "LAN" for the local network; empty when unknown.
    QString name() const;
    // Countries in the order of their codes, then the local network, then unknown.
    int sortRank() const;

    friend bool operator==(Country, Country) = default;

private:
    explicit Country(quint16 index)
        : m_index(index)
    { }

    quint16 m_index = 0; // into the table's countries, or the local network's mark
};

// The day the table's data was exported ("2026-06-25"), for its credit.
QLatin1StringView countryDataDate();
