// SPDX-License-Identifier: GPL-3.0-or-later
// The status display's fixed captions, in the user's language.
#pragma once

#include <QCoreApplication>
#include <QString>

#include <chrono>
#include <optional>

struct StatusReply;

// The window opens with a trailing blank.
inline constexpr char kPlayersAtStart[] = QT_TRANSLATE_NOOP("StatusCaptions", "Players: 0/0 ");
inline constexpr char kPingNone[] = QT_TRANSLATE_NOOP("StatusCaptions", "Ping: -");
inline constexpr char kPlayersNone[] = QT_TRANSLATE_NOOP("StatusCaptions", "Players: 0/0");
inline constexpr char kTypeNone[] = QT_TRANSLATE_NOOP("StatusCaptions", "Type:");
inline constexpr char kMapNone[] = QT_TRANSLATE_NOOP("StatusCaptions", "Map:");
inline constexpr char kReservedNone[] = QT_TRANSLATE_NOOP("StatusCaptions", "Reserved Spaces: 0");
inline constexpr char kPingTimeout[] = QT_TRANSLATE_NOOP("StatusCaptions", "Ping: Timeout");

// The beginnings of the captions that a status reply completes.
inline constexpr char kPingCaption[] = QT_TRANSLATE_NOOP("StatusCaptions", "Ping: ");
inline constexpr char kPlayersCaption[] = QT_TRANSLATE_NOOP("StatusCaptions", "Players: ");
inline constexpr char kTypeCaption[] = QT_TRANSLATE_NOOP("StatusCaptions", "Type: ");
inline constexpr char kMapCaption[] = QT_TRANSLATE_NOOP("StatusCaptions", "Map: ");
inline constexpr char kReservedCaption[] = QT_TRANSLATE_NOOP("StatusCaptions", "Reserved Spaces: ");

// One of the captions above in the user's language, as the display shows it and the join reads it.
inline QString statusCaption(const char *caption)
{
    return QCoreApplication::translate("StatusCaptions", caption);
}

// The captions a status reply gives the display; none for a label the reply says nothing about.
struct ReplyCaptions
{
    QString players;           // "Players: <count>/<limit>"
    qsizetype playerCount = 0; // the caption's count
    std::optional<QString> type;
    std::optional<QString> map;
    std::optional<QString> reserved;
};

// A limit sent as empty text leaves the count of the player lines before it; a reply without any
// limit shows it as 0.
ReplyCaptions replyCaptions(const StatusReply &reply);
// "Ping: 47" for a round trip of 47.9 ms.
QString pingCaption(std::chrono::microseconds roundTrip);
