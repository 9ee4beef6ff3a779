// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/appsettings.h"

#include "query/gameversion.h"
#include "storage/keyvaluestore.h"

#include <algorithm>

namespace {

constexpr char kSection[] = "settings";
constexpr char kGamePathKey[] = "codpath";
constexpr char kClanHostKey[] = "clanhost";
constexpr char kWineKey[] = "wine";
constexpr char kWinePrefixKey[] = "wineprefix";
constexpr char kMastersKey[] = "masters";
constexpr char kProtocolKey[] = "protocol";
constexpr char kFriendsKey[] = "friends";
constexpr char kNotifyKey[] = "notify";
constexpr char kCloseToTrayKey[] = "closetotray";
constexpr char kRefreshSecondsKey[] = "refreshseconds";
constexpr char kBrowserGeometryKey[] = "browsergeometry";
constexpr char kRecentKey[] = "recent";
constexpr char kLanKey[] = "lan";

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

QString AppSettings::gamePath() const
{
    return value(kGamePathKey);
}

QString AppSettings::gamePathIn(const QList<StoredSection> &sections)
{
    return storedValue(sections, sectionName(), keyName(kGamePathKey));
}

bool AppSettings::setGamePath(const QString &path)
{
    return m_store.write(sectionName(), keyName(kGamePathKey), path);
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

QStringList AppSettings::masters() const
{
    return m_store.readList(sectionName(), keyName(kMastersKey));
}

std::optional<int> AppSettings::protocol() const
{
    return protocolNamed(value(kProtocolKey));
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
