// SPDX-License-Identifier: GPL-3.0-or-later
// What the bookmark commands tell the user when they refuse a save or cannot store a change.
#pragma once

#include <QCoreApplication>
#include <QString>

inline constexpr char kNoServerName[] = QT_TRANSLATE_NOOP("BookmarkMessages",
                                                          "No server name entered");
inline constexpr char kInvalidServerName[] = QT_TRANSLATE_NOOP("BookmarkMessages",
                                                               "invalid server name");
inline constexpr char kServerNameInUse[] = QT_TRANSLATE_NOOP("BookmarkMessages",
                                                             "Server Name already in use");
// %1: the settings file (or registry key) that could not be written.
inline constexpr char kServerListNotSaved[] = QT_TRANSLATE_NOOP(
    "BookmarkMessages", "The server list could not be saved: %1");
// %1: the settings file that is there but could not be read, shown once at start-up.
inline constexpr char kSettingsNotRead[] = QT_TRANSLATE_NOOP(
    "BookmarkMessages",
    "The settings could not be read from %1. Brinemoor starts without the saved servers and game "
    "path, and leaves the file as it is.");

// One of the messages above in the user's language.
inline QString bookmarkMessage(const char *message)
{
    return QCoreApplication::translate("BookmarkMessages", message);
}
