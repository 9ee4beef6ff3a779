// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/foundserverdelegate.h"

#include "app/bookmarkdelegate.h"
#include "app/friendmark.h"
#include "servers/serverlistmodel.h"

#include <QApplication>
#include <QFile>
#include <QPainter>

namespace {

// The size the flags were drawn at (src/app/CMakeLists.txt).
constexpr QSize kFlagSize(16, 12);

QIcon lockIcon(const QColor &ink)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawLock(painter, QRect(2, 2, 12, 12), ink);
    return QIcon(picture);
}

} // namespace

FoundServerDelegate::FoundServerDelegate(QObject *parent)
    : QStyledItemDelegate(parent),
      m_lock(lockIcon(Qt::darkGray))
{ }

void FoundServerDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    const int friends = index.column() == ServerListModel::Name
        ? index.data(roleId(FoundServerRole::FriendCount)).toInt()
        : 0;
    if (friends <= 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget *view = option.widget;
    QStyle *style = view ? view->style() : QApplication::style();
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
    // As far from the cell's end as the style keeps the text from its start.
    QRect mark = text.adjusted(0, 0, -style->pixelMetric(QStyle::PM_FocusFrameHMargin) - 1, 0);
    mark.setLeft(mark.right() - friendMarkWidth(item.fontMetrics));
    item.text = item.fontMetrics.elidedText(item.text, item.textElideMode,
                                            mark.left() - text.left()
                                                - item.fontMetrics.averageCharWidth());
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);
    painter->save();
    painter->setFont(item.font);
    drawFriendMark(*painter, mark, friends, itemInk(item));
    painter->restore();
}

void FoundServerDelegate::initStyleOption(QStyleOptionViewItem *option,
                                          const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() == ServerListModel::Name
        && index.data(roleId(FoundServerRole::Locked)).toBool()) {
        option->icon = m_lock;
        option->features |= QStyleOptionViewItem::HasDecoration;
    }
    // "LAN" too keeps a flag's room before it, so that the labels stand in one line.
    if (index.column() == ServerListModel::Country && !option->text.isEmpty()) {
        option->icon = flag(index.data(roleId(FoundServerRole::CountryCode)).toString());
        option->decorationSize = kFlagSize;
        option->features |= QStyleOptionViewItem::HasDecoration;
    }
    if (index.data(roleId(FoundServerRole::OtherVersion)).toBool()) {
        for (const auto role : {QPalette::Text, QPalette::HighlightedText})
            option->palette.setColor(role, option->palette.color(QPalette::Disabled, role));
    }
}

// The local network, and a code the table has but no flag was drawn for ("AP", a registry's
// region), get an empty icon, which draws nothing.
const QIcon &FoundServerDelegate::flag(const QString &code) const
{
    auto found = m_flags.constFind(code);
    if (found == m_flags.cend()) {
        const QString file = QStringLiteral(":/flags/%1.png").arg(code.toLower());
        found = m_flags.insert(code, QFile::exists(file) ? QIcon(file) : QIcon());
    }
    return *found;
}
