// The join command's fixed texts for the user.
#pragma once

inline constexpr char kNoGamePath[] = "Can not load game, no game path selected";
inline constexpr char kServerFull[] = "Server full";
inline constexpr char kServerNotResponding[] = "Server not responding";
inline constexpr char kLaunchedGame[] = "Launched game....";
inline constexpr char kDebugSwitch[] = "/debug";

// When the game can not start; the first and last are followed by the folder or program.
inline constexpr char kNoGameFolder[] = "Can not load game, the game folder does not exist: ";
inline constexpr char kNoWine[] = "Can not load game, wine is needed to run it and was not found";
inline constexpr char kGameNotStarted[] = "Can not load game, it could not be started: ";
