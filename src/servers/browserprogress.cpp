// SPDX-License-Identifier: GPL-3.0-or-later
#include "servers/browserprogress.h"

#include <QCoreApplication>

using namespace std::chrono;

namespace {

QString words(const char *text, int count = -1)
{
    return QCoreApplication::translate("BrowserProgress", text, nullptr, count);
}

// The English text has a form for one and one for more; a translation has its language's forms in
// each of them.
QString counted(int count, const char *one, const char *many)
{
    return words(count == 1 ? one : many, count);
}

} // namespace

QString ageWords(seconds age)
{
    if (age < 1min)
        return words(QT_TRANSLATE_NOOP("BrowserProgress", "less than 1 min"));
    if (age < 2h)
        return words(QT_TRANSLATE_N_NOOP("BrowserProgress", "%n min"),
                     int(duration_cast<minutes>(age).count()));
    if (age < hours(48))
        return words(QT_TRANSLATE_N_NOOP("BrowserProgress", "%n h"),
                     int(duration_cast<hours>(age).count()));
    return words(QT_TRANSLATE_N_NOOP("BrowserProgress", "%n days"),
                 int(duration_cast<hours>(age).count() / 24));
}

QString progressWords(const BrowserProgress &progress)
{
    const QString source = progress.keptListAge
        ? words(QT_TRANSLATE_NOOP("BrowserProgress", "from the cache, %1 old"))
              .arg(ageWords(*progress.keptListAge))
        : counted(progress.mastersListed, QT_TRANSLATE_N_NOOP("BrowserProgress", "from %n master"),
                  QT_TRANSLATE_N_NOOP("BrowserProgress", "from %n masters"));
    const int lanServers = progress.lanServers.value_or(0);
    QString text = counted(progress.servers - lanServers,
                           QT_TRANSLATE_N_NOOP("BrowserProgress", "%n server"),
                           QT_TRANSLATE_N_NOOP("BrowserProgress", "%n servers"))
        + u' ' + source;
    if (progress.lanServers)
        text += words(QT_TRANSLATE_N_NOOP("BrowserProgress", ", %n on the LAN"), lanServers);
    text += words(QT_TRANSLATE_N_NOOP("BrowserProgress", ", %n answered"), progress.answered);
    for (const QString &failure : progress.failures)
        text += QStringLiteral("; ") + failure;
    return text;
}
