// SPDX-License-Identifier: GPL-3.0-or-later
// "Copy join link" in the context menu of a list of servers.
#pragma once

#include <QString>

#include <functional>

class QAbstractItemView;
class QAction;
class QModelIndex;

// Puts the link of the current row's server on the clipboard, without its password;
// `addressOf` gives the "ip:port" of an index of the view's model.
QAction *addCopyJoinLink(QAbstractItemView &view,
                         std::function<QString(const QModelIndex &)> addressOf);
