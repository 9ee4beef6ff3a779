#include "platform/processgamestarter.h"

#include <QProcess>

bool ProcessGameStarter::start(const ProcessStart &process)
{
    QProcess game;
    game.setProgram(process.program);
    game.setArguments(process.arguments);
    game.setWorkingDirectory(process.workingDirectory);
    game.setProcessEnvironment(process.environment);
    // No shell in between: blanks, quotes and "$" reach the game as they are.
    return game.startDetached();
}
