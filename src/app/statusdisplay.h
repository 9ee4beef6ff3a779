// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window shows of one server's status.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QListWidget;
struct StatusReply;

// The captions of the "[ Server Options ]" frame and the player list. The players counted and
// whether a round trip is shown are also kept as the status exchanges left them: the join judges
// those, and clearing the display (New, and Save, which "Update Server Name?" may run while a
// join waits) leaves them.
class StatusDisplay final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusDisplay)

public:
    struct Labels
    {
        QLabel *players;
        QLabel *ping;
        QLabel *reserved;
        QLabel *map;
        QLabel *type;
    };

    StatusDisplay(Labels labels, QListWidget &playerList, QObject *parent);

    // Every caption at its start, no players.
    void clear();
    // A query starts: no players, and the players and ping captions say so.
    void queryStarted();
    void showReply(const StatusReply &reply);
    // "Ping: 47"
    void showRoundTrip(const QString &caption);
    void showTimeout();

    qint64 shownPlayers() const { return m_players; }
    bool shownRoundTrip() const { return m_roundTrip; }

private:
    void showPing(const QString &caption, bool roundTrip);

    const Labels m_labels;
    QListWidget &m_playerList;
    qint64 m_players = 0;
    bool m_roundTrip = false;
};
