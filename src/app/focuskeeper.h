// SPDX-License-Identifier: GPL-3.0-or-later
// Gives a window its keyboard focus back whenever it is enabled again.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Disabling a window (a query does) takes the keyboard focus away; once the window is enabled
// again, the control inside it that had the focus last gets it back.
class FocusKeeper final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FocusKeeper)

public:
    explicit FocusKeeper(QWidget *window);

    QWidget *lastFocus() const { return m_lastFocus; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void remember(QWidget *old, QWidget *now);

    QWidget *const m_window;
    QPointer<QWidget> m_lastFocus;
};
