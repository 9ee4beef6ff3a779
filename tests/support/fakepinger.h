// A Pinger double: answers every echo with a scripted round trip (or none) and records the hosts.
#pragma once

#include "platform/pinger.h"

#include <QStringList>

class FakePinger final : public Pinger
{
public:
    std::optional<std::chrono::microseconds> echo(const QString &ipv4,
                                                  std::chrono::milliseconds) override
    {
        hosts.append(ipv4);
        return roundTrip;
    }

    std::optional<std::chrono::microseconds> roundTrip;
    QStringList hosts;
};
