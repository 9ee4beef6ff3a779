// The main window's status exchange: the address field's keys, the query, its reply and its ends.
#include "app/brinemoor.h"

#include "query/statuscaptions.h"
#include "platform/services.h"
#include "query/statusreply.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace std::chrono;

namespace {

// The character codes of the keys the address field gives a meaning of their own.
constexpr int kCopyKey = 3;
constexpr int kBackspaceKey = 8;
constexpr int kEnterKey = 13;
constexpr int kPasteKey = 22;
constexpr int kNoCharacter = -1;

constexpr char kUpdateServerName[] = "Update Server Name?";
constexpr char kReportPrefix[] = "Please report this message: ";

// The character a key press types, as the address field's filter knows it: control keys as their
// control codes (Ctrl+C is 3), printable text as its character, kNoCharacter for keys that type
// nothing (arrows, Delete, Home, Tab) and which therefore reach the field untouched.
int typedCharacter(const QKeyEvent &event)
{
    // Ctrl with Alt is AltGr on some keyboards, which types ordinary characters.
    const bool control = event.modifiers().testFlag(Qt::ControlModifier)
        && !event.modifiers().testFlag(Qt::AltModifier);
    const int key = event.key();
    if (key == Qt::Key_Backspace)
        return control ? 127 : kBackspaceKey;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return control ? 10 : kEnterKey;
    if (control)
        return key >= Qt::Key_A && key <= Qt::Key_Z ? key - Qt::Key_A + 1 : kNoCharacter;
    const QString text = event.text();
    if (text.isEmpty() || text.front().category() == QChar::Other_Control)
        return kNoCharacter;
    // Several characters at once (from an input method) are no digit or separator: refused whole.
    return text.size() == 1 ? int(text.front().unicode()) : int(QChar::ReplacementCharacter);
}

QString pingText(microseconds roundTrip)
{
    return QLatin1String(kPingCaption)
        + QString::number(duration_cast<milliseconds>(roundTrip).count());
}

QString playersText(qsizetype count, const QString &limit)
{
    return QLatin1String(kPlayersCaption) + QString::number(count) + u'/' + limit;
}

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

// `result` holds the verdict on `address`.
void Brinemoor::queryStatusOf(const QString &address)
{
    m_state.sv_hostname.clear();
    m_state.sv_maxclients = std::nullopt;
    server_options->clear();
    server_players->clear();
    showPing(QString::fromLatin1(kPingNone));
    showPlayers(QString::fromLatin1(kPlayersNone));
    m_replyPingShown = false;
    const std::optional<StatusTarget> target = targetOf(address);
    if (!target) {
        showMessage(m_state.result, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return;
    }
    setBusy(true);
    setEnabled(false);
    m_state.ServerReady = false;
    cod_query->start(*target);
    // notSent() has come and gone inside start() when the request could not be sent.
    m_unsentAddress = cod_query->isPending() ? QString() : address;
}

// The server `address` names; none when `result` refuses it, or, for an address no socket takes,
// once `result` says so.
std::optional<StatusTarget> Brinemoor::targetOf(const QString &address)
{
    const std::variant<StatusTarget, QString> target = checkedTarget(m_state.result, address);
    if (const QString *verdict = std::get_if<QString>(&target)) {
        m_state.result = *verdict;
        return std::nullopt;
    }
    return std::get<StatusTarget>(target);
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
    m_state.PingResponse = pingText(roundTrip);
    showStatusReply(reply);
    offerServerName();
    showPing(m_state.PingResponse);
    m_replyPingShown = true;
    finishExchange();
}

// The echo came back after the reply was shown: its figure is the ping, as long as the display
// still shows that reply.
void Brinemoor::showEchoRoundTrip(microseconds roundTrip)
{
    if (!m_replyPingShown)
        return;
    m_state.PingResponse = pingText(roundTrip);
    showPing(m_state.PingResponse);
}

void Brinemoor::endRefusedQuery()
{
    finishExchange();
}

void Brinemoor::showStatusReply(const StatusReply &reply)
{
    for (const StatusVariable &variable : reply.variables)
        server_options->addItem(variable.key + QStringLiteral(" = ") + variable.value);
    if (reply.maxClients) {
        m_state.sv_maxclients = reply.maxClients;
        showPlayers(playersText(reply.playersBeforeMaxClients, *reply.maxClients));
    }
    if (reply.hostname)
        m_state.sv_hostname = *reply.hostname;
    if (reply.gameType)
        lbl_type->setText(QLatin1String(kTypeCaption) + *reply.gameType);
    if (reply.mapName)
        lbl_map->setText(QLatin1String(kMapCaption) + *reply.mapName);
    if (reply.privateClients)
        lbl_reserved->setText(QLatin1String(kReservedCaption) + *reply.privateClients);
    server_players->addItems(reply.players);
    // A limit sent as empty text leaves the count that the server variables' line wrote; a reply
    // without any limit shows it as 0.
    const bool limitIsEmptyText = m_state.sv_maxclients && m_state.sv_maxclients->isEmpty();
    if (!limitIsEmptyText)
        showPlayers(
            playersText(reply.players.size(), m_state.sv_maxclients.value_or(QStringLiteral("0"))));
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
        QString::fromLatin1(kUpdateServerName), Dialogs::Buttons::OkCancel, Dialogs::Icon::None);
    if (answer != Dialogs::Answer::Ok)
        return;
    server_name->setText(hostname);
    menu_save_Click();
}

void Brinemoor::timeout_Timer()
{
    showPing(QString::fromLatin1(kPingTimeout));
    finishExchange();
}

void Brinemoor::showPlayers(const QString &caption)
{
    lbl_players->setText(caption);
    m_statusCaptions.players = caption;
}

void Brinemoor::showPing(const QString &caption)
{
    lbl_ping->setText(caption);
    m_statusCaptions.ping = caption;
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
    showMessage(QLatin1String(kReportPrefix) + description, Dialogs::Buttons::Ok,
                Dialogs::Icon::Critical);
}
