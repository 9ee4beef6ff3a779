// SPDX-License-Identifier: GPL-3.0-or-later
// What the join command makes of the last status exchange, read back from the status display.
#pragma once

#include <QString>

#include <optional>

enum class JoinVerdict { Joinable, Full, NotResponding };

// `playersCaption` reads "Players: <count>/<limit>", `pingCaption` "Ping: <value>". A server is
// full only when the last reply reported its limit (`maxClients`) and the count is at or above it,
// both read as the list's rows read them (`statusCount`, `isFull`); otherwise it is silent when
// the ping value is exactly "-" or "Timeout".
JoinVerdict judgeJoin(const QString &playersCaption, const QString &pingCaption,
                      const std::optional<QString> &maxClients);
