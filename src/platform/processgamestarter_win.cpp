// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the game on Windows: its command line as one text, its window minimised.
#include "platform/processgamestarter.h"
#include "platform/processgamestarter_common.h"

#include <QDir>
#include <QProcess>

#include <windows.h>

using std::chrono::milliseconds;

std::unique_ptr<LaunchWatch> GameStart::startWatched(QProcess &game, const ProcessStart &process,
                                                     milliseconds watch)
{
    game.setProgram(process.program);
    // The game reads its command line as one text: the program, quoted since a blank in its path
    // would make the system look for another program first, then the arguments exactly as built.
    // QProcess would put blanks of its own between the two.
    const QString commandLine = u'"' + QDir::toNativeSeparators(process.program) + u'"'
        + process.nativeArguments;
    // The game's window starts minimised and takes the focus. The system may write into the
    // command line it is given: it gets a copy of its own.
    game.setCreateProcessArgumentsModifier(
        [text = commandLine.toStdWString()](QProcess::CreateProcessArguments *arguments) mutable {
            arguments->arguments = text.data();
            arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
            arguments->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
        });
    if (!game.startDetached())
        return failedStart(game.errorString());
    return recordedLaunch(QString(), watch);
}

void ProcessGameStarter::removeEndedGameFolders() { }
