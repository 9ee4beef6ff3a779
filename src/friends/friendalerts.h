// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop notifications of friends coming to servers and of servers filling up, from status
// answers to the Notifier.
#pragma once

#include "friends/friendwatch.h"
#include "friends/playeralerts.h"

#include <QObject>

class Notifier;
class AppSettings;

inline constexpr char kJoinAction[] = QT_TRANSLATE_NOOP("FriendAlerts", "Join");

// Feeds the servers' answers to a FriendWatch and shows its notices at once, each with "Join"
// but the summing-up "and N more". With `notify` off the watch still follows who is where, so
// turning it on later tells only of friends who come after.
class FriendAlerts final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FriendAlerts)

public:
    explicit FriendAlerts(Notifier &notifier, QObject *parent = nullptr);

    // Takes the friends list and `notify` from the store.
    void readSettings(const AppSettings &settings);
    const FriendList &friends() const { return m_watch.friends(); }
    // The friends on a server at its last answer: what its row marks.
    QStringList friendsOn(const QString &address) const { return m_watch.friendsOn(address); }

    void serverAnswered(const QString &address, const QString &serverName,
                        const BookmarkStatus &status);
    // A bookmark's answer against the players its `alert` asks for (0: none).
    void playersCounted(const QString &address, const QString &serverName, int alert,
                        const BookmarkStatus &status);
    void refreshEnded();

signals:
    // "Join" on a notice: the server's address.
    void joinRequested(const QString &address);
    // The friends on a server at its last answer, found after the answer came (a long list of
    // patterns matches some players in later turns of the event loop).
    void friendsChanged(const QString &address);

private:
    struct Answer
    {
        QString serverName;
        BookmarkStatus status;
    };

    void show(const FriendNotice &notice);
    void answerAgain();
    void notifierFailed(const QString &reason);

    Notifier &m_notifier;
    FriendWatch m_watch;
    PlayerAlerts m_players;
    bool m_enabled = true;
    // The answers whose players were not all matched yet, and their order; the refresh's end
    // waits for them.
    QHash<QString, Answer> m_undecided;
    QStringList m_undecidedOrder;
    bool m_refreshEnding = false;
};
