// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own settings: the keys of section "settings" in the store, each with its default
// and the rule that reads its text.
#pragma once

#include "query/games.h"
#include "settings/recentservers.h"
#include "storage/storedsection.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

class KeyValueStore;

inline constexpr std::chrono::seconds kDefaultRefreshPeriod{120};
inline constexpr std::chrono::seconds kShortestRefreshPeriod{30};
// Longer than any use, and short enough for a timer's milliseconds in an int.
inline constexpr std::chrono::seconds kLongestRefreshPeriod{86'400};

// A view of the store; the values are read from it on each call, as another running copy or the
// user may change them meanwhile. Only the games' paths, `friends`, `browsergeometry`,
// `browsergame`, `recent` and `lan` are ever written by the program.
class AppSettings final
{
public:
    // Has the store keep the section at hand: its keys are read far more often than the whole
    // store, which a long list of bookmarks makes slow to parse.
    explicit AppSettings(KeyValueStore &store);

    // The section's name, which no bookmark may take.
    static QString sectionName();

    // `codpath` (`coduopath`, `cod2path`, `cod4path` for the other games): the game's program;
    // empty until one is chosen.
    QString gamePath(GameId game = GameId::Cod) const;
    // Call of Duty's path as one reading of the whole store holds it.
    static QString gamePathIn(const QList<StoredSection> &sections);
    bool setGamePath(const QString &path, GameId game = GameId::Cod);
    // `clanhost`: the clan page's host, which only the user puts there; empty when unset.
    QString clanHost() const;
    // `wine`: the runner of a Windows game off Windows; empty for `wine` from the PATH.
    QString wine() const;
    // `wineprefix`: WINEPREFIX for that runner; empty to leave it to wine.
    QString winePrefix() const;
    // `masters` (`masters_uo`, `masters_cod2`, `masters_cod4`): the game's master servers as the
    // user listed them; empty for the built-in ones.
    QStringList masters(GameId game = GameId::Cod) const;
    // The key of the game's masters, which only the user writes (and tests, for fake masters).
    static QString mastersKey(GameId game);
    // `protocol` (`protocol_uo`, ...): the game version asked for, as a protocol number ("6") or a
    // version ("1.5") of that game; nullopt when unset or neither.
    std::optional<int> protocol(GameId game = GameId::Cod) const;
    // `friends`: names and `*` patterns.
    QStringList friends() const;
    bool setFriends(const QStringList &friends);
    // `notify`: on unless it says "false", "0", "no" or "off".
    bool notifications() const;
    // `closetotray`: closing the window while a tray is there hides it; on by `notify`'s rule.
    bool closeToTray() const;
    // `refreshseconds`: nullopt when it is 0 (no periodic refresh); the default when it is missing
    // or no whole number of seconds; never shorter than kShortestRefreshPeriod.
    std::optional<std::chrono::seconds> refreshPeriod() const;
    // `browsergeometry`: the server browser's place and size as Qt saves a window's, in base64;
    // empty when unset or not base64, which leaves the window where Qt puts it.
    QByteArray browserGeometry() const;
    bool setBrowserGeometry(const QByteArray &geometry);
    // `browsergame`: the game the browser showed last ("cod2"); Call of Duty when unset or unknown.
    GameId browserGame() const;
    bool setBrowserGame(GameId game);
    // `recent`: the servers the game was last started on, newest first (recentServersIn).
    QList<RecentServer> recentServers() const;
    bool recordRecent(const RecentServer &started);
    // `lan`: the server browser also looks on the LAN; off unless set, then by `notify`'s rule.
    bool lanScan() const;
    bool setLanScan(bool on);

private:
    QString value(const char *key) const;

    KeyValueStore &m_store;
};
