// SPDX-License-Identifier: GPL-3.0-or-later
#include "bookmarks/bookmarkstore.h"

#include "settings/appsettings.h"
#include "storage/keyvaluestore.h"

namespace {

QString addressKey()
{
    return QStringLiteral("ip");
}

QString passwordKey()
{
    return QStringLiteral("password");
}

QString alertKey()
{
    return QStringLiteral("alert");
}

QString gameKey()
{
    return QStringLiteral("game");
}

// Anything but a positive whole number is no alert.
int alertIn(const QString &text)
{
    bool isNumber = false;
    const int players = text.trimmed().toInt(&isNumber);
    return isNumber ? std::max(players, 0) : 0;
}

} // namespace

BookmarkStore::BookmarkStore(KeyValueStore &store)
    : m_store(store)
{ }

QList<Bookmark> BookmarkStore::bookmarksIn(QList<StoredSection> sections)
{
    const QString address = addressKey();
    const QString password = passwordKey();
    const QString alert = alertKey();
    const QString game = gameKey();
    const QString reserved = AppSettings::sectionName();
    QList<Bookmark> bookmarks;
    bookmarks.reserve(sections.size());
    for (StoredSection &section : sections) {
        if (section.name != reserved)
            bookmarks.append({std::move(section.name), section.value(address),
                              section.value(password), alertIn(section.value(alert)),
                              gameNamed(section.value(game))});
    }
    return bookmarks;
}

std::optional<QList<Bookmark>> BookmarkStore::list()
{
    std::optional<QList<StoredSection>> sections = m_store.contents();
    if (!sections)
        return std::nullopt;
    return bookmarksIn(*std::move(sections));
}

bool BookmarkStore::isReservedName(const QString &name) const
{
    return m_store.isSameSection(name, AppSettings::sectionName());
}

qsizetype BookmarkStore::rowOf(const QList<Bookmark> &listed, const QString &name) const
{
    for (qsizetype row = 0; row < listed.size(); ++row) {
        if (m_store.isSameSection(listed.at(row).name, name))
            return row;
    }
    return -1;
}

QString BookmarkStore::freeName(const QList<Bookmark> &listed, const QString &name) const
{
    const auto taken = [&](const QString &candidate) {
        return isReservedName(candidate) || rowOf(listed, candidate) >= 0;
    };
    QString free = name;
    for (int copy = 2; taken(free); ++copy)
        free = QStringLiteral("%1 (%2)").arg(name).arg(copy);
    return free;
}

SaveOutcome BookmarkStore::save(const QList<Bookmark> &listed, const QString &selected,
                                const Bookmark &edited)
{
    // Where the store ignores letter case (the registry), a name that differs from the selected
    // one only in case is the same bookmark: it must neither clash with itself nor be deleted.
    const bool moved = !m_store.isSameSection(selected, edited.name);
    const qsizetype row = rowOf(listed, edited.name);
    // A bookmark of the very name and address is updated. One whose name differs only in letter
    // case is another bookmark, which a store that ignores case cannot keep beside it: writing
    // would silently make the two one.
    if (moved && row >= 0
        && (listed.at(row).address != edited.address || listed.at(row).name != edited.name))
        return SaveOutcome::NameInUse;
    // A moved bookmark takes its alert along.
    const qsizetype old = moved ? rowOf(listed, selected) : -1;
    const int alert = old >= 0 ? listed.at(old).alert : 0;
    // A Call of Duty bookmark has no `game`, as every bookmark had before the other games.
    const bool gameWritten = edited.game != GameId::Cod
        || (row >= 0 && listed.at(row).game != GameId::Cod);
    const bool stored = m_store.write(edited.name, addressKey(), edited.address)
        && m_store.write(edited.name, passwordKey(), edited.password)
        && (alert == 0 || setAlert(edited.name, alert))
        && (!gameWritten
            || m_store.write(edited.name, gameKey(), QLatin1String(gameOf(edited.game).key)))
        && (!moved || selected.isEmpty() || m_store.deleteSection(selected));
    return stored ? SaveOutcome::Saved : SaveOutcome::NotStored;
}

bool BookmarkStore::setAlert(const QString &name, int players)
{
    return m_store.write(name, alertKey(), QString::number(players));
}

bool BookmarkStore::remove(const QString &name)
{
    return m_store.deleteSection(name);
}
