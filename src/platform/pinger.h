// One ICMP echo to a host, for the ping shown beside a server's status.
#pragma once

#include <QString>

#include <chrono>
#include <optional>

class Pinger
{
public:
    virtual ~Pinger() = default;
    // Sends one echo with an empty payload to a dotted IPv4 address and waits at most `wait`.
    // Returns the round trip, or nullopt when no echo reply came back (or none could be sent).
    virtual std::optional<std::chrono::microseconds> echo(const QString &ipv4,
                                                          std::chrono::milliseconds wait) = 0;
};
