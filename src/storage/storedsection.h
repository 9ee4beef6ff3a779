// SPDX-License-Identifier: GPL-3.0-or-later
// One section of the settings store as read in one go, with every value it holds.
#pragma once

#include <QList>
#include <QString>

#include <algorithm>
#include <utility>

struct StoredSection
{
    QString name;
    QList<std::pair<QString, QString>> values; // key and value

    bool contains(const QString &key) const
    {
        return std::any_of(values.cbegin(), values.cend(),
                           [&](const auto &entry) { return entry.first == key; });
    }

    // Empty text for a key the section does not hold, as the store reads a missing key.
    QString value(const QString &key) const
    {
        for (const auto &[storedKey, storedValue] : values) {
            if (storedKey == key)
                return storedValue;
        }
        return {};
    }
};
// Both its members may be moved in memory as they are: a list of thousands of sections grows
// without moving each one by hand.
Q_DECLARE_TYPEINFO(StoredSection, Q_RELOCATABLE_TYPE);

// The value of `key` in the section named `section`; empty text when either is missing.
inline QString storedValue(const QList<StoredSection> &sections, const QString &section,
                           const QString &key)
{
    for (const StoredSection &stored : sections) {
        if (stored.name == section)
            return stored.value(key);
    }
    return {};
}
