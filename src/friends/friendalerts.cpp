// SPDX-License-Identifier: GPL-3.0-or-later
#include "friends/friendalerts.h"

#include "friends/friendslog.h"
#include "platform/notifier.h"
#include "settings/appsettings.h"

FriendAlerts::FriendAlerts(Notifier &notifier, QObject *parent)
    : QObject(parent),
      m_notifier(notifier)
{
    connect(&m_notifier, &Notifier::actionInvoked, this, &FriendAlerts::joinRequested);
    connect(&m_notifier, &Notifier::failed, this, &FriendAlerts::notifierFailed);
}

void FriendAlerts::readSettings(const AppSettings &settings)
{
    m_watch.setFriends(FriendList(settings.friends()));
    m_enabled = settings.notifications();
}

void FriendAlerts::serverAnswered(const QString &address, const QString &serverName,
                                  const BookmarkStatus &status)
{
    const QList<FriendNotice> notices = m_watch.serverAnswered(address, serverName, status);
    for (const FriendNotice &notice : notices)
        show(notice);
}

void FriendAlerts::refreshEnded()
{
    if (const std::optional<FriendNotice> more = m_watch.refreshEnded())
        show(*more);
}

void FriendAlerts::show(const FriendNotice &notice)
{
    if (!m_enabled)
        return;
    const QString action = notice.address.isEmpty() ? QString() : QString::fromLatin1(kJoinAction);
    m_notifier.show({notice.summary, notice.body, action, notice.address});
}

void FriendAlerts::notifierFailed(const QString &reason)
{
    qCInfo(lcFriends).noquote() << "No desktop notification:" << reason;
}
