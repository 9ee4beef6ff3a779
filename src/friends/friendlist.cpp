// SPDX-License-Identifier: GPL-3.0-or-later
#include "friends/friendlist.h"

#include "query/statusreply.h"

#include <algorithm>

FriendList::FriendList(const QStringList &names)
{
    for (const QString &name : names.first(std::min(names.size(), kMaxFriends))) {
        if (name.size() <= kMaxNameLength)
            add(comparable(name));
    }
}

// Most names are printable ASCII without colour codes: they are folded here in one pass, as
// Qt's folding looks every character up in its tables.
QString FriendList::comparable(const QString &name)
{
    const bool plainAscii = std::all_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.unicode() >= 0x20 && c.unicode() < 0x7f && c != u'^';
    });
    if (!plainAscii)
        return withoutColourCodes(name).toCaseFolded();
    QString folded(name.size(), Qt::Uninitialized);
    std::transform(name.cbegin(), name.cend(), folded.begin(), [](QChar c) {
        return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + (u'a' - u'A')) : c;
    });
    return folded;
}

void FriendList::add(const QString &name)
{
    if (!name.contains(u'*')) {
        if (!name.isEmpty())
            m_exact.insert(name);
        return;
    }
    Pattern pattern;
    pattern.parts = name.split(u'*', Qt::SkipEmptyParts);
    if (pattern.parts.isEmpty()) {
        m_everyone = true;
        return;
    }
    for (const QString &part : std::as_const(pattern.parts)) {
        pattern.literalLength += part.size();
        pattern.characters |= characterSet(part);
    }
    pattern.anchoredStart = !name.startsWith(u'*');
    pattern.anchoredEnd = !name.endsWith(u'*');
    if (pattern.anchoredStart)
        m_byFirst[pattern.parts.constFirst().front()].append(std::move(pattern));
    else if (pattern.anchoredEnd)
        m_byLast[pattern.parts.constLast().back()].append(std::move(pattern));
    else
        m_floating.append(std::move(pattern));
}

bool FriendList::isEmpty() const
{
    return !m_everyone && m_exact.isEmpty() && m_byFirst.isEmpty() && m_byLast.isEmpty()
        && m_floating.isEmpty();
}

// Each part is found at its leftmost place after the one before: with "*" the only wildcard, a
// name that can be matched at all is matched that way, in time linear in the parts.
bool FriendList::Pattern::matches(QStringView name) const
{
    if (name.size() < literalLength)
        return false;
    qsizetype from = 0;
    qsizetype end = name.size();
    qsizetype first = 0;
    qsizetype last = parts.size();
    if (anchoredStart) {
        if (!name.startsWith(parts.constFirst()))
            return false;
        from = parts.constFirst().size();
        ++first;
    }
    // A pattern with a "*" tied to both ends has two parts at least: the end's is not the start's.
    if (anchoredEnd) {
        if (!name.sliced(from).endsWith(parts.constLast()))
            return false;
        end -= parts.constLast().size();
        --last;
    }
    const QStringView within = name.first(end);
    for (qsizetype i = first; i < last; ++i) {
        const qsizetype at = within.indexOf(parts.at(i), from);
        if (at < 0)
            return false;
        from = at + parts.at(i).size();
    }
    return true;
}

bool FriendList::anyMatches(const QList<Pattern> &patterns, QStringView name)
{
    return std::any_of(patterns.cbegin(), patterns.cend(),
                       [name](const Pattern &pattern) { return pattern.matches(name); });
}

quint64 FriendList::characterSet(QStringView text)
{
    quint64 set = 0;
    for (const QChar c : text)
        set |= quint64(1) << (c.unicode() % 64);
    return set;
}

bool FriendList::anyFloatingMatches(QStringView name) const
{
    if (m_floating.isEmpty())
        return false;
    const quint64 inName = characterSet(name);
    return std::any_of(m_floating.cbegin(), m_floating.cend(), [&](const Pattern &pattern) {
        return (pattern.characters & ~inName) == 0 && pattern.matches(name);
    });
}

FriendList::Match FriendList::matchComparable(const QString &name) const
{
    if (name.isEmpty())
        return Match::None;
    const auto inBucket = [&name](const QHash<QChar, QList<Pattern>> &buckets, QChar key) {
        const auto bucket = buckets.constFind(key);
        return bucket != buckets.cend() && anyMatches(*bucket, name);
    };
    if (m_exact.contains(name) || inBucket(m_byFirst, name.front())
        || inBucket(m_byLast, name.back()) || anyFloatingMatches(name))
        return Match::Named;
    return m_everyone ? Match::Everyone : Match::None;
}

QStringList FriendList::friendsAmong(const QStringList &players) const
{
    QStringList friends;
    if (isEmpty())
        return friends;
    for (const QString &player : players) {
        if (match(player) != Match::None)
            friends.append(player);
    }
    return friends;
}

QString friendsWords(const QStringList &friends)
{
    if (friends.isEmpty())
        return {};
    return QString::fromLatin1(kFriendsWords).arg(friends.join(QStringLiteral(", ")));
}

QString withFriendsWords(const QString &words, const QStringList &friends)
{
    return friends.isEmpty() ? words : words + QLatin1String("; ") + friendsWords(friends);
}
