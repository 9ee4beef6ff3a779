// SPDX-License-Identifier: GPL-3.0-or-later
// The friend mark of a server's row: a small figure of a person and how many friends are on it.
#pragma once

#include <QColor>
#include <QRect>

class QFontMetrics;
class QPainter;

// The width the mark takes beside a row's figures, for up to two-digit counts.
int friendMarkWidth(const QFontMetrics &metrics);
// Draws the mark right-aligned in `box`, in `ink`; nothing for no friends.
void drawFriendMark(QPainter &painter, const QRect &box, int friends, const QColor &ink);
