// SPDX-License-Identifier: GPL-3.0-or-later
#include "servers/serverfilter.h"

#include "servers/serverlistmodel.h"

namespace {

QString withoutColourCodes(const QString &text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'^')
            ++i;
        else
            plain.append(text[i]);
    }
    return plain;
}

bool contains(const QString &haystack, const QString &needle)
{
    return haystack.contains(needle, Qt::CaseInsensitive);
}

// By code, or by name in English or in the user's language.
QList<Country> countriesNamed(const QString &text)
{
    QList<Country> named;
    for (const Country &country : Country::all()) {
        if (contains(QString(country.code()), text)
            || contains(QString::fromUtf8(country.englishName()), text)
            || contains(country.name(), text))
            named.append(country);
    }
    return named;
}

} // namespace

ServerFilter::ServerFilter(ServerListModel &servers, QObject *parent)
    : QSortFilterProxyModel(parent),
      m_servers(servers)
{
    setSourceModel(&servers);
    setSortRole(roleId(FoundServerRole::SortKey));
    setDynamicSortFilter(true);
}

void ServerFilter::setText(const QString &text)
{
    m_text = withoutColourCodes(text).trimmed();
    m_countries = m_text.isEmpty() ? QList<Country>() : countriesNamed(m_text);
    invalidateRowsFilter();
}

void ServerFilter::setSwitches(const Switches &switches)
{
    m_switches = switches;
    invalidateRowsFilter();
}

bool ServerFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    const FoundServer &server = m_servers.server(sourceRow);
    const bool friendsPass = !m_switches.friendsOnly
        || !m_servers.server(sourceRow).friends.isEmpty();
    return friendsPass && passesSwitches(server) && matchesText(server);
}

bool ServerFilter::matchesText(const FoundServer &server) const
{
    if (m_text.isEmpty())
        return true;
    const BookmarkStatus::Server &figures = server.status.server;
    if (contains(server.name, m_text) || contains(figures.map, m_text)
        || contains(server.type, m_text) || contains(figures.mod, m_text)
        || m_countries.contains(server.country()))
        return true;
    return std::any_of(server.players.begin(), server.players.end(),
                       [this](const FoundPlayer &player) { return contains(player.name, m_text); });
}

// A server that has not answered has no players and no version that we know of: "Hide empty",
// "Only my version" and "Friends only" hide it, the other two keep it.
bool ServerFilter::passesSwitches(const FoundServer &server) const
{
    if (server.status.state != BookmarkStatus::State::Answered)
        return !m_switches.onlyMyVersion && !m_switches.hideEmpty && !m_switches.friendsOnly;
    const BookmarkStatus::Server &figures = server.status.server;
    return !(m_switches.hideEmpty && figures.players == 0) && !(m_switches.hideFull && figures.full)
        && !(m_switches.hideLocked && figures.password)
        && !(m_switches.onlyMyVersion && runsOtherVersion(figures, m_servers.played()));
}

bool ServerFilter::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const QVariant a = left.data(roleId(FoundServerRole::SortKey));
    const QVariant b = right.data(roleId(FoundServerRole::SortKey));
    if (a.typeId() == QMetaType::QString)
        return QString::localeAwareCompare(a.toString(), b.toString()) < 0;
    return a.toLongLong() < b.toLongLong();
}
