// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's status exchange: the address field's keys, the query, its reply and its ends.
#include "app/brinemoor.h"

#include "app/friendslink.h"
#include "app/statusdisplay.h"
#include "app/typedcharacter.h"
#include "query/statuscaptions.h"
#include "platform/services.h"
#include "query/statusreply.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

using namespace std::chrono;

namespace {

constexpr char kUpdateServerName[] = QT_TRANSLATE_NOOP("Brinemoor", "Update Server Name?");
constexpr char kReportPrefix[] = QT_TRANSLATE_NOOP("Brinemoor", "Please report this message: ");

} // namespace

// Keys that type nothing reach the field untouched.
bool Brinemoor::addressKeyPressed(const QKeyEvent &event)
{
    const int code = typedCharacter(event);
    return code != kNoCharacter && server_ip_KeyPress(code);
}

// The filter always looks at the end of the text, wherever the caret stands.
bool Brinemoor::server_ip_KeyPress(int code)
{
    const QString text = server_ip->text();
    switch (code) {
    case kBackspaceKey:
        backspaceAddressChar(m_state, text);
        return false;
    case kEnterKey:
        checkAndQuery(text);
        return false;
    case kCopyKey:
        QGuiApplication::clipboard()->setText(text);
        return false;
    case kPasteKey:
        checkAndQuery(QGuiApplication::clipboard()->text());
        return true;
    default:
        return !acceptAddressChar(m_state, text, QChar(code));
    }
}

void Brinemoor::menu_update_Click()
{
    checkAndQuery(server_ip->text());
}

// Filtering the whole text again also rebuilds the filter state after edits that bypassed the key
// filter (a paste from the context menu, the Delete key).
void Brinemoor::checkAndQuery(const QString &address)
{
    server_ip->setText(ipcheck(m_state, address));
    m_state.result = checkip(m_state, server_ip->text());
    queryserver();
}

void Brinemoor::queryserver()
{
    queryStatusOf(server_ip->text());
}

// `result` holds the verdict on `address`. An address no socket takes gets a verdict too.
void Brinemoor::queryStatusOf(const QString &address)
{
    m_state.sv_hostname.clear();
    m_state.sv_maxclients = std::nullopt;
    m_display->queryStarted();
    m_replyPingShown = false;
    const std::variant<StatusTarget, QString> target = checkedTarget(m_state.result, address);
    if (const QString *verdict = std::get_if<QString>(&target)) {
        m_state.result = *verdict;
        showMessage(m_state.result, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return;
    }
    setBusy(true);
    setEnabled(false);
    m_state.ServerReady = false;
    cod_query->start(std::get<StatusTarget>(target));
    // notSent() has come and gone inside start() when the request could not be sent.
    m_unsentAddress = cod_query->isPending() ? QString() : address;
}

// A query that sent nothing leaves ServerReady cleared. It still raises the ended signal, so that
// every query that started an exchange ends exactly once.
void Brinemoor::endUnsentQuery(const QString &reason)
{
    showMessage(reason, Dialogs::Buttons::Ok, Dialogs::Icon::None);
    setBusy(false);
    setEnabled(true);
    emit exchangeEnded();
}

void Brinemoor::cod_query_DataArrival(const StatusReply &reply, microseconds roundTrip)
{
    m_state.PingResponse = pingCaption(roundTrip);
    showStatusReply(reply);
    // An echo back while "Update Server Name?" is open corrects the ping shown after it.
    m_replyPingShown = true;
    offerServerName();
    m_display->showRoundTrip(m_state.PingResponse);
    m_replyPingShown = true;
    finishExchange();
}

// The echo came back after the reply was shown: its figure is the ping, as long as the display
// still shows that reply.
void Brinemoor::showEchoRoundTrip(microseconds roundTrip)
{
    if (!m_replyPingShown)
        return;
    m_state.PingResponse = pingCaption(roundTrip);
    m_display->showRoundTrip(m_state.PingResponse);
}

void Brinemoor::showStatusReply(const StatusReply &reply)
{
    m_state.sv_maxclients = reply.maxClients;
    if (reply.hostname)
        m_state.sv_hostname = *reply.hostname;
    m_display->showReply(reply);
    m_friends->markPlayers();
}

void Brinemoor::offerServerName()
{
    const QString &hostname = m_state.sv_hostname;
    if (hostname.isEmpty() || server_name->text() == hostname)
        return;
    if (server_name->text().isEmpty()) {
        server_name->setText(hostname);
        return;
    }
    const Dialogs::Answer answer = m_services.dialogs.message(
        tr(kUpdateServerName), Dialogs::Buttons::OkCancel, Dialogs::Icon::None);
    if (answer != Dialogs::Answer::Ok)
        return;
    server_name->setText(hostname);
    menu_save_Click();
}

void Brinemoor::timeout_Timer()
{
    m_display->showTimeout();
    finishExchange();
}

// What every end of a sent request shares. A reply after the time-out ends the exchange again,
// which changes nothing for a join command: it only waits while the exchange is pending.
void Brinemoor::finishExchange()
{
    m_state.ServerReady = true;
    setBusy(false);
    setEnabled(true);
    emit exchangeEnded();
}

// A pending exchange still ends by its time-out.
void Brinemoor::cod_query_Error(const QString &description)
{
    showMessage(tr(kReportPrefix) + description, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
}
