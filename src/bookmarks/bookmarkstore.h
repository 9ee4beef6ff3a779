// SPDX-License-Identifier: GPL-3.0-or-later
// The bookmarks in the store: each is a section of its own, named as the user typed it, with the
// keys `ip`, `password` and, when the user asked for one, `alert`. Every section but the program's
// own is a bookmark.
#pragma once

#include "bookmarks/bookmark.h"
#include "storage/storedsection.h"

#include <QList>
#include <QString>

#include <optional>

class KeyValueStore;

enum class SaveOutcome {
    Saved,     // written; a moved bookmark's old section is gone
    NameInUse, // another bookmark has the name with another address; nothing written
    NotStored, // the store could not be written; no bookmark lost, the old section kept
};

class BookmarkStore final
{
public:
    explicit BookmarkStore(KeyValueStore &store);

    // Every bookmark, in the store's order; nullopt when the store cannot be read now.
    std::optional<QList<Bookmark>> list();
    // The bookmarks of one reading of the whole store, in its order, the sections taken over.
    static QList<Bookmark> bookmarksIn(QList<StoredSection> sections);
    // Whether the name addresses the program's own section: where the store ignores letter case
    // (the registry), "Settings" is that section too.
    bool isReservedName(const QString &name) const;

    // The row of the listed bookmark that `name` addresses in this store, or -1.
    qsizetype rowOf(const QList<Bookmark> &listed, const QString &name) const;
    // `name`, or the first of "name (2)", "name (3)"... that no listed bookmark has and that is
    // not reserved.
    QString freeName(const QList<Bookmark> &listed, const QString &name) const;

    // Stores `edited` under its name. With `selected` (the listed bookmark being edited) under
    // another name, the bookmark moves: its old section goes, but only once the new one is
    // stored. A listed bookmark of the new name with the same address is no clash: it is
    // overwritten. Where the store ignores letter case, a listed name that differs only in case
    // always clashes.
    SaveOutcome save(const QList<Bookmark> &listed, const QString &selected,
                     const Bookmark &edited);
    // False when the store could not be written.
    bool remove(const QString &name);
    // The bookmark's `alert`: 0 turns it off.
    bool setAlert(const QString &name, int players);

private:
    KeyValueStore &m_store;
};
