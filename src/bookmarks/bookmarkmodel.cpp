// SPDX-License-Identifier: GPL-3.0-or-later
#include "bookmarks/bookmarkmodel.h"

#include <algorithm>
#include <limits>

namespace {

// Once the texts are twice as many as those in use at the last count (and more than a few), the
// ones no row uses any more are dropped: servers that change their map at every answer must not
// make the list grow for as long as it is shown.
constexpr qsizetype kFewTexts = 256;

qint32 clamped(qint64 value)
{
    return qint32(std::clamp<qint64>(value, 0, std::numeric_limits<qint32>::max()));
}

} // namespace

BookmarkModel::BookmarkModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

void BookmarkModel::fill(QList<Bookmark> bookmarks)
{
    beginResetModel();
    m_rows = std::move(bookmarks);
    m_statuses = {};
    m_figures = {};
    m_texts = {QString()};
    m_textPlaces = {};
    m_textsInUse = 0;
    m_rowsByAddress = {};
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
    case roleId(BookmarkRole::Address):
        return m_rows.at(row).address;
    case roleId(BookmarkRole::Password):
        return m_rows.at(row).password;
    case roleId(BookmarkRole::Game):
        return int(m_rows.at(row).game);
    default:
        return statusData(row, role);
    }
}

bool BookmarkModel::hasStatus(int row) const
{
    return size_t(row) < m_statuses.size() && (m_statuses[size_t(row)].flags & RowStatus::Known);
}

QVariant BookmarkModel::statusData(int row, int role) const
{
    if (!hasStatus(row))
        return {};
    switch (role) {
    case roleId(BookmarkRole::Status):
        return QVariant::fromValue(status(row));
    case Qt::AccessibleDescriptionRole:
    case Qt::ToolTipRole:
        return words(row, role);
    case roleId(BookmarkRole::FriendCount):
        return int(m_statuses[size_t(row)].friends);
    default:
        return {};
    }
}

QString BookmarkModel::words(int row, int role) const
{
    const BookmarkStatus known = status(row);
    if (m_words)
        return m_words(m_rows.at(row), known, role);
    return role == Qt::ToolTipRole ? statusToolTip(known) : statusWords(known);
}

BookmarkStatus BookmarkModel::status(int row) const
{
    if (!hasStatus(row))
        return {};
    const RowStatus &kept = m_statuses[size_t(row)];
    BookmarkStatus status;
    status.state = BookmarkStatus::State(kept.state);
    status.problem = m_texts.at(kept.problem);
    if (status.state != BookmarkStatus::State::Answered)
        return status;
    const Figures &figures = m_figures[kept.figures - 1];
    BookmarkStatus::Server &server = status.server;
    server.players = figures.players;
    if (kept.flags & RowStatus::HasLimit)
        server.limit = figures.limit;
    server.pingMs = figures.pingMs;
    server.password = kept.flags & RowStatus::Password;
    server.full = kept.flags & RowStatus::Full;
    server.map = m_texts.at(figures.map);
    server.version = m_texts.at(figures.version);
    server.mod = m_texts.at(figures.mod);
    if (kept.flags & RowStatus::HasProtocol)
        server.protocol = figures.protocol;
    if (const int named = kept.flags >> RowStatus::kNamedGameShift)
        server.namedGame = GameId(named - 1);
    return status;
}

void BookmarkModel::setWords(Words words)
{
    m_words = std::move(words);
    wordsChanged();
}

void BookmarkModel::wordsChanged()
{
    if (!m_statuses.empty())
        emit dataChanged(
            index(0), index(rowCount() - 1),
            {roleId(BookmarkRole::Status), Qt::AccessibleDescriptionRole, Qt::ToolTipRole});
}

int BookmarkModel::rowOf(const QString &address) const
{
    const auto [first, last] = rowsWith(address);
    return first == last ? -1 : *first;
}

// Row numbers sorted by address, and by number among equal addresses: a long list's index costs
// four bytes a row.
const std::vector<int> &BookmarkModel::rowsByAddress() const
{
    if (m_rowsByAddress.empty() && !m_rows.isEmpty()) {
        m_rowsByAddress.resize(size_t(m_rows.size()));
        for (int row = 0; row < m_rows.size(); ++row)
            m_rowsByAddress[size_t(row)] = row;
        std::stable_sort(m_rowsByAddress.begin(), m_rowsByAddress.end(), [this](int a, int b) {
            return m_rows.at(a).address < m_rows.at(b).address;
        });
    }
    return m_rowsByAddress;
}

