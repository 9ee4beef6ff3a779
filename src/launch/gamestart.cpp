#include "launch/gamestart.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtEndian>

namespace {

constexpr qint64 kHeaderOffsetField = 0x3C;

#ifdef Q_OS_WIN

// The game reads its command line as one text: it gets the text exactly as built.
StartPlan planForPlatform(const GameCommand &command, ProcessStart process)
{
    process.program = command.program;
    process.nativeArguments = command.arguments;
    return {process, {}};
}

#else

// The game copies the OpenGL extension string into a fixed buffer and crashes on today's long
// lists; these ask Mesa's and NVIDIA's drivers for the list of the game's era.
void addOldGlExtensionList(QProcessEnvironment &environment)
{
    const std::pair<const char *, const char *> settings[] = {
        {"MESA_EXTENSION_MAX_YEAR", "2003"},
        {"__GL_ExtensionStringVersion", "17700"},
    };
    for (const auto &[name, value] : settings) {
        if (!environment.contains(QLatin1String(name)))
            environment.insert(QLatin1String(name), QLatin1String(value));
    }
}

QString findWine(const QProcessEnvironment &environment)
{
    const QStringList path =
        environment.value(QStringLiteral("PATH")).split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return path.isEmpty() ? QString()
                          : QStandardPaths::findExecutable(QStringLiteral("wine"), path);
}

// The text after the program path is split at blanks; the game joins its arguments again.
StartPlan planForPlatform(const GameCommand &command, ProcessStart process)
{
    const QStringList arguments = command.arguments.split(u' ', Qt::SkipEmptyParts);
    if (!isWindowsExecutableFile(command.program)) {
        process.program = command.program;
        process.arguments = arguments;
        return {process, {}};
    }
    process.program = findWine(process.environment);
    if (process.program.isEmpty())
        return {std::nullopt, QString::fromLatin1(kNoWine)};
    process.arguments = QStringList{command.program} + arguments;
    addOldGlExtensionList(process.environment);
    return {process, {}};
}

#endif

} // namespace

bool isWindowsExecutable(QIODevice &file)
{
    if (!file.seek(0) || file.read(2) != "MZ" || file.size() < kHeaderOffsetField + 4
        || !file.seek(kHeaderOffsetField))
        return false;
    const QByteArray field = file.read(4);
    if (field.size() != 4)
        return false;
    const qint64 offset = qFromLittleEndian<quint32>(field.constData());
    if (offset + 4 > file.size() || !file.seek(offset))
        return false;
    return file.read(4) == QByteArrayView("PE\0\0", 4);
}

bool isWindowsExecutableFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && isWindowsExecutable(file);
}

StartPlan planGameStart(const GameCommand &command, QProcessEnvironment environment)
{
    if (!QDir(command.workingDirectory).exists())
        return {std::nullopt, QString::fromLatin1(kNoGameFolder) + command.workingDirectory};
    ProcessStart process;
    process.workingDirectory = command.workingDirectory;
    process.environment = std::move(environment);
    return planForPlatform(command, std::move(process));
}
