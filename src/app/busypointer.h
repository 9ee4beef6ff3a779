// SPDX-License-Identifier: GPL-3.0-or-later
// The application's busy pointer, on while any of the window's reasons for it holds.
#pragma once

#include <bitset>

// Sets and restores the override cursor exactly once for each stretch of being busy, whichever
// reasons come and go meanwhile; gone with this object, the pointer is normal again.
class BusyPointer final
{
public:
    enum class Reason { Window, GameStarting }; // start-up or a status exchange; a watched start

    BusyPointer() = default;
    ~BusyPointer();
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

    void set(Reason reason, bool busy);

private:
    void show();

    std::bitset<2> m_reasons;
    bool m_shown = false;
};
