// SPDX-License-Identifier: GPL-3.0-or-later
// The game's versions and the protocol number each speaks, as masters and status replies name it.
#pragma once

#include <QList>
#include <QString>

#include <optional>

struct GameVersion
{
    const char *name; // "1.5"
    int protocol;     // 6
};

// 1.1 to 1.5; no version speaks protocol 3.
const QList<GameVersion> &gameVersions();
// What most servers run today, and so the choice when nothing else tells.
inline constexpr int kDefaultProtocol = 1;

// "1.5" for 6; nullopt for a number no version speaks.
std::optional<QString> versionOfProtocol(int protocol);
// The protocol a setting names: a protocol number ("6") or a version ("1.5"); nullopt otherwise.
std::optional<int> protocolNamed(const QString &text);
