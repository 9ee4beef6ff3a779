#include "platform/processgamestarter.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
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

private:
    void look()
    {
        if (const std::optional<int> status = exitStatus()) {
            LaunchOutcome outcome{LaunchOutcome::Kind::Ended, *status, outputTail(), {}};
            QDir(m_folder).removeRecursively();
            report(outcome);
        } else if (m_deadline.hasExpired()) {
            // It runs on, and writes on: the output file stays as its log.
            report({LaunchOutcome::Kind::Running, 0, outputTail(), outputFile()});
        }
    }

    void report(const LaunchOutcome &outcome)
    {
        m_look.stop();
        emit finished(outcome);
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
};

#ifdef Q_OS_WIN

std::unique_ptr<LaunchWatch> startWatched(QProcess &game, const ProcessStart &process,
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
        return std::make_unique<FailedStart>(game.errorString());
    return std::make_unique<RecordedLaunch>(QString(), watch);
}

#else

// The shell takes the game's command as its positional parameters, and "$@" hands every argument
// on exactly as it is: nothing of the command is ever part of a script's text or parsed again.
constexpr char kRecorder[] = R"(run=$1; shift; "$@" >"$run/output" 2>&1; echo $? >"$run/status")";

std::unique_ptr<LaunchWatch> startWatched(QProcess &game, const ProcessStart &process,
                                          milliseconds watch)
{
    // Under the shell every start succeeds; a program it could not run must still say so now.
    if (::access(QFile::encodeName(process.program).constData(), X_OK) != 0)
        return std::make_unique<FailedStart>(QString::fromLocal8Bit(std::strerror(errno)));
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/brinemoor-game-XXXXXX"));
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

std::unique_ptr<LaunchWatch> ProcessGameStarter::start(const ProcessStart &process,
                                                       milliseconds watch)
{
    QProcess game;
    game.setWorkingDirectory(process.workingDirectory);
    game.setProcessEnvironment(process.environment);
    return startWatched(game, process, watch);
}
