// SPDX-License-Identifier: GPL-3.0-or-later
// Which friends have come to which server: the notices a refresh of many servers gives.
#pragma once

#include "friends/friendlist.h"
#include "query/bookmarkstatus.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QString>

#include <optional>

// The texts of a notice.
inline constexpr char kNoticePlaying[] = QT_TRANSLATE_NOOP("FriendWatch", "%1 is playing");
inline constexpr char kNoticeServer[] = QT_TRANSLATE_NOOP("FriendWatch",
                                                          "%1 \u2014 %2 players"); // an em dash
inline constexpr char kNoticeMap[] = ", %1";
inline constexpr char kNoticeMore[] = QT_TRANSLATE_N_NOOP("FriendWatch", "and %n more");

struct FriendNotice
{
    QString summary;
    QString body;
    QString address; // the server to join from the notice; empty for "and N more"
};

// Remembers, server by server, the friends on it at its last answer. A friend is told of once
// per server until an answer no longer lists them; the first answer after start-up tells of
// everyone on it. Each refresh tells of kNoticesPerRefresh friends at most and sums up the rest
// when it ends; players named only by "*" are told of once per server and answer.
class FriendWatch final
{
public:
    static constexpr int kNoticesPerRefresh = 5;

    void setFriends(FriendList friends) { m_friends = std::move(friends); }
    const FriendList &friends() const { return m_friends; }

    // The notices for the friends new on the server at `address`, named `serverName` in them,
    // since its last answer. A server that did not answer tells nothing: its friends stay.
    QList<FriendNotice> serverAnswered(const QString &address, const QString &serverName,
                                       const BookmarkStatus &status);
    // "and N more" when this refresh held notices back; the count starts afresh.
    std::optional<FriendNotice> refreshEnded();
    // The friends on the server at its last answer, in its order: what its row marks.
    QStringList friendsOn(const QString &address) const { return m_present.value(address).names; }

private:
    // A server's friends, as named and as compared.
    struct Present
    {
        QStringList names;
        QSet<QString> comparable;
    };

    QList<FriendNotice> tell(const QStringList &arrived, const QString &address,
                             const QString &body);

    FriendList m_friends;
    QHash<QString, Present> m_present; // by address
    int m_told = 0;                    // in this refresh
    int m_heldBack = 0;
};

// The body of a notice: "NAME — 12/20 players, mp_harbor".
QString noticeBody(const QString &serverName, const BookmarkStatus::Server &server);
