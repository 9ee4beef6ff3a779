#include "platform/processgamestarter.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

using std::chrono::milliseconds;

namespace {

constexpr milliseconds kLookEvery{50};
// Enough for the last lines of a report, however long Wine's lines are.
constexpr qint64 kOutputTail = 8192;

// A start that failed: it reports from the event loop, as every other outcome does.
class FailedStart final : public LaunchWatch
{
public:
    explicit FailedStart(const QString &why)
    {
        QTimer::singleShot(0, this, [this, why] {
            emit finished({LaunchOutcome::Kind::NotStarted, 0, why, {}});
        });
    }
};

// The game's folder is shared by the watch and the recorder; each lets go of it once done with
// it, and whoever is last removes it. Making "done" is what tells who is last: only one can.
constexpr char kLetGo[] = "done";

// Watches one start: `folder` is where the recorder writes (empty: nothing is recorded).
class RecordedLaunch final : public LaunchWatch
{
public:
    RecordedLaunch(const QString &folder, milliseconds watch)
        : m_folder(folder),
          m_deadline(watch)
    {
        connect(&m_look, &QTimer::timeout, this, &RecordedLaunch::look);
        m_look.start(kLookEvery);
    }
    // A launcher that quits within the watch leaves the folder to the recorder.
    ~RecordedLaunch() override { letGo(); }

private:
    void look()
    {
        if (const std::optional<int> status = exitStatus()) {
            // The status is written as the game ends; its last words may still be on their way
            // to the output file, so they are read on the next look.
            if (!std::exchange(m_ended, true))
                return;
            report({LaunchOutcome::Kind::Ended, *status, outputTail(), {}});
        } else if (m_deadline.hasExpired()) {
            // It runs on, and writes on: the output file stays as its log until the game ends.
            report({LaunchOutcome::Kind::Running, 0, outputTail(), outputFile()});
        }
    }

    void report(const LaunchOutcome &outcome)
    {
        m_look.stop();
        letGo();
        emit finished(outcome);
    }

    void letGo()
    {
        if (m_folder.isEmpty() || std::exchange(m_letGo, true))
            return;
        QDir folder(m_folder);
        if (!folder.mkdir(QLatin1String(kLetGo)))
            folder.removeRecursively();
    }

    QString outputFile() const
    {
        return m_folder.isEmpty() ? QString() : m_folder + QStringLiteral("/output");
    }

    // Written only once the game has ended; a file still empty is read again on the next look.
    std::optional<int> exitStatus() const
    {
        QFile file(m_folder + QStringLiteral("/status"));
        if (m_folder.isEmpty() || !file.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QByteArray text = file.readAll();
        bool isNumber = false;
        const int status = text.trimmed().toInt(&isNumber);
        return text.endsWith('\n') && isNumber ? std::optional(status) : std::nullopt;
    }

    QString outputTail() const
    {
        QFile file(outputFile());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        file.seek(std::max<qint64>(0, file.size() - kOutputTail));
        return QString::fromLocal8Bit(file.readAll());
    }

    const QString m_folder;
    QDeadlineTimer m_deadline;
    QTimer m_look;
    bool m_ended = false;
    bool m_letGo = false;
};

#ifdef Q_OS_WIN

std::unique_ptr<LaunchWatch> startWatched(QProcess &game, const ProcessStart &process,
                                          milliseconds watch)
{
    game.setProgram(process.program);
    game.setArguments(process.arguments);
    game.setNativeArguments(process.nativeArguments);
    // The game's window starts minimised and takes the focus.
    game.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *arguments) {
        arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        arguments->startupInfo->wShowWindow = SW_SHOWMINIMIZED;
    });
    if (!game.startDetached())
        return std::make_unique<FailedStart>(game.errorString());
    return std::make_unique<RecordedLaunch>(QString(), watch);
}

#else

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
    const pid_t pid = file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt(&isNumber)
                                                     : 0;
    return isNumber && pid > 0 ? std::optional(pid) : std::nullopt;
}

bool isLeftOver(const QDir &folder, const QDateTime &underWay)
{
    if (const std::optional<pid_t> recorder = recorderOf(folder))
        return ::kill(*recorder, 0) != 0 && errno != EPERM;
    return QFileInfo(folder.path()).lastModified() < underWay;
}

std::unique_ptr<LaunchWatch> startWatched(QProcess &game, const ProcessStart &process,
                                          milliseconds watch)
{
    // Under the shell every start succeeds; a program it could not run must still say so now.
    if (::access(QFile::encodeName(process.program).constData(), X_OK) != 0)
        return std::make_unique<FailedStart>(QString::fromLocal8Bit(std::strerror(errno)));
    QTemporaryDir folder(QDir::tempPath() + u'/' + QString::fromLatin1(kGameFolders).chopped(1)
                         + QStringLiteral("XXXXXX"));
    if (!folder.isValid())
        return std::make_unique<FailedStart>(folder.errorString());
    game.setProgram(QStringLiteral("/bin/sh"));
    game.setArguments(QStringList{QStringLiteral("-c"), QLatin1String(kRecorder),
                                  QStringLiteral("brinemoor"), folder.path(), process.program}
                      + process.arguments);
    if (!game.startDetached())
        return std::make_unique<FailedStart>(game.errorString());
    // The game writes there after the launcher has gone: the folder is the game's to keep.
    folder.setAutoRemove(false);
    return std::make_unique<RecordedLaunch>(folder.path(), watch);
}

#endif

} // namespace

void ProcessGameStarter::removeEndedGameFolders()
{
#ifndef Q_OS_WIN
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
#endif
}

std::unique_ptr<LaunchWatch> ProcessGameStarter::start(const ProcessStart &process,
                                                       milliseconds watch)
{
    QProcess game;
    game.setWorkingDirectory(process.workingDirectory);
    game.setProcessEnvironment(process.environment);
    return startWatched(game, process, watch);
}
