#include "launch/gamestart.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtEndian>

namespace {

constexpr qint64 kHeaderOffsetField = 0x3C;
// As many lines of a failed start's output as a message box shows comfortably.
constexpr qsizetype kReportedLines = 10;

// Where "PE\0\0" stands, when the device holds a Windows executable.
std::optional<qint64> signatureOffset(QIODevice &file)
{
    if (!file.seek(0) || file.read(2) != "MZ" || file.size() < kHeaderOffsetField + 4
        || !file.seek(kHeaderOffsetField))
        return std::nullopt;
    const QByteArray field = file.read(4);
    if (field.size() != 4)
        return std::nullopt;
    const qint64 offset = qFromLittleEndian<quint32>(field.constData());
    if (offset + 4 > file.size() || !file.seek(offset)
        || file.read(4) != QByteArrayView("PE\0\0", 4))
        return std::nullopt;
    return offset;
}

QString lastLines(const QString &output)
{
    QStringList lines = output.split(u'\n');
    for (QString &line : lines)
        line.remove(u'\r');
    while (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
        lines.removeLast();
    return lines.mid(std::max<qsizetype>(0, lines.size() - kReportedLines)).join(u'\n');
}

#ifdef Q_OS_WIN

// The game reads its command line as one text: it gets the text exactly as built.
StartPlan planForPlatform(const GameCommand &command, ProcessStart process, const WineSettings &)
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

// A runner given with its path is taken as it is; a bare name is looked for on the game's PATH.
QString findWine(const QString &runner, const QProcessEnvironment &environment)
{
    if (QDir::isAbsolutePath(runner))
        return QStandardPaths::findExecutable(runner);
    const QStringList path =
        environment.value(QStringLiteral("PATH")).split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return path.isEmpty() ? QString() : QStandardPaths::findExecutable(runner, path);
}

// nullopt: no Windows executable; 0: one whose header stops short of the machine field.
std::optional<quint16> windowsMachineOfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !isWindowsExecutable(file))
        return std::nullopt;
    return windowsMachine(file).value_or(0);
}

// The text after the program path is split at blanks; the game joins its arguments again.
StartPlan planForPlatform(const GameCommand &command, ProcessStart process,
                          const WineSettings &wine)
{
    const QStringList arguments = command.arguments.split(u' ', Qt::SkipEmptyParts);
    const std::optional<quint16> machine = windowsMachineOfFile(command.program);
    if (!machine) {
        process.program = command.program;
        process.arguments = arguments;
        return {process, {}};
    }
    const QString runner = wine.runner.isEmpty() ? QStringLiteral("wine") : wine.runner;
    process.program = findWine(runner, process.environment);
    if (process.program.isEmpty()) {
        const QString named = wine.runner.isEmpty() ? QString() : QStringLiteral(": ") + runner;
        return {std::nullopt, QString::fromLatin1(kNoWine) + named};
    }
    process.arguments = QStringList{command.program} + arguments;
    addOldGlExtensionList(process.environment);
    if (!wine.prefix.isEmpty())
        process.environment.insert(QStringLiteral("WINEPREFIX"), wine.prefix);
    return {process, {}, *machine == kMachineI386};
}

#endif

} // namespace

bool isWindowsExecutable(QIODevice &file)
{
    return signatureOffset(file).has_value();
}

std::optional<quint16> windowsMachine(QIODevice &file)
{
    const std::optional<qint64> signature = signatureOffset(file);
    if (!signature || !file.seek(*signature + 4))
        return std::nullopt;
    const QByteArray field = file.read(2);
    if (field.size() != 2)
        return std::nullopt;
    return qFromLittleEndian<quint16>(field.constData());
}

StartPlan planGameStart(const GameCommand &command, QProcessEnvironment environment,
                        const WineSettings &wine)
{
    if (!QDir(command.workingDirectory).exists())
        return {std::nullopt, QString::fromLatin1(kNoGameFolder) + command.workingDirectory};
    ProcessStart process;
    process.workingDirectory = command.workingDirectory;
    process.environment = std::move(environment);
    return planForPlatform(command, std::move(process), wine);
}

std::optional<QString> startFailure(const StartPlan &plan, const LaunchOutcome &outcome)
{
    const QString program = plan.process ? plan.process->program : QString();
    if (outcome.kind == LaunchOutcome::Kind::NotStarted)
        return QString::fromLatin1(kGameNotStarted) + program + QStringLiteral("\n\n")
            + outcome.output;
    // Debian's wine without its 32-bit part says so at once, goes on with its 64-bit part, which
    // may first spend many seconds on a fresh prefix, and ends with status 0.
    if (plan.needsWine32 && outcome.output.contains(QLatin1String(kWine32MissingReport)))
        return QString::fromLatin1(kNeedsWine32);
    if (outcome.kind == LaunchOutcome::Kind::Running || outcome.exitStatus == 0)
        return std::nullopt;
    const QString lines = lastLines(outcome.output);
    return QString::fromLatin1(kGameStoppedAtOnce).arg(QString::number(outcome.exitStatus), program)
        + (lines.isEmpty() ? QString() : QStringLiteral("\n\n") + lines);
}
