// SPDX-License-Identifier: GPL-3.0-or-later
// A Pinger double: answers every echo with a scripted round trip after a scripted delay (or lets
// it go unanswered), and records the hosts.
#pragma once

#include "platform/pinger.h"

#include <QStringList>
#include <QTimer>

class FakePinger final : public Pinger
{
public:
    std::unique_ptr<EchoProbe> start(const QString &ipv4, std::chrono::milliseconds wait) override
    {
        hosts.append(ipv4);
        auto probe = std::make_unique<EchoProbe>();
        // An unanswered echo reports when its wait is over; an answer later than that is none.
        const bool answered = roundTrip && answerAfter <= wait;
        const std::optional<std::chrono::microseconds> outcome = answered ? roundTrip
                                                                          : std::nullopt;
        EchoProbe *reporter = probe.get();
        QTimer::singleShot(answered ? answerAfter : wait, Qt::PreciseTimer, reporter,
                           [reporter, outcome] { emit reporter->finished(outcome); });
        return probe;
    }

    std::optional<std::chrono::microseconds> roundTrip;
    std::chrono::milliseconds answerAfter{0};
    QStringList hosts;
};
