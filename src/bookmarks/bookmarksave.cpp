// SPDX-License-Identifier: GPL-3.0-or-later
#include "bookmarks/bookmarksave.h"

#include "bookmarks/settingsstore.h"

qsizetype bookmarkRow(const SettingsStore &store, const QList<Bookmark> &listed,
                      const QString &name)
{
    for (qsizetype row = 0; row < listed.size(); ++row) {
        if (store.isSameSection(listed.at(row).name, name))
            return row;
    }
    return -1;
}

SaveOutcome saveBookmark(SettingsStore &store, const QList<Bookmark> &listed,
                         const QString &selected, const Bookmark &edited)
{
    // Where the store ignores letter case (the registry), a name that differs from the selected
    // one only in case is the same bookmark: it must neither clash with itself nor be deleted.
    const bool moved = !store.isSameSection(selected, edited.name);
    const qsizetype row = bookmarkRow(store, listed, edited.name);
    // A bookmark of the very name and address is updated. One whose name differs only in letter
    // case is another bookmark, which a store that ignores case cannot keep beside it: writing
    // would silently make the two one.
    if (moved && row >= 0
        && (listed.at(row).address != edited.address || listed.at(row).name != edited.name))
        return SaveOutcome::NameInUse;
    const bool stored = store.write(edited.name, QString::fromLatin1(kAddressKey), edited.address)
        && store.write(edited.name, QString::fromLatin1(kPasswordKey), edited.password)
        && (!moved || selected.isEmpty() || store.deleteSection(selected));
    return stored ? SaveOutcome::Saved : SaveOutcome::NotStored;
}

QString freeBookmarkName(const SettingsStore &store, const QList<Bookmark> &listed,
                         const QString &name)
{
    const auto taken = [&](const QString &candidate) {
        return store.isSameSection(candidate, QString::fromLatin1(kSettingsSection))
            || bookmarkRow(store, listed, candidate) >= 0;
    };
    QString free = name;
    for (int copy = 2; taken(free); ++copy)
        free = QStringLiteral("%1 (%2)").arg(name).arg(copy);
    return free;
}
