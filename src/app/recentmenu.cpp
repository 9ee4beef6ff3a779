// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recentmenu.h"

#include "servers/browserprogress.h"
#include "settings/appsettings.h"

#include <QCoreApplication>
#include <QMenu>

QString recentServerWords(const RecentServer &server, const QDateTime &now)
{
    const std::chrono::seconds age(std::max<qint64>(0, server.startedAt.secsTo(now)));
    return QCoreApplication::translate("RecentServers", "%1 \u2014 %2 ago")
        .arg(server.name.isEmpty() ? server.address : server.name, ageWords(age));
}

QMenu *recentServersMenu(const AppSettings &settings,
                         std::function<void(const RecentServer &)> join, QWidget *parent)
{
    auto *menu = new QMenu(QCoreApplication::translate("RecentServers", "Recent servers"), parent);
    menu->setObjectName(QStringLiteral("recentServers"));
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, &settings, join = std::move(join)] {
        menu->clear();
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const QList<RecentServer> servers = settings.recentServers();
        for (const RecentServer &server : servers) {
            menu->addAction(recentServerWords(server, now), menu, [join, server] { join(server); });
        }
        if (servers.isEmpty())
            menu->addAction(QCoreApplication::translate("RecentServers", "(none yet)"))
                ->setEnabled(false);
    });
    return menu;
}
