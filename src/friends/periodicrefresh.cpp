// SPDX-License-Identifier: GPL-3.0-or-later
#include "friends/periodicrefresh.h"

PeriodicRefresh::PeriodicRefresh(QObject *parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &PeriodicRefresh::due);
}

void PeriodicRefresh::setPeriod(std::optional<std::chrono::milliseconds> period)
{
    if (!period) {
        m_timer.stop();
        return;
    }
    m_timer.start(*period);
}

void PeriodicRefresh::refreshed()
{
    if (m_timer.isActive())
        m_timer.start();
}
