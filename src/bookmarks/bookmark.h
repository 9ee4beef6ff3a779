// SPDX-License-Identifier: GPL-3.0-or-later
// One bookmark as the list shows it and the store keeps it.
#pragma once

#include <QString>

struct Bookmark
{
    QString name;
    QString address;
    QString password;
};
Q_DECLARE_TYPEINFO(Bookmark, Q_RELOCATABLE_TYPE);
