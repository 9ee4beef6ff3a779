// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary datagrams through the status reply parser, checking what the window relies on.
#include "query/statusreply.h"
#include "fuzzcheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

bool isDisplayable(const QString &text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray datagram = datagramMostlyWithHeader(data, size,
                                                         "\xff\xff\xff\xffstatusResponse\n");
    const auto reply = parseStatusReply(datagram);
    if (!reply)
        return 0;
    check(reply->playersBeforeMaxClients <= reply->players.size());
    check(std::all_of(reply->players.begin(), reply->players.end(), isDisplayable));
    for (const StatusVariable &variable : reply->variables)
        check(isDisplayable(variable.value) && !variable.key.contains(u'\\'));
    const bool listsMaxClients = std::any_of(
        reply->variables.begin(), reply->variables.end(),
        [](const StatusVariable &variable) { return variable.key == u"sv_maxclients"; });
    check(reply->maxClients.has_value() == listsMaxClients);
    return 0;
}
