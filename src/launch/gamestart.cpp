// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/gamestart.h"

#include "platform/regularfile.h"
#include "query/games.h"

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

// The text after the program path split at blanks; the game joins its arguments again.
QStringList argumentList(const GameCommand &command)
{
    return command.arguments.split(u' ', Qt::SkipEmptyParts);
}

#ifdef Q_OS_WIN

// The game reads its command line as one text: it gets the text exactly as built. The list says
// the same for the log.
StartPlan planForPlatform(const GameCommand &command, ProcessStart process, const WineSettings &)
{
    process.program = command.program;
    process.nativeArguments = command.arguments;
    process.arguments = argumentList(command);
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
    if (!openRegularFile(file) || !isWindowsExecutable(file))
        return std::nullopt;
    return windowsMachine(file).value_or(0);
}

StartPlan planForPlatform(const GameCommand &command, ProcessStart process,
                          const WineSettings &wine)
{
    const QStringList arguments = argumentList(command);
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
        return {std::nullopt, joinMessage(kNoWine) + named};
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

namespace {

constexpr quint32 kResourceDirectory = 2; // its place among the optional header's directories
constexpr quint32 kVersionResource = 16;
constexpr quint32 kFixedFileInfoSignature = 0xFEEF04BD;
constexpr quint32 kSubdirectory = 0x80000000;

template<typename Number>
std::optional<Number> readAt(QIODevice &file, qint64 offset)
{
    if (offset < 0 || !file.seek(offset))
        return std::nullopt;
    const QByteArray bytes = file.read(sizeof(Number));
    if (bytes.size() != qsizetype(sizeof(Number)))
        return std::nullopt;
    return qFromLittleEndian<Number>(bytes.constData());
}

// The file offset of a relative virtual address, through the section that holds it.
std::optional<qint64> fileOffset(QIODevice &file, qint64 sections, int count, quint32 rva)
{
    for (int i = 0; i < count; ++i) {
        const qint64 header = sections + i * 40;
        const auto size = readAt<quint32>(file, header + 8);
        const auto address = readAt<quint32>(file, header + 12);
        const auto raw = readAt<quint32>(file, header + 20);
        if (size && address && raw && rva >= *address && rva - *address < *size)
            return qint64(*raw) + (rva - *address);
    }
    return std::nullopt;
}

// The entry of a resource directory with `id`, or its first entry when `id` is 0.
std::optional<quint32> resourceEntry(QIODevice &file, qint64 directory, quint32 id)
{
    const auto named = readAt<quint16>(file, directory + 12);
    const auto numbered = readAt<quint16>(file, directory + 14);
    if (!named || !numbered)
        return std::nullopt;
    for (int i = 0; i < *named + *numbered; ++i) {
        const auto name = readAt<quint32>(file, directory + 16 + i * 8);
        if (name && (id == 0 || *name == id))
            return readAt<quint32>(file, directory + 20 + i * 8);
    }
    return std::nullopt;
}

} // namespace

// Walks the resource tree: type RT_VERSION, its first name, its first language, then the data's
// VS_FIXEDFILEINFO, found by its signature near the start of the block.
std::optional<std::pair<int, int>> windowsFileVersion(QIODevice &file)
{
    const std::optional<qint64> signature = signatureOffset(file);
    if (!signature)
        return std::nullopt;
    const auto sectionCount = readAt<quint16>(file, *signature + 6);
    const auto optionalSize = readAt<quint16>(file, *signature + 20);
    const qint64 optional = *signature + 24;
    const auto magic = readAt<quint16>(file, optional);
    if (!sectionCount || !optionalSize || !magic)
        return std::nullopt;
    const qint64 directories = optional + (*magic == 0x20b ? 112 : 96);
    const auto resourceRva = readAt<quint32>(file, directories + kResourceDirectory * 8);
    const qint64 sections = optional + *optionalSize;
    const auto root = resourceRva ? fileOffset(file, sections, *sectionCount, *resourceRva)
                                  : std::nullopt;
    if (!root)
        return std::nullopt;
    std::optional<quint32> entry = resourceEntry(file, *root, kVersionResource);
    for (int level = 0; level < 2 && entry && (*entry & kSubdirectory); ++level)
        entry = resourceEntry(file, *root + (*entry & ~kSubdirectory), 0);
    if (!entry || (*entry & kSubdirectory))
        return std::nullopt;
    const auto dataRva = readAt<quint32>(file, *root + *entry);
    const auto data = dataRva ? fileOffset(file, sections, *sectionCount, *dataRva) : std::nullopt;
    for (qint64 at = data.value_or(-1); data && at < *data + 64; at += 4) {
        if (readAt<quint32>(file, at) == kFixedFileInfoSignature) {
            const auto major = readAt<quint32>(file, at + 8);
            if (!major)
                return std::nullopt;
            return std::pair(int(*major >> 16), int(*major & 0xffff));
        }
    }
    return std::nullopt;
}

StartPlan planGameStart(const GameCommand &command, QProcessEnvironment environment,
                        const WineSettings &wine)
{
    if (!QDir(command.workingDirectory).exists())
        return {std::nullopt, joinMessage(kNoGameFolder) + command.workingDirectory};
    ProcessStart process;
    process.workingDirectory = command.workingDirectory;
    process.environment = std::move(environment);
    return planForPlatform(command, std::move(process), wine);
}

std::optional<QString> startFailure(const StartPlan &plan, const LaunchOutcome &outcome)
{
    const QString program = plan.process ? plan.process->program : QString();
    if (outcome.kind == LaunchOutcome::Kind::NotStarted)
        return joinMessage(kGameNotStarted) + program + QStringLiteral("\n\n") + outcome.output;
    // Debian's wine without its 32-bit part says so at once, goes on with its 64-bit part, which
    // may first spend many seconds on a fresh prefix, and ends with status 0.
    if (plan.needsWine32 && outcome.output.contains(QLatin1String(kWine32MissingReport)))
        return joinMessage(kNeedsWine32);
    if (outcome.kind == LaunchOutcome::Kind::Running || outcome.exitStatus == 0)
        return std::nullopt;
    const QString lines = lastLines(outcome.output);
    return joinMessage(kGameStoppedAtOnce).arg(QString::number(outcome.exitStatus), program)
        + (lines.isEmpty() ? QString() : QStringLiteral("\n\n") + lines);
}

int chosenProtocol(const Game &game, std::optional<int> stored, const QString &gamePath)
{
    if (stored)
        return *stored;
    QFile program(gamePath);
    if (gamePath.isEmpty() || !openRegularFile(program))
        return game.defaultProtocol;
    const auto version = windowsFileVersion(program);
    if (!version)
        return game.defaultProtocol;
    return protocolNamed(game, QStringLiteral("%1.%2").arg(version->first).arg(version->second))
        .value_or(game.defaultProtocol);
}
