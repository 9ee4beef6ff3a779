// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/recentmenu.h"

#include "settings/appsettings.h"

#include <QCoreApplication>
#include <QMenu>

QString recentServerWords(const RecentServer &server, const QDateTime &now)
{
    const qint64 minutes = std::max<qint64>(0, server.startedAt.secsTo(now) / 60);
    QString age;
    if (minutes < 1)
        age = QCoreApplication::translate("RecentServers", "just now");
    else if (minutes < 60)
        age = QCoreApplication::translate("RecentServers", "%1 min ago").arg(minutes);
    else if (minutes < 48 * 60)
        age = QCoreApplication::translate("RecentServers", "%1 h ago").arg(minutes / 60);
    else
        age = QCoreApplication::translate("RecentServers", "%1 days ago").arg(minutes / (24 * 60));
    return (server.name.isEmpty() ? server.address : server.name) + QStringLiteral(" \u2014 ")
        + age;
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
