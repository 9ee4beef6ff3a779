// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the game where this program has no implementation for the system: a plain detached
// start, watched for its time with nothing recorded.
#include "platform/processgamestarter.h"
#include "platform/processgamestarter_common.h"

#include <QProcess>

std::unique_ptr<LaunchWatch> GameStart::startWatched(QProcess &game, const ProcessStart &process,
                                                     std::chrono::milliseconds watch)
{
    game.setProgram(process.program);
    game.setArguments(process.arguments);
    if (!game.startDetached())
        return failedStart(game.errorString());
    return recordedLaunch(QString(), watch);
}

void ProcessGameStarter::removeEndedGameFolders() { }
