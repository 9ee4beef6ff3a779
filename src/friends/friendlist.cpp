// SPDX-License-Identifier: GPL-3.0-or-later
#include "friends/friendlist.h"

#include "query/statusreply.h"

#include <QCoreApplication>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <optional>

// An entry with a "*": its literal parts in order, and whether it is tied to the name's start or
// end (no "*" there). Not in the anonymous namespace: FriendPatterns holds it, and a class of
// external linkage may not hold a type of internal linkage.
struct FriendPattern
{
    QStringList parts;
    bool anchoredStart = false;
    bool anchoredEnd = false;
    qsizetype literalLength = 0;
    quint64 characters = 0; // characterSet() of its parts

    bool matches(QStringView name) const;
};

namespace {

// One bit per character code modulo 64: a pattern whose characters are not all in a name cannot
// match it, which spares most searches for the patterns free at both ends.
quint64 characterSet(QStringView text)
{
    quint64 set = 0;
    for (const QChar c : text)
        set |= quint64(1) << (c.unicode() % 64);
    return set;
}

// The work of the patterns, in units of about a nanosecond of a release build: a look at a
// pattern's characters is one, a search for its parts more. A turn's bound is about 4 ms, which
// leaves the window its frames while a second list (the browser's) takes its own turn's worth.
constexpr qint64 kLookWork = 1;
constexpr qint64 kSearchWork = 8;
constexpr qint64 kPartWork = 4;
constexpr qint64 kWorkPerTurn = 4'000'000;

qint64 searchWork(const FriendPattern &pattern)
{
    return kSearchWork + kPartWork * pattern.parts.size();
}

// Names matched are remembered, so that the servers looked at again cost no new work: in two
// generations, each of at most 65,536 names and 2 Mi characters (a refresh of 1,000 full servers
// of 64 players fits in one). When the newer is full the older is forgotten, and a name found in
// the older moves to the newer, so the names in view stay while a session that meets new players
// for hours, or a server that lists huge names, does not grow the memory.
constexpr qsizetype kRememberedNames = 1 << 16;
constexpr qsizetype kRememberedCharacters = 1 << 21;

} // namespace

// Each part is found at its leftmost place after the one before: with "*" the only wildcard, a
// name that can be matched at all is matched that way, in time linear in the parts.
bool FriendPattern::matches(QStringView name) const
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

// The entries with a "*", bucketed by the character they must start with, by the one they must
// end with, and those free at both ends, so a name meets only the few that could name it; and
// the names put off to later turns.
class FriendPatterns final : public QObject
{
    Q_OBJECT

public:
    bool add(const QString &entry);
    // Whether a pattern names `name`; nullopt when it has to wait for a later turn.
    std::optional<bool> names(const QString &name);
    bool isDeciding() const { return !m_waiting.isEmpty(); }

signals:
    void decided();

private:
    bool matches(QStringView name);
    bool anyMatches(const QList<FriendPattern> &patterns, QStringView name);
    std::optional<bool> recalled(const QString &name);
    void remember(const QString &name, bool named);
    void spend(qint64 work);
    void nextTurn();

    QHash<QChar, QList<FriendPattern>> m_byFirst;
    QHash<QChar, QList<FriendPattern>> m_byLast;
    QList<FriendPattern> m_floating;

    QHash<QString, bool> m_known;       // the newer generation
    QHash<QString, bool> m_knownBefore; // the older
    qsizetype m_knownCharacters = 0;    // in the newer
    QList<QString> m_waiting;           // in the order they came
    QSet<QString> m_waitingSet;
    qint64 m_work = 0; // since the turn began
    bool m_turnPosted = false;
};

// False for an entry of nothing but "*".
bool FriendPatterns::add(const QString &entry)
{
    FriendPattern pattern;
    pattern.parts = entry.split(u'*', Qt::SkipEmptyParts);
    if (pattern.parts.isEmpty())
        return false;
    for (const QString &part : std::as_const(pattern.parts)) {
        pattern.literalLength += part.size();
        pattern.characters |= characterSet(part);
    }
    pattern.anchoredStart = !entry.startsWith(u'*');
    pattern.anchoredEnd = !entry.endsWith(u'*');
    if (pattern.anchoredStart)
        m_byFirst[pattern.parts.constFirst().front()].append(std::move(pattern));
    else if (pattern.anchoredEnd)
        m_byLast[pattern.parts.constLast().back()].append(std::move(pattern));
    else
        m_floating.append(std::move(pattern));
    return true;
}

