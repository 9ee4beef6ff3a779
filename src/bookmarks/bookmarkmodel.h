// SPDX-License-Identifier: GPL-3.0-or-later
// The bookmarks as one list model: every view of the saved servers shows this.
#pragma once

#include "bookmarks/bookmark.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

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
        FriendCountRole, // how many friends its server's last answer listed
    };

    explicit BookmarkModel(QObject *parent = nullptr);

    // The rows, in the store's order. Statuses start unknown.
    void fill(QList<Bookmark> bookmarks);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    Bookmark bookmark(int row) const { return m_rows.at(row); }
    QList<Bookmark> bookmarks() const { return m_rows; }
    void setAlert(int row, int alert) { m_rows[row].alert = alert; }
    QStringList addresses() const;
    // The first row whose stored address is `address`; -1 for none.
    int rowOf(const QString &address) const;

    // The status of every bookmark whose stored address is `address`.
    void setStatus(const QString &address, const QVariant &status, const QString &words,
                   const QString &toolTip, int friendCount = 0);

private:
    struct Status
    {
        QVariant value;
        QString words;
        QString toolTip;
        int friendCount = 0;
    };
    QVariant statusData(int row, int role) const;
    const QMultiHash<QString, int> &rowsByAddress() const;

    QList<Bookmark> m_rows;
    // Room for a status only once one is known: start-up shows the window before any is.
    std::vector<std::unique_ptr<Status>> m_statuses;
    mutable QMultiHash<QString, int> m_rowsByAddress; // made when the first status comes
};
