#include "bookmarks/bookmarkmodel.h"

#include "bookmarks/settingsstore.h"

#include <algorithm>

BookmarkModel::BookmarkModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

// With thousands of bookmarks, one reset and rows made in place keep start-up short.
void BookmarkModel::fill(QList<StoredSection> sections)
{
    beginResetModel();
    m_rows.clear();
    m_rowsByAddress.clear();
    m_rows.reserve(size_t(sections.size()));
    const QString addressKey = QString::fromLatin1(kAddressKey);
    const QString passwordKey = QString::fromLatin1(kPasswordKey);
    for (StoredSection &section : sections) {
        if (section.name != QLatin1String(kSettingsSection))
            m_rows.push_back(
                {{std::move(section.name), section.value(addressKey), section.value(passwordKey)},
                 {}});
        section.values = {};
    }
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
    const Row &row = m_rows.at(size_t(index.row()));
    switch (role) {
    case Qt::DisplayRole:
        return row.bookmark.name;
    case AddressRole:
        return row.bookmark.address;
    case PasswordRole:
        return row.bookmark.password;
    default:
        return statusData(row, role);
    }
}

QVariant BookmarkModel::statusData(const Row &row, int role) const
{
    if (!row.status)
        return {};
    switch (role) {
    case StatusRole:
        return row.status->value;
    case Qt::AccessibleDescriptionRole:
        return row.status->words;
    case Qt::ToolTipRole:
        return row.status->toolTip;
    case FriendCountRole:
        return row.status->friendCount;
    default:
        return {};
    }
}

Bookmark BookmarkModel::bookmark(int row) const
{
    return m_rows.at(size_t(row)).bookmark;
}

QList<Bookmark> BookmarkModel::bookmarks() const
{
    QList<Bookmark> listed;
    listed.reserve(qsizetype(m_rows.size()));
    for (const Row &row : m_rows)
        listed.append(row.bookmark);
    return listed;
}

QStringList BookmarkModel::addresses() const
{
    QStringList listed;
    listed.reserve(qsizetype(m_rows.size()));
    for (const Row &row : m_rows)
        listed.append(row.bookmark.address);
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
        m_rowsByAddress.reserve(qsizetype(m_rows.size()));
        for (size_t number = 0; number < m_rows.size(); ++number)
            m_rowsByAddress.insert(m_rows[number].bookmark.address, int(number));
    }
    return m_rowsByAddress;
}

void BookmarkModel::setStatus(const QString &address, const QVariant &status, const QString &words,
                              const QString &toolTip, int friendCount)
{
    const QList<int> rows = rowsByAddress().values(address);
    for (const int number : rows) {
        m_rows[size_t(number)].status.reset(new Status{status, words, toolTip, friendCount});
        const QModelIndex changed = index(number);
        emit dataChanged(
            changed, changed,
            {StatusRole, Qt::AccessibleDescriptionRole, Qt::ToolTipRole, FriendCountRole});
    }
}
