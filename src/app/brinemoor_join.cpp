// The main window's join command and the bookmark list's click and double click.
#include "app/brinemoor.h"

#include "launch/gamecommand.h"
#include "launch/gamestart.h"
#include "launch/joinmessages.h"
#include "launch/joinverdict.h"
#include "platform/gamestarter.h"
#include "platform/services.h"

#include <QComboBox>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>

void Brinemoor::menu_join_Click()
{
    if (m_state.GamePath.isEmpty() || !QFileInfo(m_state.GamePath).isFile()) {
        showMessage(QLatin1String(kNoGamePath), Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return;
    }
    server_ip->setText(ipcheck(m_state, server_ip->text()));
    m_state.result = checkip(m_state, server_ip->text());
    if (needsStatusQuery())
        queryserver();
    if (m_state.result != QLatin1String(kAddressOk) || !awaitStatus())
        return;
    switch (judgeJoin(lbl_players->text(), lbl_ping->text(), m_state.sv_maxclients)) {
    case JoinVerdict::Full:
        // Retry runs the whole command again; without a new query it meets the same status.
        if (m_services.dialogs.message(QLatin1String(kServerFull), Dialogs::Buttons::RetryCancel,
                                       Dialogs::Icon::None)
            == Dialogs::Answer::Retry)
            menu_join_Click();
        return;
    case JoinVerdict::NotResponding:
        showMessage(QLatin1String(kServerNotResponding), Dialogs::Buttons::Ok,
                    Dialogs::Icon::Critical);
        return;
    case JoinVerdict::Joinable:
        joinserver();
        return;
    }
}

// With no bookmark selected the command asks for the typed address's status itself; a selected
// bookmark's status is the one its click asked for. When that was never asked for (its stored
// address failed the check and the field has been corrected since), nothing is pending and no
// status has come in, so the command asks for the field's address as if no bookmark were selected.
bool Brinemoor::needsStatusQuery() const
{
    if (selectedBookmarkName().isEmpty())
        return true;
    return m_state.result == QLatin1String(kAddressOk) && !cod_query->isPending()
        && !m_state.ServerReady;
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

void Brinemoor::joinserver()
{
    const GameCommand command = buildGameCommand(
        m_state.GamePath, {server_ip->text(), server_pass->text(), playerName()});
    if (m_options.commandLine == QLatin1String(kDebugSwitch)) {
        showMessage(QLatin1String(kLaunchedGame), Dialogs::Buttons::Ok, Dialogs::Icon::None);
        return;
    }
    // The game runs in its own folder; the launcher keeps its current directory.
    const StartPlan plan = planGameStart(command, QProcessEnvironment::systemEnvironment());
    if (!plan.process) {
        showMessage(plan.problem, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return;
    }
    if (!m_services.gameStarter.start(*plan.process))
        showMessage(QLatin1String(kGameNotStarted) + plan.process->program, Dialogs::Buttons::Ok,
                    Dialogs::Icon::Critical);
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
