// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/appsettings.h"

#include "query/games.h"
#include "storage/keyvaluestore.h"

#include <algorithm>

namespace {

constexpr char kSection[] = "settings";
constexpr char kClanHostKey[] = "clanhost";
constexpr char kWineKey[] = "wine";
constexpr char kWinePrefixKey[] = "wineprefix";
constexpr char kFriendsKey[] = "friends";
constexpr char kNotifyKey[] = "notify";
constexpr char kCloseToTrayKey[] = "closetotray";
constexpr char kRefreshSecondsKey[] = "refreshseconds";
constexpr char kBrowserGeometryKey[] = "browsergeometry";
constexpr char kBrowserGameKey[] = "browsergame";
constexpr char kRecentKey[] = "recent";
constexpr char kLanKey[] = "lan";

// Each game's keys, in the order of games(): Call of Duty's were there before the others.
struct GameKeys
{
    const char *path;
    const char *masters;
    const char *protocol;
};
constexpr GameKeys kGameKeys[] = {
    {"codpath", "masters", "protocol"},
    {"coduopath", "masters_uo", "protocol_uo"},
    {"cod2path", "masters_cod2", "protocol_cod2"},
    {"cod4path", "masters_cod4", "protocol_cod4"},
};

const GameKeys &keysOf(GameId game)
{
    return kGameKeys[int(game)];
}

QString keyName(const char *key)
{
    return QString::fromLatin1(key);
}

// A switch is on unless it says "false", "0", "no" or "off".
bool isOn(const QString &value)
{
    static const QStringList off{"false", "0", "no", "off"};
    return !off.contains(value.trimmed(), Qt::CaseInsensitive);
}

} // namespace

AppSettings::AppSettings(KeyValueStore &store)
    : m_store(store)
{
    m_store.keepAtHand(sectionName());
}

QString AppSettings::sectionName()
{
    return QString::fromLatin1(kSection);
}

QString AppSettings::value(const char *key) const
{
    return m_store.read(sectionName(), keyName(key));
}

QString AppSettings::gamePath(GameId game) const
{
    return value(keysOf(game).path);
}

QString AppSettings::gamePathIn(const QList<StoredSection> &sections)
{
    return storedValue(sections, sectionName(), keyName(keysOf(GameId::Cod).path));
}

bool AppSettings::setGamePath(const QString &path, GameId game)
{
    return m_store.write(sectionName(), keyName(keysOf(game).path), path);
}

QString AppSettings::clanHost() const
{
    return value(kClanHostKey);
}

QString AppSettings::wine() const
{
    return value(kWineKey);
}

QString AppSettings::winePrefix() const
{
    return value(kWinePrefixKey);
}

QStringList AppSettings::masters(GameId game) const
{
    return m_store.readList(sectionName(), keyName(keysOf(game).masters));
}

QString AppSettings::mastersKey(GameId game)
{
    return keyName(keysOf(game).masters);
}

std::optional<int> AppSettings::protocol(GameId game) const
{
    return protocolNamed(gameOf(game), value(keysOf(game).protocol));
}

QStringList AppSettings::friends() const
{
    return m_store.readList(sectionName(), keyName(kFriendsKey));
}

bool AppSettings::setFriends(const QStringList &friends)
{
    return m_store.writeList(sectionName(), keyName(kFriendsKey), friends);
}

bool AppSettings::notifications() const
{
    return isOn(value(kNotifyKey));
}

bool AppSettings::closeToTray() const
{
    return isOn(value(kCloseToTrayKey));
}

std::optional<std::chrono::seconds> AppSettings::refreshPeriod() const
{
    bool isNumber = false;
    const qlonglong seconds = value(kRefreshSecondsKey).trimmed().toLongLong(&isNumber);
    if (!isNumber || seconds < 0)
        return kDefaultRefreshPeriod;
    if (seconds == 0)
        return std::nullopt;
    return std::clamp(std::chrono::seconds(seconds), kShortestRefreshPeriod, kLongestRefreshPeriod);
}

QByteArray AppSettings::browserGeometry() const
{
    const QByteArray::FromBase64Result geometry = QByteArray::fromBase64Encoding(
        value(kBrowserGeometryKey).toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return geometry ? *geometry : QByteArray();
}

QList<RecentServer> AppSettings::recentServers() const
{
    return recentServersIn(m_store.readList(sectionName(), keyName(kRecentKey)));
}

bool AppSettings::recordRecent(const RecentServer &started)
{
    return m_store.writeList(sectionName(), keyName(kRecentKey),
                             recentEntries(withRecent(recentServers(), started)));
}

GameId AppSettings::browserGame() const
{
    return gameNamed(value(kBrowserGameKey));
}

bool AppSettings::setBrowserGame(GameId game)
{
    return m_store.write(sectionName(), keyName(kBrowserGameKey), QLatin1String(gameOf(game).key));
}

bool AppSettings::setBrowserGeometry(const QByteArray &geometry)
{
    return m_store.write(sectionName(), keyName(kBrowserGeometryKey),
                         QString::fromLatin1(geometry.toBase64()));
}

bool AppSettings::lanScan() const
{
    const QString lan = value(kLanKey);
    return !lan.trimmed().isEmpty() && isOn(lan);
}

bool AppSettings::setLanScan(bool on)
{
    return m_store.write(sectionName(), keyName(kLanKey),
                         on ? QStringLiteral("true") : QStringLiteral("false"));
}
