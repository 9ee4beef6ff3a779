// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bookmarkdelegate.h"

#include "app/friendmark.h"
#include "bookmarks/bookmarkmodel.h"
#include "query/bookmarkstatus.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kFullMark(255, 80, 64);

// Two-digit players and limits, a four-digit ping.
BookmarkStatus::Server widestUsualFigures()
{
    BookmarkStatus::Server server;
    server.players = 88;
    server.limit = 88;
    server.pingMs = 9999;
    return server;
}

// The row's text area cut into the name and, right of it, columns that line up from row to row:
// the friends, the marks (lock, full), the players and the ping, each as wide as its widest usual
// figure.
struct Columns
{
    Columns(const QFontMetrics &metrics, const QRect &text)
    {
        const int gap = metrics.averageCharWidth();
        const int mark = metrics.ascent();
        ping = text;
        const BookmarkStatus::Server widest = widestUsualFigures();
        ping.setLeft(text.right() - metrics.horizontalAdvance(pingFigure(widest)));
        players = text;
        players.setRight(ping.left() - gap);
        players.setLeft(players.right() - metrics.horizontalAdvance(playersFigure(widest)));
        full = QRect(players.left() - gap - mark, text.top(), mark, text.height());
        lock = QRect(full.left() - gap / 2 - mark, text.top(), mark, text.height());
        status = text;
        status.setLeft(lock.left());
        friends = QRect(status.left() - gap / 2 - friendMarkWidth(metrics), text.top(),
                        friendMarkWidth(metrics), text.height());
        name = text;
        name.setRight(friends.left() - gap);
    }

    QRect name;
    QRect friends;
    QRect status; // the columns of the server's own figures together
    QRect lock;
    QRect full;
    QRect players;
    QRect ping;
};

void drawFullMark(QPainter &painter, const QRect &box)
{
    const qreal size = box.width() * 0.7;
    painter.setPen(Qt::NoPen);
    painter.setBrush(kFullMark);
    painter.drawEllipse(QPointF(box.center()) + QPointF(0.5, 0.5), size / 2, size / 2);
}

QColor between(const QColor &a, const QColor &b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

bool isSelected(const QStyleOptionViewItem &item)
{
    return item.state.testFlag(QStyle::State_Selected);
}

QPalette::ColorGroup colourGroup(const QStyleOptionViewItem &item)
{
    if (!item.state.testFlag(QStyle::State_Enabled))
        return QPalette::Disabled;
    return item.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
}

// The name, and for a game other than Call of Duty its short name dimmed at the column's end.
void drawName(QPainter &painter, const QStyleOptionViewItem &item, const QString &name,
              QRect column, GameId game, const QColor &dim)
{
    const QFontMetrics &metrics = item.fontMetrics;
    if (game != GameId::Cod) {
        const QString tag = QLatin1String(gameOf(game).shortName);
        const int width = metrics.horizontalAdvance(tag) + metrics.averageCharWidth();
        const QPen ink = painter.pen();
        painter.setPen(dim);
        painter.drawText(column, Qt::AlignRight | Qt::AlignVCenter, tag);
        painter.setPen(ink);
        column.setRight(column.right() - width);
    }
    painter.drawText(column, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(name, Qt::ElideRight, column.width()));
}

} // namespace

QColor itemInk(const QStyleOptionViewItem &item)
{
    return item.palette.color(colourGroup(item),
                              isSelected(item) ? QPalette::HighlightedText : QPalette::Text);
}

// A shackle over a body.
void drawLock(QPainter &painter, const QRect &box, const QColor &ink)
{
    const qreal size = box.width();
    const QRectF body(box.left(), box.center().y() - size * 0.1, size, size * 0.55);
    const qreal shackle = size * 0.6;
    QPainterPath path;
    path.moveTo(body.center().x() - shackle / 2, body.top());
    path.arcTo(
        QRectF(body.center().x() - shackle / 2, body.top() - shackle * 0.8, shackle, shackle * 1.2),
        180, -180);
    painter.setPen(QPen(ink, size / 7));
    painter.drawPath(path);
    painter.fillRect(body, ink);
}

BookmarkDelegate::BookmarkDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{ }

void BookmarkDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString name = item.text;
    item.text.clear();
    const QWidget *view = option.widget;
    QStyle *style = view ? view->style() : QApplication::style();
    // Background, selection and focus as the list draws them; the text follows.
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);

    const QColor ink = itemInk(item);
    const QColor dim = between(
        ink,
        item.palette.color(colourGroup(item),
                           isSelected(item) ? QPalette::Highlight : QPalette::Base));
    const Columns columns(item.fontMetrics,
                          style->subElementRect(QStyle::SE_ItemViewItemText, &item, view));
    const auto status = index.data(roleId(BookmarkRole::Status)).value<BookmarkStatus>();

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setFont(item.font);
    painter->setPen(ink);
    const auto game = GameId(index.data(roleId(BookmarkRole::Game)).toInt());
    drawName(*painter, item, name, columns.name, game, dim);
    if (status.state == BookmarkStatus::State::Answered) {
        const BookmarkStatus::Server &server = status.server;
        const std::optional<int> played = m_played.at(int(game));
        const bool otherVersion = played && runsOtherVersion(server, {game, *played});
        painter->setPen(otherVersion ? dim : ink);
        painter->drawText(columns.players, Qt::AlignRight | Qt::AlignVCenter,
                          playersFigure(server));
        painter->drawText(columns.ping, Qt::AlignRight | Qt::AlignVCenter, pingFigure(server));
        if (server.password)
            drawLock(*painter, columns.lock, otherVersion ? dim : ink);
        if (server.full)
            drawFullMark(*painter, columns.full);
    } else {
        painter->setPen(dim);
        painter->drawText(columns.status, Qt::AlignRight | Qt::AlignVCenter,
                          statusMark(status.state));
    }
    drawFriendMark(*painter, columns.friends, index.data(roleId(BookmarkRole::FriendCount)).toInt(),
                   ink);
    painter->restore();
}
