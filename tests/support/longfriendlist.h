// SPDX-License-Identifier: GPL-3.0-or-later
// A friends list longer than a turn of the event loop can match.
#pragma once

#include <QString>
#include <QStringList>

// 9,999 patterns of `length` letters, each of `letters` (distinct letters) in turn. A name that
// holds each letter once and is at least `length` long passes the look at the characters and is
// searched by each; none matches a name of distinct letters when `length` exceeds their count.
inline QStringList patternsNamingNobody(const QString &letters, int length)
{
    QStringList patterns;
    for (int n = 0; patterns.size() < 9'999; ++n) {
        QString pattern(1, u'*');
        for (int digit = n, i = 0; i < length; ++i, digit /= int(letters.size()))
            pattern += letters[digit % letters.size()] + u'*';
        patterns.append(pattern);
    }
    return patterns;
}
