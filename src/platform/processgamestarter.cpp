// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/processgamestarter.h"
#include "platform/processgamestarter_common.h"
#include "platform/regularfile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <utility>

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
        if (m_folder.isEmpty() || !openRegularFile(file))
            return std::nullopt;
        const QByteArray text = file.readAll();
        bool isNumber = false;
        const int status = text.trimmed().toInt(&isNumber);
        return text.endsWith('\n') && isNumber ? std::optional(status) : std::nullopt;
    }

    QString outputTail() const
    {
        QFile file(outputFile());
        if (!openRegularFile(file))
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

} // namespace

std::unique_ptr<LaunchWatch> GameStart::failedStart(const QString &why)
{
    return std::make_unique<FailedStart>(why);
}

std::unique_ptr<LaunchWatch> GameStart::recordedLaunch(const QString &folder, milliseconds watch)
{
    return std::make_unique<RecordedLaunch>(folder, watch);
}

std::unique_ptr<LaunchWatch> ProcessGameStarter::start(const ProcessStart &process,
                                                       milliseconds watch)
{
    QProcess game;
    game.setWorkingDirectory(process.workingDirectory);
    game.setProcessEnvironment(process.environment);
    return GameStart::startWatched(game, process, watch);
}
