// SPDX-License-Identifier: GPL-3.0-or-later
// What Save does to the store: add a bookmark, update it, or move it to a new name.
#pragma once

#include <QList>
#include <QString>

class SettingsStore;

// One bookmark as the list shows it and the store keeps it.
struct Bookmark
{
    QString name;
    QString address;
    QString password;
};

enum class SaveOutcome {
    Saved,     // written; a moved bookmark's old section is gone
    NameInUse, // another bookmark has the name with another address; nothing written
    NotStored, // the store could not be written; no bookmark lost, the old section kept
};

// The row of the listed bookmark that `name` addresses in this store, or -1.
qsizetype bookmarkRow(const SettingsStore &store, const QList<Bookmark> &listed,
                      const QString &name);

// `name`, or the first of "name (2)", "name (3)"... that no listed bookmark has and that is not
// the program's own section.
QString freeBookmarkName(const SettingsStore &store, const QList<Bookmark> &listed,
                         const QString &name);

// Stores `edited` under its name. With `selected` (the listed bookmark being edited) under
// another name, the bookmark moves: its old section goes, but only once the new one is stored.
// A listed bookmark of the new name with the same address is no clash: it is overwritten. Where
// the store ignores letter case, a listed name that differs only in case always clashes.
SaveOutcome saveBookmark(SettingsStore &store, const QList<Bookmark> &listed,
                         const QString &selected, const Bookmark &edited);
