// SPDX-License-Identifier: GPL-3.0-or-later
// The status display's fixed captions.
#pragma once

#include <QString>

#include <chrono>
#include <optional>

struct StatusReply;

inline constexpr char kPlayersAtStart[] = "Players: 0/0 "; // the window opens with a trailing blank
inline constexpr char kPingNone[] = "Ping: -";
inline constexpr char kPlayersNone[] = "Players: 0/0";
inline constexpr char kTypeNone[] = "Type:";
inline constexpr char kMapNone[] = "Map:";
inline constexpr char kReservedNone[] = "Reserved Spaces: 0";
inline constexpr char kPingTimeout[] = "Ping: Timeout";

// The beginnings of the captions that a status reply completes.
inline constexpr char kPingCaption[] = "Ping: ";
inline constexpr char kPlayersCaption[] = "Players: ";
inline constexpr char kTypeCaption[] = "Type: ";
inline constexpr char kMapCaption[] = "Map: ";
inline constexpr char kReservedCaption[] = "Reserved Spaces: ";

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