std::pair<std::vector<int>::const_iterator, std::vector<int>::const_iterator>
BookmarkModel::rowsWith(const QString &address) const
{
    const std::vector<int> &sorted = rowsByAddress();
    const auto first = std::lower_bound(
        sorted.cbegin(), sorted.cend(), address,
        [this](int row, const QString &wanted) { return m_rows.at(row).address < wanted; });
    const auto last = std::upper_bound(
        first, sorted.cend(), address,
        [this](const QString &wanted, int row) { return wanted < m_rows.at(row).address; });
    return {first, last};
}

void BookmarkModel::setStatus(const QString &address, const BookmarkStatus &status, int friendCount)
{
    const auto [first, last] = rowsWith(address);
    if (first == last)
        return;
    m_statuses.resize(size_t(m_rows.size()));
    const Figures figures = status.state == BookmarkStatus::State::Answered
        ? figuresOf(status.server)
        : Figures{};
    for (auto row = first; row != last; ++row) {
        keep(m_statuses[size_t(*row)], status, figures, friendCount);
        const QModelIndex changed = index(*row);
        emit dataChanged(changed, changed,
                         {roleId(BookmarkRole::Status), Qt::AccessibleDescriptionRole,
                          Qt::ToolTipRole, roleId(BookmarkRole::FriendCount)});
    }
    if (m_texts.size() > std::max(kFewTexts, 2 * m_textsInUse))
        forgetUnusedTexts();
}

void BookmarkModel::keep(RowStatus &kept, const BookmarkStatus &status, const Figures &figures,
                         int friendCount)
{
    const BookmarkStatus::Server &server = status.server;
    kept.state = quint8(status.state);
    kept.problem = placeOf(status.problem);
    kept.friends = quint16(std::clamp(friendCount, 0, int(std::numeric_limits<quint16>::max())));
    kept.flags = RowStatus::Known;
    if (status.state != BookmarkStatus::State::Answered)
        return;
    if (server.limit)
        kept.flags |= RowStatus::HasLimit;
    if (server.password)
        kept.flags |= RowStatus::Password;
    if (server.full)
        kept.flags |= RowStatus::Full;
    if (server.protocol)
        kept.flags |= RowStatus::HasProtocol;
    if (server.namedGame)
        kept.flags |= quint8((int(*server.namedGame) + 1) << RowStatus::kNamedGameShift);
    if (kept.figures == 0) {
        m_figures.push_back(figures);
        kept.figures = quint32(m_figures.size());
    } else {
        m_figures[kept.figures - 1] = figures;
    }
}

BookmarkModel::Figures BookmarkModel::figuresOf(const BookmarkStatus::Server &server)
{
    Figures figures;
    figures.limit = server.limit.value_or(0);
    figures.players = server.players;
    figures.pingMs = clamped(server.pingMs);
    figures.protocol = server.protocol.value_or(0);
    figures.map = placeOf(server.map);
    figures.version = placeOf(server.version);
    figures.mod = placeOf(server.mod);
    return figures;
}

quint32 BookmarkModel::placeOf(const QString &text)
{
    if (text.isEmpty())
        return 0;
    const auto known = m_textPlaces.constFind(text);
    if (known != m_textPlaces.cend())
        return *known;
    const auto place = quint32(m_texts.size());
    m_texts.append(text);
    m_textPlaces.insert(text, place);
    return place;
}

// The texts are made anew from the rows that have a status.
void BookmarkModel::forgetUnusedTexts()
{
    const QStringList texts = std::exchange(m_texts, {QString()});
    m_textPlaces = {};
    for (RowStatus &kept : m_statuses)
        kept.problem = placeOf(texts.at(kept.problem));
    for (Figures &figures : m_figures) {
        for (quint32 *text : {&figures.map, &figures.version, &figures.mod})
            *text = placeOf(texts.at(*text));
    }
    m_textsInUse = m_texts.size();
}
