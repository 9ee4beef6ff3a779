// SPDX-License-Identifier: GPL-3.0-or-later
// The join command as a flow of its own, apart from any window: what it checked, whether it asks
// for a status, the Retry loop after "Server full", the wait for a free slot, and the game's start
// watched through its first seconds.
#pragma once

#include "launch/gamecommand.h"
#include "launch/gamestart.h"
#include "launch/joinverdict.h"
#include "launch/slotwait.h"
#include "platform/dialogs.h"

#include <QObject>
#include <QString>

#include <optional>

struct Services;

// The window's last status exchange and selection, as a join judges them.
struct JoinStatus
{
    QString verdict;  // `result`: the last address check, "ok" or the message
    QString bookmark; // the selected bookmark's name; empty: none
    bool pending = false;
    bool ready = false; // ServerReady: the last exchange has ended
    // The players counted and whether a round trip is shown, as the exchanges left them: Save,
    // which "Update Server Name?" may run while a join waits, empties the labels, not these.
    qint64 players = 0;
    bool answered = false;
    std::optional<QString> maxClients;
    QString unsentAddress; // the last query of this address could not be sent
};

// What the game is started with, read when it is needed.
struct LaunchSettings
{
    QString gamePath;
    QString commandLine; // the program's own: "/debug" starts nothing
    WineSettings wine;
};

// What a join asks of the window it runs in.
class JoinSite
{
public:
    virtual ~JoinSite() = default;

    // Normalises and checks the address field (the verdict goes to `result`) and takes the address,
    // password and in-game name as the game is to get them.
    virtual JoinTarget checkTarget() = 0;
    // The window's own status query of `address`, judged by `verdict` first.
    virtual void queryStatus(const QString &address, const QString &verdict) = 0;
    virtual JoinStatus status() const = 0;
    // The window takes no input while a join waits for the status.
    virtual void holdInput(bool held) = 0;
    // The game the fields' server runs: a bookmark's, or the one the browser listed it for.
    virtual GameId fieldsGame() const = 0;
    virtual LaunchSettings launchSettings(GameId game) const = 0;
    // Asks for the program of a game other than Call of Duty (whose path start-up asks for) and
    // keeps it; false when none was chosen.
    virtual bool chooseGamePath(GameId game) = 0;
    // The wait for a free slot on `server` (a bookmark's name or an address) began; empty: it
    // ended.
    virtual void showSlotWait(const QString &server) = 0;
    // Whether any start is still watched through its first seconds.
    virtual void showGamesStarting(bool starting) = 0;
    // The game was started for `target`.
    virtual void gameStarted(const JoinTarget &target) = 0;
};

class JoinFlow final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JoinFlow)

public:
    JoinFlow(Services &services, JoinSite &site, SlotWaitBounds slotWait,
             QObject *parent = nullptr);

    // The join command: game path, address, the status (asked for when no bookmark's status is
    // there to judge), then the game, "Server full" or "Server not responding".
    void join();
    // Starts the game for `target`, or with "/debug" says it would have.
    void joinserver(const JoinTarget &target);

    // A join waits for the status meanwhile.
    bool isWaitingForStatus() const { return m_waitingForStatus; }
    // A click on the bookmark `name`: any other than the one waited for ends a wait for a slot.
    void bookmarkClicked(const QString &name);
    // Ends the wait for a free slot; harmless when none runs.
    void endSlotWait();

signals:
    // The window tells here every end of its status exchange.
    void exchangeEnded();

private:
    bool hasGame(GameId game);
    bool needsStatusQuery(const JoinTarget &target) const;
    std::optional<JoinVerdict> awaitVerdict();
    bool awaitStatus();
    bool retryWhenFull(const JoinTarget &target);
    void message(const QString &text, Dialogs::Icon icon);
    void startSlotWait(const JoinTarget &target);
    void slotFreed();
    void startGame(const JoinTarget &target, const StartPlan &plan);
    void gameStartWatched(const StartPlan &plan, const LaunchOutcome &outcome);

    Services &m_services;
    JoinSite &m_site;
    SlotWait *const m_slotWait;
    bool m_waitingForStatus = false;
    int m_gamesStarting = 0;                   // starts still watched through their first seconds
    std::optional<JoinTarget> m_waitingToJoin; // set while the wait for a slot lasts
    QString m_waitingOnBookmark;               // empty: the address was typed
};
