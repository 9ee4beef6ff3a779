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

// Answers still waiting for the old list's matching are matched anew with this one.
void FriendAlerts::readSettings(const AppSettings &settings)
{
    m_watch.setFriends(FriendList(settings.friends()));
    m_watch.friends().whenDecided(this, [this] { answerAgain(); });
    m_enabled = settings.notifications();
    answerAgain();
}

void FriendAlerts::serverAnswered(const QString &address, const QString &serverName,
                                  const BookmarkStatus &status)
{
    const QList<FriendNotice> notices = m_watch.serverAnswered(address, serverName, status);
    for (const FriendNotice &notice : notices)
        show(notice);
    if (m_watch.friends().isDeciding()) {
        m_undecided.insert(address, {serverName, status});
        m_undecidedOrder.append(address);
    }
}

void FriendAlerts::refreshEnded()
{
    if (!m_undecided.isEmpty()) {
        m_refreshEnding = true;
        return;
    }
    if (const std::optional<FriendNotice> more = m_watch.refreshEnded())
        show(*more);
}

// The watch takes each answer again, now that its players are all matched: the friends found
// since are new to it, and told of as they would have been at once.
void FriendAlerts::answerAgain()
{
    const QHash<QString, Answer> answers = std::exchange(m_undecided, {});
    const QStringList order = std::exchange(m_undecidedOrder, {});
    QSet<QString> done;
    for (const QString &address : order) {
        if (done.contains(address))
            continue;
        done.insert(address);
        const Answer answer = answers.value(address);
        serverAnswered(address, answer.serverName, answer.status);
        emit friendsChanged(address);
    }
    if (m_undecided.isEmpty() && std::exchange(m_refreshEnding, false))
        refreshEnded();
}

void FriendAlerts::playersCounted(const QString &address, const QString &serverName, int alert,
                                  const BookmarkStatus &status)
{
    if (const std::optional<FriendNotice> notice = m_players.serverAnswered(address, serverName,
                                                                            alert, status))
        show(*notice);
}

void FriendAlerts::show(const FriendNotice &notice)
{
    if (!m_enabled)
        return;
    const QString action = notice.address.isEmpty() ? QString() : tr(kJoinAction);
    m_notifier.show({notice.summary, notice.body, action, notice.address});
}

void FriendAlerts::notifierFailed(const QString &reason)
{
    qCInfo(lcFriends).noquote() << "No desktop notification:" << reason;
}
