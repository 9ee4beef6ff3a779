// SPDX-License-Identifier: GPL-3.0-or-later
// Which of the browser's servers are shown, and in which order.
#pragma once

#include "geo/country.h"

#include <QSortFilterProxyModel>

class ServerListModel;
struct FoundServer;

// The filter text matches name, map, type, mod, player names and the country (its code, its name
// in English and in the user's language, "LAN"), ignoring letter case and colour codes; the
// switches hide empty, full, locked and other-version servers, and those without a friend on them
// (as the list model finds them). Players and ping sort as numbers, countries by code.
class ServerFilter final : public QSortFilterProxyModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ServerFilter)

public:
    struct Switches
    {
        bool hideEmpty = false;
        bool hideFull = false;
        bool hideLocked = false;
        bool onlyMyVersion = false;
        bool friendsOnly = false;
    };

    explicit ServerFilter(ServerListModel &servers, QObject *parent = nullptr);

    void setText(const QString &text);
    void setSwitches(const Switches &switches);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    bool matchesText(const FoundServer &server) const;
    bool passesSwitches(const FoundServer &server) const;

    ServerListModel &m_servers;
    QString m_text;             // colour codes removed
    QList<Country> m_countries; // those the text names, found once rather than for every row
    Switches m_switches;
};
