// SPDX-License-Identifier: GPL-3.0-or-later
#include "friends/friendwatch.h"

#include <QCoreApplication>

namespace {

QString noticeText(const char *text, int count = -1)
{
    return QCoreApplication::translate("FriendWatch", text, nullptr, count);
}

} // namespace

QString noticeBody(const QString &serverName, const BookmarkStatus::Server &server)
{
    QString body = noticeText(kNoticeServer).arg(serverName, playersFigure(server));
    if (!server.map.isEmpty())
        body += QString::fromLatin1(kNoticeMap).arg(server.map);
    return body;
}

QList<FriendNotice> FriendWatch::serverAnswered(const QString &address, const QString &serverName,
                                                const BookmarkStatus &status)
{
    if (status.state != BookmarkStatus::State::Answered)
        return {};
    const Present before = m_present.take(address);
    Present present;
    QStringList arrived;
    bool everyoneArrived = false;
    for (const QString &player : status.server.playerNames) {
        if (m_friends.isEmpty())
            break;
        QString comparable = FriendList::comparable(player);
        const FriendList::Match match = m_friends.matchComparable(comparable);
        if (match == FriendList::Match::None)
            continue;
        const bool isNew = !before.comparable.contains(comparable);
        if (isNew && (match == FriendList::Match::Named || !std::exchange(everyoneArrived, true)))
            arrived.append(player);
        present.names.append(player);
        present.comparable.insert(std::move(comparable));
    }
    if (!present.names.isEmpty())
        m_present.insert(address, std::move(present));
    if (arrived.isEmpty())
        return {};
    return tell(arrived, address, noticeBody(serverName, status.server));
}

QList<FriendNotice> FriendWatch::tell(const QStringList &arrived, const QString &address,
                                      const QString &body)
{
    QList<FriendNotice> notices;
    for (const QString &player : arrived) {
        if (m_told == kNoticesPerRefresh) {
            ++m_heldBack;
            continue;
        }
        ++m_told;
        notices.append({noticeText(kNoticePlaying).arg(player), body, address});
    }
    return notices;
}

std::optional<FriendNotice> FriendWatch::refreshEnded()
{
    const int heldBack = std::exchange(m_heldBack, 0);
    m_told = 0;
    if (heldBack == 0)
        return std::nullopt;
    return FriendNotice{noticeText(kNoticeMore, heldBack), {}, {}};
}
