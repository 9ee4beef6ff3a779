// The status display's fixed captions, shared by the window's handlers.
#pragma once

inline constexpr char kPingNone[] = "Ping: -";
inline constexpr char kPlayersNone[] = "Players: 0/0";
inline constexpr char kTypeNone[] = "Type:";
inline constexpr char kMapNone[] = "Map:";
inline constexpr char kReservedNone[] = "Reserved Spaces: 0";
