// The status display's fixed captions: the window writes them, the join command reads them back.
#pragma once

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
