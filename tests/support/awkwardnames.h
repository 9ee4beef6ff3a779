// SPDX-License-Identifier: GPL-3.0-or-later
// Bookmark names that a plain settings file would cut, merge or mangle: one data row each, in a
// column "name".
#pragma once

#include <QString>
#include <QtTest>

inline void addAwkwardNameRows()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("slash") << "24/7 CTF";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("general") << "general";
    QTest::newRow("GENERAL") << "GENERAL";
    QTest::newRow("brackets") << "[x]";
    QTest::newRow("ini punctuation") << "=;#";
    QTest::newRow("outer blanks") << "  padded  ";
    QTest::newRow("quotes and percent") << "\"50%\" %41";
    QTest::newRow("non-ASCII") << QStringLiteral("Gänsefüßchen ☠ 死");
    QTest::newRow("percent escape look-alikes") << "%2F and %25 and %";
    QTest::newRow("escaped general look-alike") << "%67eneral";
    QTest::newRow("500 characters") << QString(500, u'n');
}
