// The main window's status exchange: the address field's keys, the query, its reply and its ends.
#include "app/brinemoor.h"

#include "query/statuscaptions.h"
#include "platform/pinger.h"
#include "platform/services.h"
#include "query/querylog.h"
#include "query/statusreply.h"
#include "query/statussocket.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QUdpSocket>

using namespace std::chrono;

namespace {

// The echo holds the whole window while it waits, so it waits no longer than a second.
constexpr milliseconds kEchoWait{1000};

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
    m_state.sv_hostname.clear();
    m_state.sv_maxclients = std::nullopt;
    server_options->clear();
    server_players->clear();
    lbl_ping->setText(QString::fromLatin1(kPingNone));
    lbl_players->setText(QString::fromLatin1(kPlayersNone));
    if (m_state.result != QLatin1String(kAddressOk)) {
        showMessage(m_state.result, Dialogs::Buttons::Ok, Dialogs::Icon::Critical);
        return;
    }
    setBusy(true);
    setEnabled(false);
    const QString address = server_ip->text();
    const qsizetype colon = address.indexOf(u':');
    const QString host = address.left(colon);
    m_state.ServerReady = false;
    m_queryStarted = steady_clock::now();
    qCDebug(lcQuery) << "query" << address;
    pingserver(host);
    if (const std::optional<QString> failure = sendQuery(host, address.mid(colon + 1))) {
        endUnsentQuery(*failure);
        return;
    }
    m_exchangePending = true;
    timeout->start();
}

void Brinemoor::pingserver(const QString &sAddress)
{
    const std::optional<microseconds> roundTrip = m_services.pinger.echo(sAddress, kEchoWait);
    m_echoAnswered = roundTrip.has_value();
    // Many servers drop echoes; "Ping: 0" would then claim a ping nobody measured. The reply
    // handler puts the status request's own round trip in its place.
    m_state.PingResponse = roundTrip ? pingText(*roundTrip) : QString::fromLatin1(kPingNone);
    qCDebug(lcQuery) << "echo" << (roundTrip ? roundTrip->count() : -1) << "us, done at"
                     << microsecondsIntoQuery() << "us";
}

// Returns the reason when the request could not be sent.
std::optional<QString> Brinemoor::sendQuery(const QString &host, const QString &port)
{
    cod_query->close();
    // The address rules let through octets above 255 and ports above 65535, which no socket takes.
    const std::optional<StatusTarget> target = statusTarget(host, port);
    if (!target)
        return QString::fromLatin1(kInvalidAddress);
    if (const std::optional<QString> failure = openStatusSocket(*cod_query, *target))
        return failure;
    m_requestSent = steady_clock::now();
    if (const std::optional<QString> failure = sendStatusRequest(*cod_query))
        return failure;
    qCDebug(lcQuery) << "request sent at" << microsecondsIntoQuery() << "us";
    return std::nullopt;
}

// A query that sent nothing leaves ServerReady cleared. It still raises the ended signal, so that
// every query that got past the address check ends exactly once.
void Brinemoor::endUnsentQuery(const QString &reason)
{
    qCDebug(lcQuery) << "not sent:" << reason << "at" << microsecondsIntoQuery() << "us";
    showMessage(reason, Dialogs::Buttons::Ok, Dialogs::Icon::None);
    setBusy(false);
    setEnabled(true);
    emit exchangeEnded();
}

void Brinemoor::cod_query_DataArrival()
{
    const ArrivedDatagram arrived = readArrivedDatagram(*cod_query);
    if (arrived.kind == ArrivedDatagram::Kind::Refused) {
        endRefusedQuery();
        return;
    }
    if (arrived.kind == ArrivedDatagram::Kind::Failed)
        return; // cod_query_Error has reported it; the time-out ends the exchange
    const std::optional<StatusReply> reply = parseStatusReply(arrived.data);
    if (!reply) {
        qCDebug(lcQuery) << "ignored" << arrived.data.size() << "bytes without a status header";
        return;
    }
    const microseconds roundTrip = duration_cast<microseconds>(steady_clock::now() - m_requestSent);
    qCDebug(lcQuery) << "reply of" << arrived.data.size() << "bytes at" << microsecondsIntoQuery()
                     << "us";
    timeout->stop();
    // Closed before the rename question, whose event loop would otherwise hand a second copy of
    // the reply to this handler while the first is still being shown.
    cod_query->close();
    if (!m_echoAnswered)
        m_state.PingResponse = pingText(roundTrip);
    showStatusReply(*reply);
    offerServerName();
    lbl_ping->setText(m_state.PingResponse);
    finishExchange();
}

void Brinemoor::endRefusedQuery()
{
    qCDebug(lcQuery) << "refused at" << microsecondsIntoQuery() << "us";
    timeout->stop();
    cod_query->close();
    finishExchange();
}

void Brinemoor::showStatusReply(const StatusReply &reply)
{
    for (const StatusVariable &variable : reply.variables)
        server_options->addItem(variable.key + QStringLiteral(" = ") + variable.value);
    if (reply.maxClients) {
        m_state.sv_maxclients = reply.maxClients;
        lbl_players->setText(playersText(reply.playersBeforeMaxClients, *reply.maxClients));
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
        lbl_players->setText(
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
    qCDebug(lcQuery) << "timed out at" << microsecondsIntoQuery() << "us";
    lbl_ping->setText(QString::fromLatin1(kPingTimeout));
    timeout->stop();
    finishExchange();
}

// What every end of a sent request shares. A reply after the time-out ends the exchange again,
// which changes nothing for a join command: it only waits while the exchange is pending.
void Brinemoor::finishExchange()
{
    m_state.ServerReady = true;
    setBusy(false);
    setEnabled(true);
    m_exchangePending = false;
    emit exchangeEnded();
}

// A refused port ends the exchange in the data-arrival handler, "no datagram available" is no
// fault, and failures while the request is being sent reach the user through queryserver's own
// message. Anything else is shown; a pending exchange then ends by its time-out.
void Brinemoor::cod_query_Error()
{
    const QAbstractSocket::SocketError error = cod_query->error();
    qCDebug(lcQuery) << "socket error" << error << "at" << microsecondsIntoQuery() << "us";
    if (error == QAbstractSocket::ConnectionRefusedError
        || error == QAbstractSocket::TemporaryError)
        return;
    showMessage(QLatin1String(kReportPrefix) + cod_query->errorString(), Dialogs::Buttons::Ok,
                Dialogs::Icon::Critical);
}

qint64 Brinemoor::microsecondsIntoQuery() const
{
    return duration_cast<microseconds>(steady_clock::now() - m_queryStarted).count();
}
