// SPDX-License-Identifier: GPL-3.0-or-later
// The country table compiled into the program, generated at build time by makecountrytable.py
// from Tor's IPv4 geoip file (Debian's tor-geoipdb) and the names of iso-codes.
#pragma once

#include <QtGlobal>

#include <span>

struct CountryEntry
{
    char code[3];     // ISO 3166-1 alpha-2 ("DE"), or a registry's region ("EU", "AP")
    const char *name; // English short name, the source text of its translation in "Country"
};

// Every address from a range's first up to the next range's first has that range's country. The
// ranges are sorted and grouped by the upper 16 bits of their first address (a block): block b's
// ranges are those from kBlockFirstRange[b] up to kBlockFirstRange[b + 1], and each range keeps
// the lower 16 bits of its first address. The first range starts at address 0, so every address
// lies in one.
extern const std::span<const quint32> kBlockFirstRange; // 65,537 entries
extern const std::span<const quint16> kRangeStarts;
extern const std::span<const quint8> kRangeCountries; // index into kCountries
// Sorted by code after the first, which stands for "unknown" (empty code and name).
extern const std::span<const CountryEntry> kCountries;
// When the data was exported, "YYYY-MM-DD".
extern const char kCountryDataDate[];
