// SPDX-License-Identifier: GPL-3.0-or-later
// What a key press types, as the address field's filter knows it.
#pragma once

class QKeyEvent;

// The character codes of the keys the address field gives a meaning of their own.
inline constexpr int kCopyKey = 3;
inline constexpr int kBackspaceKey = 8;
inline constexpr int kEnterKey = 13;
inline constexpr int kPasteKey = 22;
inline constexpr int kNoCharacter = -1;

// The character a key press types: control keys as their control codes (Ctrl+C is 3), printable
// text as its character, kNoCharacter for keys that type nothing (arrows, Delete, Home, Tab) and
// which therefore reach the field untouched.
int typedCharacter(const QKeyEvent &event);