std::optional<bool> FriendPatterns::names(const QString &name)
{
    if (const std::optional<bool> known = recalled(name))
        return known;
    if (m_work >= kWorkPerTurn) {
        if (!m_waitingSet.contains(name)) {
            m_waitingSet.insert(name);
            m_waiting.append(name);
        }
        return std::nullopt;
    }
    const bool named = matches(name);
    remember(name, named);
    return named;
}

bool FriendPatterns::matches(QStringView name)
{
    const auto inBucket = [&](const QHash<QChar, QList<FriendPattern>> &buckets, QChar key) {
        const auto bucket = buckets.constFind(key);
        return bucket != buckets.cend() && anyMatches(*bucket, name);
    };
    if (inBucket(m_byFirst, name.front()) || inBucket(m_byLast, name.back()))
        return true;
    const quint64 inName = characterSet(name);
    qint64 work = 0;
    const bool named = std::any_of(
        m_floating.cbegin(), m_floating.cend(), [&](const FriendPattern &p) {
            work += kLookWork;
            if ((p.characters & ~inName) != 0 || p.literalLength > name.size())
                return false;
            work += searchWork(p);
            return p.matches(name);
        });
    spend(work);
    return named;
}

bool FriendPatterns::anyMatches(const QList<FriendPattern> &patterns, QStringView name)
{
    qint64 work = 0;
    const bool named = std::any_of(patterns.cbegin(), patterns.cend(), [&](const FriendPattern &p) {
        work += p.literalLength > name.size() ? kLookWork : searchWork(p);
        return p.matches(name);
    });
    spend(work);
    return named;
}

std::optional<bool> FriendPatterns::recalled(const QString &name)
{
    if (const auto known = m_known.constFind(name); known != m_known.cend())
        return *known;
    const auto before = m_knownBefore.constFind(name);
    if (before == m_knownBefore.cend())
        return std::nullopt;
    const bool named = *before;
    remember(name, named);
    return named;
}

void FriendPatterns::remember(const QString &name, bool named)
{
    if (m_known.size() >= kRememberedNames || m_knownCharacters >= kRememberedCharacters) {
        m_knownBefore = std::exchange(m_known, {});
        m_knownCharacters = 0;
    }
    m_known.insert(name, named);
    m_knownCharacters += name.size();
}

// The turn ends when the event loop comes back to this object's timer.
void FriendPatterns::spend(qint64 work)
{
    m_work += work;
    if (m_work > 0 && !std::exchange(m_turnPosted, true))
        QTimer::singleShot(0, this, &FriendPatterns::nextTurn);
}

void FriendPatterns::nextTurn()
{
    m_turnPosted = false;
    m_work = 0;
    if (m_waiting.isEmpty())
        return;
    while (!m_waiting.isEmpty() && m_work < kWorkPerTurn) {
        const QString name = m_waiting.takeFirst();
        m_waitingSet.remove(name);
        remember(name, matches(name));
    }
    if (m_waiting.isEmpty())
        emit decided();
    else
        spend(0);
}

FriendList::FriendList(const QStringList &names)
{
    for (const QString &name : names.first(std::min(names.size(), kMaxFriends))) {
        if (name.size() > kMaxNameLength)
            continue;
        const QString entry = comparable(name);
        if (!entry.contains(u'*')) {
            if (!entry.isEmpty())
                m_exact.insert(entry);
            continue;
        }
        if (!m_patterns)
            m_patterns = std::make_shared<FriendPatterns>();
        if (!m_patterns->add(entry))
            m_everyone = true;
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

bool FriendList::isEmpty() const
{
    return !m_everyone && m_exact.isEmpty() && !m_patterns;
}

FriendList::Match FriendList::matchComparable(const QString &name) const
{
    if (name.isEmpty())
        return Match::None;
    if (m_exact.contains(name) || (m_patterns && m_patterns->names(name).value_or(false)))
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

bool FriendList::isDeciding() const
{
    return m_patterns && m_patterns->isDeciding();
}

void FriendList::whenDecided(const QObject *context, const std::function<void()> &decided) const
{
    if (m_patterns)
        QObject::connect(m_patterns.get(), &FriendPatterns::decided, context, decided);
}

QString friendsWords(const QStringList &friends)
{
    if (friends.isEmpty())
        return {};
    return QCoreApplication::translate("FriendList", kFriendsWords)
        .arg(friends.join(QStringLiteral(", ")));
}

QString withFriendsWords(const QString &words, const QStringList &friends)
{
    return friends.isEmpty() ? words : words + QLatin1String("; ") + friendsWords(friends);
}

#include "friendlist.moc"
