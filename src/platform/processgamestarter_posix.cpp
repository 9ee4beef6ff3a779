// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the game off Windows: under a shell that records its output and exit status.
#include "platform/processgamestarter.h"
#include "platform/processgamestarter_common.h"
#include "platform/regularfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

using std::chrono::milliseconds;

namespace {

// The shell takes the game's command as its positional parameters, and "$@" hands every argument
// on exactly as it is: nothing of the command is ever part of a script's text or parsed again.
// It keeps the first 64 KiB of the game's output, which is all an early failure's report needs,
// and reads the rest away: a game that stops being read would stop. The status is written as
// the game ends, not once the output ends: a game's helpers (Wine's server) may hold it open
// for seconds more. Its process id tells a later start whether the game still runs.
constexpr char kRecorder[] = R"(run=$1; shift; echo $$ >"$run/pid"
{ "$@" 2>&1; echo $? >"$run/status"; } | { head -c 65536 >"$run/output"; cat >/dev/null; }
mkdir "$run/done" 2>/dev/null || rm -rf "$run")";
constexpr char kGameFolders[] = "brinemoor-game-*";
// A folder without the recorder's process id yet: a start under way, or one that failed.
constexpr std::chrono::minutes kStartUnderWay{1};

std::optional<pid_t> recorderOf(const QDir &folder)
{
    QFile file(folder.filePath(QStringLiteral("pid")));
    bool isNumber = false;
    const pid_t pid = openRegularFile(file) ? file.readAll().trimmed().toInt(&isNumber) : 0;
    return isNumber && pid > 0 ? std::optional(pid) : std::nullopt;
}

bool isLeftOver(const QDir &folder, const QDateTime &underWay)
{
    if (const std::optional<pid_t> recorder = recorderOf(folder))
        return ::kill(*recorder, 0) != 0 && errno != EPERM;
    return QFileInfo(folder.path()).lastModified() < underWay;
}

} // namespace

std::unique_ptr<LaunchWatch> GameStart::startWatched(QProcess &game, const ProcessStart &process,
                                                     milliseconds watch)
{
    // Under the shell every start succeeds; a program it could not run must still say so now.
    if (::access(QFile::encodeName(process.program).constData(), X_OK) != 0)
        return failedStart(QString::fromLocal8Bit(std::strerror(errno)));
    QTemporaryDir folder(QDir::tempPath() + u'/' + QString::fromLatin1(kGameFolders).chopped(1)
                         + QStringLiteral("XXXXXX"));
    if (!folder.isValid())
        return failedStart(folder.errorString());
    game.setProgram(QStringLiteral("/bin/sh"));
    game.setArguments(QStringList{QStringLiteral("-c"), QLatin1String(kRecorder),
                                  QStringLiteral("brinemoor"), folder.path(), process.program}
                      + process.arguments);
    if (!game.startDetached())
        return failedStart(game.errorString());
    // The game writes there after the launcher has gone: the folder is the game's to keep.
    folder.setAutoRemove(false);
    return recordedLaunch(folder.path(), watch);
}

void ProcessGameStarter::removeEndedGameFolders()
{
    const QDir temporary = QDir::temp();
    const QStringList folders = temporary.entryList({QString::fromLatin1(kGameFolders)},
                                                    QDir::Dirs | QDir::NoDotAndDotDot);
    const QDateTime underWay = QDateTime::currentDateTime().addSecs(
        -std::chrono::duration_cast<std::chrono::seconds>(kStartUnderWay).count());
    for (const QString &name : folders) {
        QDir folder(temporary.filePath(name));
        if (isLeftOver(folder, underWay))
            folder.removeRecursively();
    }
}
