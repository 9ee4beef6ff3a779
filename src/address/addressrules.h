// SPDX-License-Identifier: GPL-3.0-or-later
// The rules for an "ip:port" server address: character filter, normaliser and verdict.
#pragma once

#include <QCoreApplication>
#include <QString>

// What the filter knows of the address text built so far, under the names of the window-level
// variables that hold it.
struct AddressFilter
{
    bool ColonUsed = false;
    int DotCount = 0;
    int CountNumbers = 0; // digits in the current octet (0..3), or 4 + port digits (4..9)
};

// The verdict that lets an address through is a word the program compares, never shown.
inline constexpr char kAddressOk[] = "ok";
inline constexpr char kNoAddress[] = QT_TRANSLATE_NOOP(
    "AddressRules", "You must have a server ip address (ip:port)");
inline constexpr char kNoPort[] = QT_TRANSLATE_NOOP(
    "AddressRules", "You must have a server port with the ip (ip:port)");
inline constexpr char kInvalidAddress[] = QT_TRANSLATE_NOOP("AddressRules", "Invalid IP");

// One of the messages above in the user's language.
inline QString addressMessage(const char *message)
{
    return QCoreApplication::translate("AddressRules", message);
}

// Applies the character rules to one character that would follow `text`; updates the filter and
// answers whether the character is accepted.
bool acceptAddressChar(AddressFilter &filter, const QString &text, QChar c);

// What a Backspace at the end of `text` does to the filter (the caller removes the character).
void backspaceAddressChar(AddressFilter &filter, const QString &text);

// Rebuilds the filter from scratch by passing every character of `newip` through the rules, and
// returns the accepted text. A backspace character (code 8) acts as the Backspace key does in the
// address field: it adjusts the filter and removes the last accepted character.
QString ipcheck(AddressFilter &filter, const QString &newip);

// The verdict on an address text built under `filter`: kAddressOk or the message for the user.
// The colon and the dots are judged by the filter, the port by the text.
QString checkip(const AddressFilter &filter, const QString &serverip);
