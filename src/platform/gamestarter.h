// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the game as a process of its own, and how it fared in its first seconds.
#pragma once

#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

struct ProcessStart
{
    QString program;
    QStringList arguments;
    QString nativeArguments; // Windows only: the arguments as one text, passed on as they are
                             // (`arguments` then only tells them)
    QString workingDirectory;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

// What a start came to by the end of its watch.
struct LaunchOutcome
{
    enum class Kind { NotStarted, Running, Ended };
    Kind kind = Kind::NotStarted;
    int exitStatus = 0; // Ended: the exit status, 128 + the signal's number for a signal
    QString output;     // Ended, Running: the end of what it wrote; NotStarted: why not
    QString outputFile; // Running: where the rest of its output goes, when it is kept
};

// One start being watched. It reports exactly once, never from inside GameStarter::start(), and
// never after it has been destroyed; destroying it stops the watch, never the game.
class LaunchWatch : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    void finished(const LaunchOutcome &outcome);
};

class GameStarter
{
public:
    virtual ~GameStarter() = default;
    // Starts the process detached from the launcher, so that it outlives it, and watches it for
    // `watch`: the report comes when it has ended within that time, or then.
    virtual std::unique_ptr<LaunchWatch> start(const ProcessStart &process,
                                               std::chrono::milliseconds watch) = 0;
};
