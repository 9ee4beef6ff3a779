// Starts the game with QProcess, detached, so it outlives the launcher, and watches its start.
#pragma once

#include "platform/gamestarter.h"

// Off Windows the game runs under a small shell that writes the game's output, and then its exit
// status, to files in a folder of its own under the temporary folder; the watch looks there. On
// Windows nothing is recorded: the watch only lets its time pass.
class ProcessGameStarter final : public GameStarter
{
public:
    std::unique_ptr<LaunchWatch> start(const ProcessStart &process,
                                       std::chrono::milliseconds watch) override;
};
