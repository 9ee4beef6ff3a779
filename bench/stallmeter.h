// SPDX-License-Identifier: GPL-3.0-or-later
// How long the event loop was held at most: the longest gap between two ticks of a 1 ms timer,
// over every run from start() to stop(). A gap is also the machine's: on a shared host a thread
// that only sleeps 1 ms at a time sees gaps of 15 ms and more. So the meter also reports the most
// CPU time the thread spent between two ticks, which is the program's part.
#pragma once

#include <benchmark/benchmark.h>

#include <QTimer>

#include <chrono>

class StallMeter
{
public:
    StallMeter();

    void start();
    void stop();
    // "longest_stall_ms" (the wall clock's gap) and "longest_busy_ms" (the thread's work in it).
    void addCounters(benchmark::State &state) const;

private:
    void tick();

    QTimer m_ticks;
    std::chrono::steady_clock::time_point m_last;
    std::chrono::nanoseconds m_lastBusy{};
    std::chrono::steady_clock::duration m_longest{};
    std::chrono::nanoseconds m_longestBusy{};
};

// The most CPU time the thread spent in one run from start() to stop(). Not beside a StallMeter
// that runs: its ticks cost CPU of their own.
class CpuMeter
{
public:
    void start();
    void stop();
    // "main_thread_cpu_s".
    void addCounters(benchmark::State &state) const;

private:
    std::chrono::nanoseconds m_started{};
    std::chrono::nanoseconds m_most{};
};
