// SPDX-License-Identifier: GPL-3.0-or-later
// Waiting for a free slot on a full server: it is asked again and again until one frees.
#pragma once

#include "query/statussocket.h"

#include <QObject>

#include <chrono>

class QTimer;
class StatusExchange;
struct StatusReply;

struct SlotWaitBounds
{
    std::chrono::milliseconds interval{5000};     // between two questions to the server
    std::chrono::milliseconds limit{30 * 60'000}; // without a free slot, then the wait ends
};

// Asks the server for its status at once and then every `interval`, each time in an exchange of
// its own from any free local port and without an echo, so that it never meets the window's own
// exchange. Reports once: a free slot, or the limit reached. Silence and refusals only mean
// asking again.
class SlotWait final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SlotWait)

public:
    explicit SlotWait(SlotWaitBounds bounds, QObject *parent = nullptr);
    ~SlotWait() override;

    void start(const StatusTarget &server);
    // Ends the wait without a report; harmless when none runs.
    void stop();

signals:
    void slotFreed();
    void gaveUp();

private:
    void ask();
    void judge(const StatusReply &reply);

    StatusExchange *const m_exchange;
    QTimer *const m_interval;
    QTimer *const m_limit;
    StatusTarget m_server;
};
