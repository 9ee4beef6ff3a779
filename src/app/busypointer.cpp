// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/busypointer.h"

#include <QCursor>
#include <QGuiApplication>

BusyPointer::~BusyPointer()
{
    m_reasons.reset();
    show();
}

void BusyPointer::set(Reason reason, bool busy)
{
    m_reasons.set(size_t(reason), busy);
    show();
}

void BusyPointer::show()
{
    const bool busy = m_reasons.any();
    if (busy == m_shown)
        return;
    m_shown = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}
