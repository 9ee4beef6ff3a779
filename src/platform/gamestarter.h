// Starting the game as a process of its own.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct ProcessStart
{
    QString program;
    QStringList arguments;
    QString nativeArguments; // Windows only: the arguments as one text, passed on as they are
    QString workingDirectory;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

class GameStarter
{
public:
    virtual ~GameStarter() = default;
    // Starts the process detached from the launcher; false when it could not be started.
    virtual bool start(const ProcessStart &process) = 0;
};
