// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/friendmark.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace {

const QString kWidestCount = QStringLiteral("88");

// A head over the shoulders, as tall as the font's ascent.
void drawPerson(QPainter &painter, const QRectF &box, const QColor &ink)
{
    const qreal size = box.height();
    const qreal head = size * 0.42;
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(QRectF(box.center().x() - head / 2, box.top(), head, head));
    QPainterPath shoulders;
    const QRectF body(box.center().x() - size * 0.4, box.top() + head * 1.05, size * 0.8,
                      size * 0.9);
    shoulders.moveTo(body.left(), box.bottom());
    shoulders.arcTo(body, 180, -180);
    shoulders.closeSubpath();
    painter.drawPath(shoulders);
}

} // namespace

int friendMarkWidth(const QFontMetrics &metrics)
{
    return metrics.ascent() + metrics.averageCharWidth() / 2
        + metrics.horizontalAdvance(kWidestCount);
}

void drawFriendMark(QPainter &painter, const QRect &box, int friends, const QColor &ink)
{
    if (friends <= 0)
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    const QString count = QString::number(friends);
    const int countWidth = metrics.horizontalAdvance(count);
    const int figure = metrics.ascent();
    const QRectF person(box.right() - countWidth - metrics.averageCharWidth() / 2 - figure,
                        box.center().y() - figure / 2.0, figure, figure);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawPerson(painter, person, ink);
    painter.setPen(ink);
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, count);
    painter.restore();
}
