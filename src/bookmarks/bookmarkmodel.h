// SPDX-License-Identifier: GPL-3.0-or-later
// The bookmarks as one list model: every view of the saved servers shows this.
#pragma once

#include "bookmarks/bookmark.h"
#include "query/bookmarkstatus.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

// Roles beyond Qt's own.
enum class BookmarkRole {
    Status = Qt::UserRole + 1, // a BookmarkStatus without the player names
    Address,                   // "host:port" as saved
    Password,                  // its text, empty for none
    FriendCount,               // how many friends its server's last answer listed
    Game,                      // GameId, as an int
};
constexpr int roleId(BookmarkRole role)
{
    return int(role);
}

// One row per bookmark, in the store's order: its name (the display text), address and password,
// and what is known of its server. A status is kept compact, as figures and flags (a long list
// holds thousands); its words, for tooltips and assistive technology, are made whenever a view
// asks. Nothing here knows a window or a socket. The password is a role of its own that no view
// shows and assistive technology never reads.
class BookmarkModel final : public QAbstractListModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BookmarkModel)

public:
    // A row's words for `role` (Qt::ToolTipRole or Qt::AccessibleDescriptionRole).
    using Words =
        std::function<QString(const Bookmark &bookmark, const BookmarkStatus &status, int role)>;

    explicit BookmarkModel(QObject *parent = nullptr);

    // The rows, in the store's order. Statuses start unknown.
    void fill(QList<Bookmark> bookmarks);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    Bookmark bookmark(int row) const { return m_rows.at(row); }
    QList<Bookmark> bookmarks() const { return m_rows; }
    void setAlert(int row, int alert) { m_rows[row].alert = alert; }
    // The first row whose stored address is `address`; -1 for none.
    int rowOf(const QString &address) const;

    // The status of every bookmark whose stored address is `address`. Player names are not kept.
    void setStatus(const QString &address, const BookmarkStatus &status, int friendCount = 0);
    // What is known of the row's server: Waiting while nothing is.
    BookmarkStatus status(int row) const;
    // How the rows read; without it, a status's own words (statusWords, statusToolTip).
    void setWords(Words words);
    // Tells the views that every row may read and look otherwise (another game version, say).
    void wordsChanged();

private:
    // A row's status in twelve bytes. The figures of a server that answered are kept apart, in
    // a place of the row's own in m_figures that every later answer takes again, and its texts
    // (the problem's words here, the map, version and mod there) as places in m_texts, which
    // every row with the same text shares.
    struct RowStatus
    {
        enum Flag : quint8 { Known = 1, Password = 2, Full = 4, HasLimit = 8, HasProtocol = 16 };
        // The upper three bits: 1 + the game the server's `gamename` named, 0 for none.
        static constexpr int kNamedGameShift = 5;

        quint32 figures = 0; // 1 + its place in m_figures; 0 for none yet
        quint32 problem = 0;
        quint16 friends = 0;
        quint8 state = 0;
        quint8 flags = 0;
    };
    struct Figures
    {
        qint64 limit = 0;
        qint32 players = 0;
        qint32 pingMs = 0;
        qint32 protocol = 0;
        quint32 map = 0;
        quint32 version = 0;
        quint32 mod = 0;
    };

    void keep(RowStatus &kept, const BookmarkStatus &status, const Figures &figures,
              int friendCount);
    Figures figuresOf(const BookmarkStatus::Server &server);
    quint32 placeOf(const QString &text);
    void forgetUnusedTexts();
    bool hasStatus(int row) const;
    QVariant statusData(int row, int role) const;
    QString words(int row, int role) const;
    const std::vector<int> &rowsByAddress() const;
    std::pair<std::vector<int>::const_iterator, std::vector<int>::const_iterator> rowsWith(
        const QString &address) const;

    QList<Bookmark> m_rows;
    // Room for the statuses only once one is known: start-up shows the window before any is.
    std::vector<RowStatus> m_statuses;
    std::vector<Figures> m_figures;
    QStringList m_texts{QString()}; // the first is "none"
    QHash<QString, quint32> m_textPlaces;
    qsizetype m_textsInUse = 0; // at the last count
    Words m_words;
    mutable std::vector<int> m_rowsByAddress; // sorted by address, made when the first status comes
};
