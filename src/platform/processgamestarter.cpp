#include "platform/processgamestarter.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

bool ProcessGameStarter::start(const ProcessStart &process)
{
    QProcess game;
    game.setProgram(process.program);
    game.setArguments(process.arguments);
    game.setWorkingDirectory(process.workingDirectory);
    game.setProcessEnvironment(process.environment);
#ifdef Q_OS_WIN
    game.setNativeArguments(process.nativeArguments);
    // The game's window starts minimised and takes the focus.
    game.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *arguments) {
        arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        arguments->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
    });
#endif
    // No shell in between: blanks, quotes and "$" reach the game as they are.
    return game.startDetached();
}
