// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/gameversion.h"

const QList<GameVersion> &gameVersions()
{
    static const QList<GameVersion> versions{
        {"1.1", 1}, {"1.2", 2}, {"1.3", 4}, {"1.4", 5}, {"1.5", 6}};
    return versions;
}

std::optional<QString> versionOfProtocol(int protocol)
{
    for (const GameVersion &version : gameVersions()) {
        if (version.protocol == protocol)
            return QString::fromLatin1(version.name);
    }
    return std::nullopt;
}

std::optional<int> protocolNamed(const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const GameVersion &version : gameVersions()) {
        if (trimmed == QLatin1String(version.name) || trimmed == QString::number(version.protocol))
            return version.protocol;
    }
    return std::nullopt;
}
