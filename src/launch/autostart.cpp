// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/autostart.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

#ifdef Q_OS_WIN
constexpr char kRunKey[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValue[] = "Brinemoor";
#endif

// The program as one quoted argument of an Exec line: the desktop entry's quoting escapes `"`,
// "`", `$` and `\`, its string values escape `\` again, and `%` starts a field code.
QString execArgument(const QString &program)
{
    QString quoted;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'\\', QLatin1String("\\\\")).replace(u'%', QLatin1String("%%"));
    return u'"' + quoted + u'"';
}

} // namespace

bool takeMinimizedOption(QStringList &arguments)
{
    return arguments.removeAll(QLatin1String(kMinimizedOption)) > 0;
}

QString autostartEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QLatin1String("/autostart/brinemoor.desktop");
}

QByteArray autostartEntry(const QString &program)
{
    const QString exec = execArgument(program) + u' ' + QLatin1String(kMinimizedOption);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Brinemoor\n"
                          "Icon=brinemoor\n"
                          "Exec=%1\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(exec)
        .toUtf8();
}

#ifdef Q_OS_WIN

bool startsWithDesktop()
{
    return QSettings(QString::fromLatin1(kRunKey), QSettings::NativeFormat)
        .contains(QString::fromLatin1(kRunValue));
}

bool setStartWithDesktop(bool start, const QString &program)
{
    QSettings run(QString::fromLatin1(kRunKey), QSettings::NativeFormat);
    if (start)
        run.setValue(QString::fromLatin1(kRunValue),
                     u'"' + QDir::toNativeSeparators(program) + QLatin1String("\" ")
                         + QLatin1String(kMinimizedOption));
    else
        run.remove(QString::fromLatin1(kRunValue));
    run.sync();
    return run.status() == QSettings::NoError && startsWithDesktop() == start;
}

#else

bool startsWithDesktop()
{
    return QFile::exists(autostartEntryPath());
}

bool setStartWithDesktop(bool start, const QString &program)
{
    const QString path = autostartEntryPath();
    if (!start)
        return !QFile::exists(path) || QFile::remove(path);
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(autostartEntry(program)) >= 0
        && file.commit();
}

#endif
