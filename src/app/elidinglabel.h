// SPDX-License-Identifier: GPL-3.0-or-later
// A status label that stays within its room.
#pragma once

#include <QLabel>

// Draws a text wider than the label cut short with "…", and then offers the whole text as its
// tooltip. text(), and what assistive technology reads, stay the whole text.
class ElidingLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ElidingLabel)

public:
    using QLabel::QLabel;

    bool isElided() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
