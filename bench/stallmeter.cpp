#include "stallmeter.h"

#include <algorithm>

using namespace std::chrono;

StallMeter::StallMeter()
{
    m_ticks.setTimerType(Qt::PreciseTimer);
    m_ticks.setInterval(1ms);
    QObject::connect(&m_ticks, &QTimer::timeout, &m_ticks, [this] { tick(); });
}

void StallMeter::start()
{
    m_longest = {};
    m_last = steady_clock::now();
    m_ticks.start();
}

void StallMeter::stop()
{
    tick();
    m_ticks.stop();
}

milliseconds StallMeter::longest() const
{
    return duration_cast<milliseconds>(m_longest);
}

void StallMeter::tick()
{
    const auto now = steady_clock::now();
    m_longest = std::max(m_longest, now - m_last);
    m_last = now;
}
