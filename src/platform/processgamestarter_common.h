// SPDX-License-Identifier: GPL-3.0-or-later
// What starting the game is on every system: the watch of a start, and the system's own start.
#pragma once

#include "platform/gamestarter.h"

#include <QString>

#include <chrono>
#include <memory>

class QProcess;

namespace GameStart {

// A start that failed: it reports from the event loop, as every other outcome does.
std::unique_ptr<LaunchWatch> failedStart(const QString &why);
// Watches one start: `folder` is where the recorder writes (empty: nothing is recorded).
std::unique_ptr<LaunchWatch> recordedLaunch(const QString &folder, std::chrono::milliseconds watch);
// The system's own part: `game` has its folder and environment already.
std::unique_ptr<LaunchWatch> startWatched(QProcess &game, const ProcessStart &process,
                                          std::chrono::milliseconds watch);

} // namespace GameStart
