// SPDX-License-Identifier: GPL-3.0-or-later
#include "bookmarks/bookmarkmodel.h"

#include <algorithm>

BookmarkModel::BookmarkModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

void BookmarkModel::fill(QList<Bookmark> bookmarks)
{
    beginResetModel();
    m_rows = std::move(bookmarks);
    m_statuses.clear();
    m_rowsByAddress.clear();
    endResetModel();
}

int BookmarkModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant BookmarkModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return m_rows.at(row).name;
    case AddressRole:
        return m_rows.at(row).address;
    case PasswordRole:
        return m_rows.at(row).password;
    default:
        return statusData(row, role);
    }
}

QVariant BookmarkModel::statusData(int row, int role) const
{
    const Status *status = size_t(row) < m_statuses.size() ? m_statuses[size_t(row)].get()
                                                           : nullptr;
    if (!status)
        return {};
    switch (role) {
    case StatusRole:
        return status->value;
    case Qt::AccessibleDescriptionRole:
        return status->words;
    case Qt::ToolTipRole:
        return status->toolTip;
    case FriendCountRole:
        return status->friendCount;
    default:
        return {};
    }
}

QStringList BookmarkModel::addresses() const
{
    QStringList listed;
    listed.reserve(m_rows.size());
    for (const Bookmark &bookmark : m_rows)
        listed.append(bookmark.address);
    return listed;
}

int BookmarkModel::rowOf(const QString &address) const
{
    const QList<int> rows = rowsByAddress().values(address);
    return rows.isEmpty() ? -1 : *std::min_element(rows.cbegin(), rows.cend());
}

const QMultiHash<QString, int> &BookmarkModel::rowsByAddress() const
{
    if (m_rowsByAddress.isEmpty()) {
        m_rowsByAddress.reserve(m_rows.size());
        for (int row = 0; row < m_rows.size(); ++row)
            m_rowsByAddress.insert(m_rows.at(row).address, row);
    }
    return m_rowsByAddress;
}

void BookmarkModel::setStatus(const QString &address, const QVariant &status, const QString &words,
                              const QString &toolTip, int friendCount)
{
    const QList<int> rows = rowsByAddress().values(address);
    if (!rows.isEmpty())
        m_statuses.resize(size_t(m_rows.size()));
    for (const int number : rows) {
        m_statuses[size_t(number)].reset(new Status{status, words, toolTip, friendCount});
        const QModelIndex changed = index(number);
        emit dataChanged(
            changed, changed,
            {StatusRole, Qt::AccessibleDescriptionRole, Qt::ToolTipRole, FriendCountRole});
    }
}
