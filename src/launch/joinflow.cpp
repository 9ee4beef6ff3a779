// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/joinflow.h"

#include "address/addressrules.h"
#include "launch/joinmessages.h"
#include "launch/launchlog.h"
#include "platform/dialogs.h"
#include "platform/gamestarter.h"
#include "platform/services.h"

#include <QEventLoop>
#include <QFileInfo>

JoinFlow::JoinFlow(Services &services, JoinSite &site, SlotWaitBounds slotWait, QObject *parent)
    : QObject(parent),
      m_services(services),
      m_site(site),
      m_slotWait(new SlotWait(slotWait, this))
{
    m_slotWait->setObjectName(QStringLiteral("slotWait"));
    connect(m_slotWait, &SlotWait::slotFreed, this, &JoinFlow::slotFreed);
    connect(m_slotWait, &SlotWait::gaveUp, this, &JoinFlow::endSlotWait);
}

// Retry asks the server again and judges anew, as often as the user wants; with the check box
// ticked it leaves the window to the user and waits for a free slot instead.
void JoinFlow::join()
{
    endSlotWait();
    if (!hasGame(m_site.fieldsGame()))
        return;
    // The game gets what is checked here, also when "Update Server Name?" comes up during the wait
    // and its Save empties the fields.
    const JoinTarget target = m_site.checkTarget();
    if (needsStatusQuery(target))
        m_site.queryStatus(target.address, m_site.status().verdict);
    for (;;) {
        const std::optional<JoinVerdict> verdict = awaitVerdict();
        if (!verdict)
            return;
        switch (*verdict) {
        case JoinVerdict::Joinable:
            joinserver(target);
            return;
        case JoinVerdict::NotResponding:
            message(joinMessage(kServerNotResponding), Dialogs::Icon::Critical);
            return;
        case JoinVerdict::Full:
            break;
        }
        if (!retryWhenFull(target))
            return;
        // The address passed its check when the join began, whatever the window's verdict is now.
        m_site.queryStatus(target.address, QString::fromLatin1(kAddressOk));
    }
}

bool JoinFlow::hasGame(GameId game)
{
    const QString gamePath = m_site.launchSettings(game).gamePath;
    if (!gamePath.isEmpty() && QFileInfo(gamePath).isFile())
        return true;
    if (game != GameId::Cod)
        return m_site.chooseGamePath(game);
    message(joinMessage(kNoGamePath), Dialogs::Icon::Critical);
    return false;
}

// With no bookmark selected the command asks for the typed address's status itself; a selected
// bookmark's status is the one its click asked for. When that was never asked for (its stored
// address failed the check and the field has been corrected since), nothing is pending and no
// status has come in, so the command asks for the field's address as if no bookmark were selected.
// A query of that very address that could not be sent has said why already: not again.
bool JoinFlow::needsStatusQuery(const JoinTarget &target) const
{
    const JoinStatus status = m_site.status();
    if (status.bookmark.isEmpty())
        return true;
    return status.verdict == QLatin1String(kAddressOk) && !status.pending && !status.ready
        && target.address != status.unsentAddress;
}

// nullopt: the address was refused, or no status came in to judge.
std::optional<JoinVerdict> JoinFlow::awaitVerdict()
{
    if (m_site.status().verdict != QLatin1String(kAddressOk) || !awaitStatus())
        return std::nullopt;
    const JoinStatus status = m_site.status();
    return judgeJoin(status.players, status.answered, status.maxClients);
}

// Waits, with the window's input held, for the pending exchange to end; the socket's and the
// timer's events are handled meanwhile. It never waits while no exchange is pending, since nothing
// would end that wait (a query that could not be sent has already said why).
bool JoinFlow::awaitStatus()
{
    if (m_site.status().pending) {
        m_site.holdInput(true);
        m_waitingForStatus = true;
        QEventLoop wait;
        connect(this, &JoinFlow::exchangeEnded, &wait, &QEventLoop::quit);
        wait.exec();
        m_waitingForStatus = false;
        m_site.holdInput(false);
    }
    return m_site.status().ready;
}

