// Starts the game with QProcess, detached, so it outlives the launcher.
#pragma once

#include "platform/gamestarter.h"

class ProcessGameStarter final : public GameStarter
{
public:
    bool start(const ProcessStart &process) override;
};
