// SPDX-License-Identifier: GPL-3.0-or-later
// How the server browser draws a row.
#pragma once

#include <QHash>
#include <QIcon>
#include <QStyledItemDelegate>

// Dims servers of another game version, puts a lock before the name of one with a password, and
// the friend mark at the name's end, which is cut short to make room for it; puts the country's
// flag before its code.
class FoundServerDelegate final : public QStyledItemDelegate
{
public:
    explicit FoundServerDelegate(QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    const QIcon &flag(const QString &code) const;

    const QIcon m_lock;
    mutable QHash<QString, QIcon> m_flags; // by country code, read once each
};
