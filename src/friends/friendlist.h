// SPDX-License-Identifier: GPL-3.0-or-later
// The friends list as a matcher: which player names it names, fast enough for thousands of
// servers and bounded whatever the list holds.
#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

inline constexpr char kFriendsWords[] = "friends: %1";

// Names are compared without letter case and colour codes; a "*" stands for any run of
// characters. Entries longer than kMaxNameLength, far longer than any name a game server keeps,
// and those beyond the first kMaxFriends name nobody, which bounds the time and memory that a
// hostile list can take.
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

    // The form in which names are compared: colour codes and control characters removed,
    // letter case folded.
    static QString comparable(const QString &name);

private:
    // An entry with a "*": its literal parts in order, and whether it is tied to the name's start
    // or end (no "*" there).
    struct Pattern
    {
        QStringList parts;
        bool anchoredStart = false;
        bool anchoredEnd = false;
        qsizetype literalLength = 0;
        quint64 characters = 0; // characterSet() of its parts

        bool matches(QStringView name) const;
    };

    void add(const QString &pattern);
    static bool anyMatches(const QList<Pattern> &patterns, QStringView name);
    // One bit per character code modulo 64: a pattern whose characters are not all in a name
    // cannot match it, which spares most searches for the patterns free at both ends.
    static quint64 characterSet(QStringView text);
    bool anyFloatingMatches(QStringView name) const;

    QSet<QString> m_exact;
    // Patterns by the character they must start with, by the one they must end with, and those
    // free at both ends, so a name meets only the few that could name it.
    QHash<QChar, QList<Pattern>> m_byFirst;
    QHash<QChar, QList<Pattern>> m_byLast;
    QList<Pattern> m_floating;
    bool m_everyone = false;
};

// "friends: NAME, NAME", for a server's tooltip and accessible description; empty for none.
QString friendsWords(const QStringList &friends);
// A server's words with its friends after them: "WORDS; friends: NAME, NAME".
QString withFriendsWords(const QString &words, const QStringList &friends);
