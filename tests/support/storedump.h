// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a settings file back through a second process (see storedump.cpp).
#pragma once

#include <QJsonArray>
#include <QString>

// One object per section in the store's order: name, ip, password, codpath, friends.
QJsonArray dumpStore(const QString &settingsPath);
