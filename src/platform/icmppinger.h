// SPDX-License-Identifier: GPL-3.0-or-later
// The ICMP echo on this machine's own sockets (or the system's echo service on Windows).
#pragma once

#include "platform/pinger.h"

class IcmpPinger final : public Pinger
{
public:
    IcmpPinger();

    std::unique_ptr<EchoProbe> start(const QString &ipv4, std::chrono::milliseconds wait) override;
};
