// The main window's join command, the game's start, the wait for a free slot, and the bookmark
// list's click and double click.
#include "app/brinemoor.h"

#include "bookmarks/settingsstore.h"
#include "launch/gamecommand.h"
#include "launch/gamestart.h"
#include "launch/joinmessages.h"
#include "launch/joinverdict.h"
#include "launch/launchlog.h"
#include "platform/gamestarter.h"
#include "platform/services.h"

#include <QComboBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QShortcut>

void Brinemoor::menu_join_Click()
{
    endSlotWait();
    if (!hasGame())
        return;
    server_ip->setText(ipcheck(m_state, server_ip->text()));
    m_state.result = checkip(m_state, server_ip->text());
    // The game gets what is checked here, also when "Update Server Name?" comes up during the wait
    // and its Save empties the fields.
    const JoinTarget target{server_ip->text(), server_pass->text(), playerName()};
    if (needsStatusQuery())
        queryserver();
    joinWhenStatusAllows(target);
}

bool Brinemoor::hasGame()
{
    if (!m_state.GamePath.isEmpty() && QFileInfo(m_state.GamePath).isFile())
        return true;
    showMessage(QLatin1String(kNoGamePath), Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
    return false;
}

void Brinemoor::joinWhenStatusAllows(const JoinTarget &target)
{
    if (m_state.result != QLatin1String(kAddressOk) || !awaitStatus())
        return;
    switch (judgeJoin(m_statusCaptions.players, m_statusCaptions.ping, m_state.sv_maxclients)) {
    case JoinVerdict::Full:
        offerRetry(target);
        return;
    case JoinVerdict::NotResponding:
        showMessage(QLatin1String(kServerNotResponding), Dialogs::Buttons::Ok,
                    Dialogs::Icon::Critical);
        return;
    case JoinVerdict::Joinable:
        joinserver(target);
        return;
    }
}

// Retry runs the join again on a fresh status of the same server; with the check box ticked it
// leaves the window to the user and waits for a free slot instead.
void Brinemoor::offerRetry(const JoinTarget &target)
{
    const Dialogs::CheckedAnswer answer = m_services.dialogs.messageWithCheckBox(
        QLatin1String(kServerFull), Dialogs::Buttons::RetryCancel, Dialogs::Icon::None,
        QLatin1String(kJoinWhenSlotFrees));
    if (answer.answer != Dialogs::Answer::Retry)
        return;
    if (answer.ticked) {
        startSlotWait(target);
        return;
    }
    if (!hasGame())
        return;
    // The address passed its check when the join began, whatever the fields hold now.
    m_state.result = QString::fromLatin1(kAddressOk);
    queryStatusOf(target.address);
    joinWhenStatusAllows(target);
}

// With no bookmark selected the command asks for the typed address's status itself; a selected
// bookmark's status is the one its click asked for. When that was never asked for (its stored
// address failed the check and the field has been corrected since), nothing is pending and no
// status has come in, so the command asks for the field's address as if no bookmark were selected.
// A query of that very address that could not be sent has said why already: not again.
bool Brinemoor::needsStatusQuery() const
{
    if (selectedBookmarkName().isEmpty())
        return true;
    return m_state.result == QLatin1String(kAddressOk) && !cod_query->isPending()
        && !m_state.ServerReady && server_ip->text() != m_unsentAddress;
}

// Waits, with the window disabled, for the pending exchange to end; the socket's and the timer's
// events are handled meanwhile. It never waits while no exchange is pending, since nothing would
// end that wait (a query that could not be sent has already said why). False when no status came
// in to judge.
bool Brinemoor::awaitStatus()
{
    if (cod_query->isPending()) {
        setEnabled(false);
        m_joinWaiting = true;
        QEventLoop wait;
        connect(this, &Brinemoor::exchangeEnded, &wait, &QEventLoop::quit);
        wait.exec();
        m_joinWaiting = false;
        setEnabled(true);
    }
    return m_state.ServerReady;
}

void Brinemoor::joinserver(const JoinTarget &target)
{
    const GameCommand command = buildGameCommand(m_state.GamePath, target);
    if (m_options.commandLine == QLatin1String(kDebugSwitch)) {
        showMessage(QLatin1String(kLaunchedGame), Dialogs::Buttons::Ok, Dialogs::Icon::None);
        return;
    }
    // The game runs in its own folder; the launcher keeps its current directory.
    const StartPlan plan = planGameStart(command, QProcessEnvironment::systemEnvironment(),
                                         wineSettings());
    if (!plan.process) {
        showMessage(plan.problem, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return;
    }
    startGame(plan);
}

// Only the user writes these keys.
WineSettings Brinemoor::wineSettings() const
{
    const QString section = QString::fromLatin1(kSettingsSection);
    return {m_store.read(section, QString::fromLatin1(kWineKey)),
            m_store.read(section, QString::fromLatin1(kWinePrefixKey))};
}

// The window stays usable while the start is watched; only the pointer says that it is under way.
void Brinemoor::startGame(const StartPlan &plan)
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
    showBusyPointer();
}

void Brinemoor::gameStartWatched(const StartPlan &plan, const LaunchOutcome &outcome)
{
    --m_gamesStarting;
    showBusyPointer();
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
        showMessage(*failure, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}

// The in-game name goes on the command line only when a clan nickname is selected.
std::optional<QString> Brinemoor::playerName() const
{
    if (gullwingnicks->currentText().isEmpty())
        return std::nullopt;
    return codnicks->currentText();
}

void Brinemoor::servers_name_Click()
{
    const QList<QListWidgetItem *> selected = servers_name->selectedItems();
    if (selected.isEmpty() || selected.constFirst()->text().isEmpty())
        return;
    const int row = servers_name->row(selected.constFirst());
    selectBookmarkRow(row);
    const QString name = selected.constFirst()->text();
    // Another bookmark, not the one being waited for, ends a wait for a free slot.
    if (name != m_waitingOnBookmark)
        endSlotWait();
    const QString storedAddress = servers_ip->item(row)->text();
    // The bookmark already loaded is not asked for again; the password is not compared.
    if (name == server_name->text() && storedAddress == server_ip->text())
        return;
    server_name->setText(name);
    server_ip->setText(ipcheck(m_state, storedAddress));
    server_pass->setText(servers_pass->item(row)->text());
    m_state.result = checkip(m_state, server_ip->text());
    queryserver();
}

// A press on the row that is already selected changes no selection, yet it is a click all the
// same: it reloads the bookmark when the fields no longer hold it.
void Brinemoor::bookmarkPressed(QListWidgetItem *item)
{
    if (servers_name->row(item) == m_rowBeforePress)
        servers_name_Click();
}

// The first click of the double click has loaded the bookmark and started its query; the join
// command waits for that query's end.
void Brinemoor::servers_name_DblClick()
{
    menu_join_Click();
}

// Enter on the focused bookmark is the keyboard's double click. Its click selects the row, or loads
// the selected bookmark again when the fields no longer hold it; the join follows.
void Brinemoor::bookmarkEnterPressed()
{
    const int row = servers_name->currentRow();
    if (row < 0)
        return;
    if (servers_name->item(row)->isSelected())
        servers_name_Click();
    else
        servers_name->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    servers_name_DblClick();
}

// The first click's query disables the window, and a disabled list drops the second click, so a
// double click on a server slower than the double-click interval would never join. The list's
// viewport still shows it to this filter.
bool Brinemoor::bookmarkDoubleClickedWhileQuerying(const QMouseEvent &event)
{
    const QModelIndex clicked = servers_name->indexAt(event.position().toPoint());
    return clicked.isValid() && joinWhileQuerying(clicked.row());
}

// Joins while the window is disabled for a query, when the query is the one for the bookmark in
// `row` (not one whose fields were edited and queried since) and no join is waiting already.
bool Brinemoor::joinWhileQuerying(int row)
{
    if (servers_name->isEnabled() || !cod_query->isPending() || m_joinWaiting || row < 0
        || row != servers_name->currentRow() || !fieldsHoldBookmark(row))
        return false;
    servers_name_DblClick();
    return true;
}

bool Brinemoor::fieldsHoldBookmark(int row) const
{
    AddressFilter scratch;
    return server_name->text() == servers_name->item(row)->text()
        && server_ip->text() == ipcheck(scratch, servers_ip->item(row)->text());
}

void Brinemoor::startSlotWait(const JoinTarget &target)
{
    const std::optional<StatusTarget> server = statusTarget(target.address);
    if (!server)
        return; // never: the join has just asked this address for its status
    m_waitingToJoin = target;
    m_waitingOnBookmark = selectedBookmarkName();
    m_titleBeforeWait = windowTitle();
    setWindowTitle(m_titleBeforeWait + QLatin1String(kWaitingForSlot)
                   + (m_waitingOnBookmark.isEmpty() ? target.address : m_waitingOnBookmark));
    m_cancelWait->setEnabled(true);
    m_slotWait->start(*server);
}

// Every end of the wait: a freed slot, a join by hand, a click on another bookmark, Escape,
// [ Quit ], or the wait's limit.
void Brinemoor::endSlotWait()
{
    if (!m_waitingToJoin)
        return;
    m_waitingToJoin.reset();
    m_waitingOnBookmark.clear();
    m_slotWait->stop();
    m_cancelWait->setEnabled(false);
    setWindowTitle(m_titleBeforeWait);
}

// The game starts once: the wait is over before it starts.
void Brinemoor::slotFreed()
{
    const JoinTarget target = *m_waitingToJoin;
    endSlotWait();
    joinserver(target);
}
