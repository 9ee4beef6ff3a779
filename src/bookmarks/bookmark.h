// SPDX-License-Identifier: GPL-3.0-or-later
// One bookmark as the list shows it and the store keeps it.
#pragma once

#include "query/games.h"

#include <QString>

struct Bookmark
{
    QString name;
    QString address;
    QString password;
    int alert = 0;             // `alert`: the players that make a notice; 0 for none
    GameId game = GameId::Cod; // `game`: written for the other games alone
};
Q_DECLARE_TYPEINFO(Bookmark, Q_RELOCATABLE_TYPE);
