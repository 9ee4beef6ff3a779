// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/games.h"

#include <algorithm>

namespace {

bool speaks(const Game &game, int protocol)
{
    return std::any_of(
        game.versions.cbegin(), game.versions.cend(),
        [protocol](const GameVersion &version) { return version.protocol == protocol; });
}

} // namespace

const QList<Game> &games()
{
    static const QList<Game> all{
        {GameId::Cod,
         "cod",
         "Call of Duty",
         "CoD",
         "CoDMP.exe",
         20510,
         {{"1.1", 1}, {"1.2", 2}, {"1.3", 4}, {"1.4", 5}, {"1.5", 6}},
         1,
         {"Call of Duty", "main"}},
        {GameId::Uo,
         "uo",
         "United Offensive",
         "UO",
         "CoDUOMP.exe",
         20610,
         {{"1.41", 21}, {"1.51", 22}},
         22,
         {"CoD:United Offensive"}},
        {GameId::Cod2,
         "cod2",
         "Call of Duty 2",
         "CoD2",
         "CoD2MP_s.exe",
         20710,
         {{"1.0", 115}, {"1.2", 117}, {"1.3", 118}, {"1.4", 120}},
         118,
         {"Call of Duty 2"}},
        {GameId::Cod4,
         "cod4",
         "Call of Duty 4",
         "CoD4",
         "iw3mp.exe",
         20810,
         {{"1.0", 1}, {"1.2", 2}, {"1.3", 3}, {"1.4", 4}, {"1.5", 5}, {"1.7", 6}, {"1.8", 7}},
         6,
         {"Call of Duty 4"}},
    };
    return all;
}

const Game &gameOf(GameId id)
{
    return games().at(int(id));
}

GameId gameNamed(QStringView key)
{
    for (const Game &game : games()) {
        if (key == QLatin1String(game.key))
            return game.id;
    }
    return GameId::Cod;
}

std::optional<QString> versionOfProtocol(const Game &game, int protocol)
{
    for (const GameVersion &version : game.versions) {
        if (version.protocol == protocol)
            return QString::fromLatin1(version.name);
    }
    return std::nullopt;
}

std::optional<int> protocolNamed(const Game &game, const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const GameVersion &version : game.versions) {
        if (trimmed == QLatin1String(version.name) || trimmed == QString::number(version.protocol))
            return version.protocol;
    }
    return std::nullopt;
}

std::optional<GameId> gameOfStatusName(QStringView gamename)
{
    for (const Game &game : games()) {
        for (const char *name : game.statusNames) {
            if (gamename.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return game.id;
        }
    }
    return std::nullopt;
}

std::optional<GameId> otherGameOf(std::optional<GameId> named, std::optional<int> protocol,
                                  GameId expected)
{
    if (named)
        return named == expected ? std::nullopt : named;
    if (!protocol || speaks(gameOf(expected), *protocol))
        return std::nullopt;
    std::optional<GameId> speaker;
    for (const Game &game : games()) {
        if (speaks(game, *protocol)) {
            if (speaker)
                return std::nullopt;
            speaker = game.id;
        }
    }
    return speaker;
}
