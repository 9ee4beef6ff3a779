// SPDX-License-Identifier: GPL-3.0-or-later
// How long the store waits for others: one value, given to a store as it is made.
#pragma once

#include <chrono>

struct StoreTiming
{
    // How long a write waits for a file that someone is writing just now, and how long a file that
    // does not end a line must stay unchanged before it counts as finished (an editor that leaves
    // no line break at the end, or a store emptied by hand) rather than as cut off mid-write. A
    // file written longer ago than this is told from a later version by its size and time alone.
    std::chrono::milliseconds settle{2000};
    // Another copy holds the lock only while it writes a few kilobytes.
    std::chrono::milliseconds lockWait{2000};
    // QSettings creates its lock file and then writes its owner into it, within microseconds: an
    // empty one older than this was left by a crash.
    std::chrono::milliseconds leftoverLockAge{1000};
};
