// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/joinlinkaction.h"

#include "app/windowcontrols.h"
#include "launch/joinlink.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

QAction *addCopyJoinLink(QAbstractItemView &view,
                         std::function<QString(const QModelIndex &)> addressOf)
{
    auto *copy = named(
        new QAction(QCoreApplication::translate("JoinLink", "Copy join link"), &view),
        "copyJoinLink");
    view.addAction(copy);
    view.setContextMenuPolicy(Qt::ActionsContextMenu);
    QObject::connect(copy, &QAction::triggered, &view, [&view, addressOf = std::move(addressOf)] {
        const QModelIndex current = view.currentIndex();
        if (current.isValid())
            QGuiApplication::clipboard()->setText(joinLinkOf(addressOf(current)));
    });
    return copy;
}