// True: ask the server again.
bool JoinFlow::retryWhenFull(const JoinTarget &target)
{
    const Dialogs::CheckedAnswer answer = m_services.dialogs.messageWithCheckBox(
        joinMessage(kServerFull), Dialogs::Buttons::RetryCancel, Dialogs::Icon::None,
        joinMessage(kJoinWhenSlotFrees));
    if (answer.answer != Dialogs::Answer::Retry)
        return false;
    if (answer.ticked) {
        startSlotWait(target);
        return false;
    }
    return hasGame(target.game);
}

void JoinFlow::message(const QString &text, Dialogs::Icon icon)
{
    m_services.dialogs.message(text, Dialogs::Buttons::Ok, icon);
}

void JoinFlow::joinserver(const JoinTarget &target)
{
    const LaunchSettings settings = m_site.launchSettings(target.game);
    const GameCommand command = buildGameCommand(settings.gamePath, target);
    if (settings.commandLine == QLatin1String(kDebugSwitch)) {
        message(joinMessage(kLaunchedGame), Dialogs::Icon::None);
        return;
    }
    // The game runs in its own folder; the launcher keeps its current directory.
    const StartPlan plan = planGameStart(command, QProcessEnvironment::systemEnvironment(),
                                         settings.wine);
    if (!plan.process) {
        message(plan.problem, Dialogs::Icon::Critical);
        return;
    }
    startGame(target, plan);
}

// The window stays usable while the start is watched; only the pointer says that it is under way.
void JoinFlow::startGame(const JoinTarget &target, const StartPlan &plan)
{
    const ProcessStart &process = *plan.process;
    qCInfo(lcLaunch) << "starting" << process.program << "with"
                     << loggedArguments(process.arguments) << "in" << process.workingDirectory;
    // Each start is watched until it reports, also when another start follows within its watch.
    // The watch goes once it has reported: not while it reports, since its report may show a box.
    LaunchWatch *watch = m_services.gameStarter.start(process, kStartWatch).release();
    watch->setParent(this);
    connect(watch, &LaunchWatch::finished, this, [this, plan, watch](const LaunchOutcome &outcome) {
        watch->deleteLater();
        gameStartWatched(plan, outcome);
    });
    ++m_gamesStarting;
    m_site.showGamesStarting(true);
    m_site.gameStarted(target);
}

void JoinFlow::gameStartWatched(const StartPlan &plan, const LaunchOutcome &outcome)
{
    --m_gamesStarting;
    m_site.showGamesStarting(m_gamesStarting > 0);
    const QString &program = plan.process->program;
    switch (outcome.kind) {
    case LaunchOutcome::Kind::NotStarted:
        qCWarning(lcLaunch) << program << "did not start:" << outcome.output;
        break;
    case LaunchOutcome::Kind::Running:
        qCInfo(lcLaunch) << program << "is running; its output goes to" << outcome.outputFile;
        break;
    case LaunchOutcome::Kind::Ended:
        qCInfo(lcLaunch).noquote() << program << "ended at once with exit status"
                                   << outcome.exitStatus << "and this output:\n"
                                   << outcome.output.trimmed();
        break;
    }
    if (const std::optional<QString> failure = startFailure(plan, outcome))
        message(*failure, Dialogs::Icon::Critical);
}

void JoinFlow::startSlotWait(const JoinTarget &target)
{
    const std::optional<StatusTarget> server = statusTarget(target.address);
    if (!server)
        return; // never: the join has just asked this address for its status
    m_waitingToJoin = target;
    m_waitingOnBookmark = m_site.status().bookmark;
    m_site.showSlotWait(m_waitingOnBookmark.isEmpty() ? target.address : m_waitingOnBookmark);
    m_slotWait->start(*server);
}

void JoinFlow::bookmarkClicked(const QString &name)
{
    if (name != m_waitingOnBookmark)
        endSlotWait();
}

// Every end of the wait: a freed slot, a join by hand, a click on another bookmark, Escape,
// [ Quit ], or the wait's limit.
void JoinFlow::endSlotWait()
{
    if (!m_waitingToJoin)
        return;
    m_waitingToJoin.reset();
    m_waitingOnBookmark.clear();
    m_slotWait->stop();
    m_site.showSlotWait({});
}

// The game starts once: the wait is over before it starts.
void JoinFlow::slotFreed()
{
    const JoinTarget target = *m_waitingToJoin;
    endSlotWait();
    joinserver(target);
}
