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

} // namespace

BookmarkStore::BookmarkStore(KeyValueStore &store)
    : m_store(store)
{ }

QList<Bookmark> BookmarkStore::bookmarksIn(QList<StoredSection> sections)
{
    const QString address = addressKey();
    const QString password = passwordKey();
    const QString reserved = AppSettings::sectionName();
    QList<Bookmark> bookmarks;
    bookmarks.reserve(sections.size());
    for (StoredSection &section : sections) {
        if (section.name != reserved)
            bookmarks.append(
                {std::move(section.name), section.value(address), section.value(password)});
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
    const bool stored = m_store.write(edited.name, addressKey(), edited.address)
        && m_store.write(edited.name, passwordKey(), edited.password)
        && (!moved || selected.isEmpty() || m_store.deleteSection(selected));
    return stored ? SaveOutcome::Saved : SaveOutcome::NotStored;
}

bool BookmarkStore::remove(const QString &name)
{
    return m_store.deleteSection(name);
}
