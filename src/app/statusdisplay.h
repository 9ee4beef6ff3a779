// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window shows of one server's status.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QListWidget;
struct StatusReply;

// The captions of the "[ Server Options ]" frame and the player list. The players and ping
// captions are also kept as the status exchanges wrote them: the join judges those, and clearing
// the display (New, and Save, which "Update Server Name?" may run while a join waits) leaves them.
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
    void showPing(const QString &caption);

    const QString &playersCaption() const { return m_playersCaption; }
    const QString &pingCaption() const { return m_pingCaption; }

private:
    void showPlayers(const QString &caption);

    const Labels m_labels;
    QListWidget &m_playerList;
    QString m_playersCaption;
    QString m_pingCaption;
};
