// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/focuskeeper.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

FocusKeeper::FocusKeeper(QWidget *window)
    : QObject(window),
      m_window(window)
{
    window->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &FocusKeeper::remember);
}

void FocusKeeper::remember(QWidget *, QWidget *now)
{
    if (now && m_window->isAncestorOf(now))
        m_lastFocus = now;
}

bool FocusKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::EnabledChange && m_window->isEnabled()
        && !m_window->focusWidget() && m_lastFocus)
        m_lastFocus->setFocus(Qt::OtherFocusReason);
    return QObject::eventFilter(watched, event);
}
