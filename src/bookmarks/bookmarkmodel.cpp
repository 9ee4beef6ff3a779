#include "bookmarks/bookmarkmodel.h"

#include "bookmarks/settingsstore.h"

BookmarkModel::BookmarkModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

// With thousands of bookmarks, one reset and rows made in place keep start-up short.
void BookmarkModel::fill(const QList<StoredSection> &sections)
{
    beginResetModel();
    m_rows.clear();
    m_rowsByAddress.clear();
    m_rows.reserve(sections.size());
    m_rowsByAddress.reserve(sections.size());
    const QString addressKey = QString::fromLatin1(kAddressKey);
    const QString passwordKey = QString::fromLatin1(kPasswordKey);
    for (const StoredSection &section : sections) {
        if (section.name == QLatin1String(kSettingsSection))
            continue;
        Row &row = m_rows.emplace_back();
        row.bookmark = {section.name, section.value(addressKey), section.value(passwordKey)};
        m_rowsByAddress.insert(row.bookmark.address, int(m_rows.size() - 1));
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
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return row.bookmark.name;
    case AddressRole:
        return row.bookmark.address;
    case PasswordRole:
        return row.bookmark.password;
    case StatusRole:
        return row.status;
    case Qt::AccessibleDescriptionRole:
        return row.words;
    case Qt::ToolTipRole:
        return row.toolTip;
    default:
        return {};
    }
}

Bookmark BookmarkModel::bookmark(int row) const
{
    return m_rows.at(row).bookmark;
}

QList<Bookmark> BookmarkModel::bookmarks() const
{
    QList<Bookmark> listed;
    listed.reserve(m_rows.size());
    for (const Row &row : m_rows)
        listed.append(row.bookmark);
    return listed;
}

QStringList BookmarkModel::addresses() const
{
    QStringList listed;
    listed.reserve(m_rows.size());
    for (const Row &row : m_rows)
        listed.append(row.bookmark.address);
    return listed;
}

void BookmarkModel::setStatus(const QString &address, const QVariant &status, const QString &words,
                              const QString &toolTip)
{
    const QList<int> rows = m_rowsByAddress.values(address);
    for (const int number : rows) {
        Row &row = m_rows[number];
        row.status = status;
        row.words = words;
        row.toolTip = toolTip;
        const QModelIndex changed = index(number);
        emit dataChanged(changed, changed,
                         {StatusRole, Qt::AccessibleDescriptionRole, Qt::ToolTipRole});
    }
}
