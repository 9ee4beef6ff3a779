// SPDX-License-Identifier: GPL-3.0-or-later
// What the bookmark commands tell the user when they refuse a save or cannot store a change.
#pragma once

inline constexpr char kNoServerName[] = "No server name entered";
inline constexpr char kInvalidServerName[] = "invalid server name";
inline constexpr char kServerNameInUse[] = "Server Name already in use";
// %1: the settings file (or registry key) that could not be written.
inline constexpr char kServerListNotSaved[] = "The server list could not be saved: %1";
// %1: the settings file that is there but could not be read, shown once at start-up.
inline constexpr char kSettingsNotRead[] =
    "The settings could not be read from %1. Brinemoor starts without the saved servers and game "
    "path, and leaves the file as it is.";
