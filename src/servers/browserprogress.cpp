// SPDX-License-Identifier: GPL-3.0-or-later
#include "servers/browserprogress.h"

using namespace std::chrono;

namespace {

QString counted(int count, const char *one, const char *many)
{
    return QString::number(count) + u' ' + QString::fromLatin1(count == 1 ? one : many);
}

QString ageWords(seconds age)
{
    if (age < 1min)
        return QStringLiteral("less than 1 min");
    if (age < 2h)
        return QStringLiteral("%1 min").arg(duration_cast<minutes>(age).count());
    if (age < hours(48))
        return QStringLiteral("%1 h").arg(duration_cast<hours>(age).count());
    return QStringLiteral("%1 days").arg(duration_cast<hours>(age).count() / 24);
}

} // namespace

QString progressWords(const BrowserProgress &progress)
{
    const QString source = progress.keptListAge
        ? QStringLiteral("from the cache, %1 old").arg(ageWords(*progress.keptListAge))
        : QStringLiteral("from ") + counted(progress.mastersListed, "master", "masters");
    QString text = counted(progress.servers, "server", "servers") + u' ' + source
        + QStringLiteral(", %1 answered").arg(progress.answered);
    for (const QString &failure : progress.failures)
        text += QStringLiteral("; ") + failure;
    return text;
}
