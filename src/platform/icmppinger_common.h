// SPDX-License-Identifier: GPL-3.0-or-later
// What the echo is on every system: the address it goes to, and a probe that reports once.
#pragma once

#include "platform/pinger.h"

#include <QTimer>

#include <chrono>
#include <optional>

namespace IcmpEcho {

// The address of a dotted "a.b.c.d" text, in host byte order. It is read as the status query reads
// its host (a leading zero means octal there, as in the platform's inet_addr), so the echo goes to
// the host that is queried. Short forms, hexadecimal parts and host names are refused.
std::optional<quint32> dottedIpv4(const QString &text);

// Reports at most once; an echo that could not even be sent reports from the event loop, so that
// no caller meets the report inside start().
class OnceProbe : public EchoProbe
{
protected:
    void finish(std::optional<std::chrono::microseconds> roundTrip)
    {
        if (m_finished)
            return;
        m_finished = true;
        emit finished(roundTrip);
    }
    void finishSoon()
    {
        QTimer::singleShot(0, this, [this] { finish(std::nullopt); });
    }
    bool isFinished() const { return m_finished; }

private:
    bool m_finished = false;
};

} // namespace IcmpEcho
