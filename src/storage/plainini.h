// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the INI files that QSettings writes for plain text in one pass, without QSettings' cache.
#pragma once

#include "storage/storedsection.h"

#include <QByteArrayView>
#include <QList>

#include <optional>
#include <utility>

struct PlainIni
{
    // Named as QSettings names its groups, in the order it lists them; keys in the file's order.
    QList<StoredSection> sections;
    // The values QSettings wrote in another form than plain text (quoted, escaped, a list, "@" in
    // front): left empty here, as only QSettings reads them right. Each is found by its place, so
    // the sections may be renamed.
    struct OtherValue
    {
        QString group;
        qsizetype section;
        qsizetype value;
    };
    QList<OtherValue> otherValues;
};

// nullopt when the file holds anything QSettings would read in a way of its own: comments, keys
// outside a section, nested groups, a section or key given twice, the "General" section, line
// ends other than LF, names not escaped as QSettings escapes them.
std::optional<PlainIni> readPlainIni(QByteArrayView data);
