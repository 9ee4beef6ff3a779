// SPDX-License-Identifier: GPL-3.0-or-later
// Section names as the user typed them and as QSettings is given them.
#pragma once

#include <QString>

// Where the sections are kept: an INI file, or the Windows registry, whose key names may hold "/"
// but not "\".
enum class StoreBackend { IniFile, Registry };

// An escaping that lets any text a user types come back unchanged; QSettings alone would nest
// names at "/" and "\" and fold every letter case of "general" into one section.
QString escapeSection(const QString &name, StoreBackend backend);
QString unescapeSection(const QString &stored, StoreBackend backend);

// How QSettings compares section names: without regard to letter case on Windows, in the registry
// and in INI files alike; with it everywhere else, macOS included.
#ifdef Q_OS_WIN
inline constexpr Qt::CaseSensitivity kSectionCase = Qt::CaseInsensitive;
#else
inline constexpr Qt::CaseSensitivity kSectionCase = Qt::CaseSensitive;
#endif

// Whether two names address one section.
bool isSameSection(const QString &a, const QString &b, StoreBackend backend);
