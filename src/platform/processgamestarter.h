// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the game with QProcess, detached, so it outlives the launcher, and watches its start.
#pragma once

#include "platform/gamestarter.h"

// Off Windows the game runs under a small shell that writes the start of the game's output, and
// its exit status, to files in a folder of its own under the temporary folder; the watch looks
// there, and the folder goes once the game has ended. On Windows nothing is recorded: the watch
// only lets its time pass.
class ProcessGameStarter final : public GameStarter
{
public:
    // Removes the folders of recorded games that no longer run, such as those a launcher that
    // ended unexpectedly could not hand over: at start-up, before any game of this run starts.
    static void removeEndedGameFolders();

    std::unique_ptr<LaunchWatch> start(const ProcessStart &process,
                                       std::chrono::milliseconds watch) override;
};
