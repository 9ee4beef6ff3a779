// How long the event loop was held at most: the longest gap between two ticks of a 1 ms timer.
#pragma once

#include <QTimer>

#include <chrono>

class StallMeter
{
public:
    StallMeter();

    void start();
    void stop();
    std::chrono::milliseconds longest() const;

private:
    void tick();

    QTimer m_ticks;
    std::chrono::steady_clock::time_point m_last;
    std::chrono::steady_clock::duration m_longest{};
};
