// SPDX-License-Identifier: GPL-3.0-or-later
// The friends list as a matcher: which player names it names, fast enough for thousands of
// servers and bounded whatever the list holds.
#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QObject;

inline constexpr char kFriendsWords[] = QT_TRANSLATE_NOOP("FriendList", "friends: %1");

class FriendPatterns;

// Names are compared without letter case and colour codes; a "*" stands for any run of
// characters. Entries longer than kMaxNameLength, far longer than any name a game server keeps,
// and those beyond the first kMaxFriends name nobody, which bounds the time and memory that a
// hostile list can take.
//
// Names without "*" are found at once. Thousands of patterns can still cost a millisecond a name,
// so the patterns' work is bounded for each turn of the event loop: a name beyond that bound is
// matched in a later turn (meanwhile it is named by no pattern), and whenDecided() tells when the
// names put off are all matched, for their servers to be looked at again. Copies share that work.
class FriendList final
{
public:
    // What a player name is to the list: not named, named by an entry with text of its own, or
    // only by an entry of nothing but "*", which names everyone.
    enum class Match { None, Named, Everyone };

    static constexpr qsizetype kMaxFriends = 10'000;
    static constexpr qsizetype kMaxNameLength = 256;

    FriendList() = default;
    explicit FriendList(const QStringList &names);

    bool isEmpty() const;
    Match match(const QString &player) const { return matchComparable(comparable(player)); }
    // The same for a name already in the form comparable() gives.
    Match matchComparable(const QString &name) const;
    // The friends among a server's players, in the reply's order.
    QStringList friendsAmong(const QStringList &players) const;

    // Whether names wait for a later turn of the event loop to be matched.
    bool isDeciding() const;
    // Calls `decided` whenever the names put off have all been matched, until `context` goes.
    void whenDecided(const QObject *context, const std::function<void()> &decided) const;

    // The form in which names are compared: colour codes and control characters removed,
    // letter case folded.
    static QString comparable(const QString &name);

private:
    QSet<QString> m_exact;
    std::shared_ptr<FriendPatterns> m_patterns; // none without an entry with a "*" and text
    bool m_everyone = false;
};

// "friends: NAME, NAME", for a server's tooltip and accessible description; empty for none.
QString friendsWords(const QStringList &friends);
// A server's words with its friends after them: "WORDS; friends: NAME, NAME".
QString withFriendsWords(const QString &words, const QStringList &friends);
