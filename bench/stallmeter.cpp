// SPDX-License-Identifier: GPL-3.0-or-later
#include "stallmeter.h"

#include <time.h>

#include <algorithm>

using namespace std::chrono;

namespace {

double inMilliseconds(nanoseconds span)
{
    return duration<double, std::milli>(span).count();
}

nanoseconds threadWork()
{
    timespec spent{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &spent);
    return seconds(spent.tv_sec) + nanoseconds(spent.tv_nsec);
}

} // namespace

StallMeter::StallMeter()
{
    m_ticks.setTimerType(Qt::PreciseTimer);
    m_ticks.setInterval(1ms);
    QObject::connect(&m_ticks, &QTimer::timeout, &m_ticks, [this] { tick(); });
}

void StallMeter::start()
{
    m_last = steady_clock::now();
    m_lastBusy = threadWork();
    m_ticks.start();
}

void StallMeter::stop()
{
    tick();
    m_ticks.stop();
}

void StallMeter::addCounters(benchmark::State &state) const
{
    state.counters["longest_stall_ms"] = inMilliseconds(m_longest);
    state.counters["longest_busy_ms"] = inMilliseconds(m_longestBusy);
}

void StallMeter::tick()
{
    const auto now = steady_clock::now();
    const nanoseconds busy = threadWork();
    m_longest = std::max(m_longest, now - m_last);
    m_longestBusy = std::max(m_longestBusy, busy - m_lastBusy);
    m_last = now;
    m_lastBusy = busy;
}

void CpuMeter::start()
{
    m_started = threadWork();
}

void CpuMeter::stop()
{
    m_most = std::max(m_most, threadWork() - m_started);
}

void CpuMeter::addCounters(benchmark::State &state) const
{
    state.counters["main_thread_cpu_s"] = duration<double>(m_most).count();
}
