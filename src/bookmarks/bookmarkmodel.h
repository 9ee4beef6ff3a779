// The bookmarks as one list model: every view of the saved servers shows this.
#pragma once

#include "bookmarks/bookmarksave.h"
#include "bookmarks/storedsection.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

// One row per bookmark, in the store's order: its name (the display text), address and password,
// and what is known of its server. The status is kept as it is given (the background refresh's
// value), with its words for tooltips and assistive technology; nothing here knows a window or a
// socket. The password is a role of its own that no view shows and assistive technology never
// reads.
class BookmarkModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BookmarkModel)

public:
    enum Role {
        StatusRole = Qt::UserRole + 1,
        AddressRole,
        PasswordRole,
    };

    explicit BookmarkModel(QObject *parent = nullptr);

    // Every bookmark section of the store, in one pass; the program's own section is no bookmark.
    // Statuses start unknown.
    void fill(const QList<StoredSection> &sections);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    Bookmark bookmark(int row) const;
    QList<Bookmark> bookmarks() const;
    QStringList addresses() const;

    // The status of every bookmark whose stored address is `address`.
    void setStatus(const QString &address, const QVariant &status, const QString &words,
                   const QString &toolTip);

private:
    struct Row
    {
        Bookmark bookmark;
        QVariant status;
        QString words;
        QString toolTip;
    };

    QList<Row> m_rows;
    QMultiHash<QString, int> m_rowsByAddress;
};
