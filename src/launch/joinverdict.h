// SPDX-License-Identifier: GPL-3.0-or-later
// What the join command makes of the last status exchange, as the status display shows it.
#pragma once

#include <QString>

#include <optional>

enum class JoinVerdict { Joinable, Full, NotResponding };

// `players` is the count the display shows, `answered` whether it shows a round trip (not "-"
// or "Timeout"). A server is full only when the last reply reported its limit (`maxClients`) and
// the count is at or above it, the limit read as the list's rows read it (`statusCount`,
// `isFull`); otherwise it is silent unless it answered.
JoinVerdict judgeJoin(qint64 players, bool answered, const std::optional<QString> &maxClients);
