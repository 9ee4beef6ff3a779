// SPDX-License-Identifier: GPL-3.0-or-later
// The echo where this program has no implementation for the system.
#include "platform/icmppinger.h"
#include "platform/icmppinger_common.h"

using std::chrono::milliseconds;

namespace {

// No echo implementation for this system yet: every echo goes unanswered.
class SystemEchoProbe final : public IcmpEcho::OnceProbe
{
public:
    SystemEchoProbe(std::optional<quint32>, milliseconds) { finishSoon(); }
};

} // namespace

IcmpPinger::IcmpPinger() = default;

std::unique_ptr<EchoProbe> IcmpPinger::start(const QString &ipv4, milliseconds wait)
{
    return std::make_unique<SystemEchoProbe>(IcmpEcho::dottedIpv4(ipv4), wait);
}
