// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/statusreply.h"

#include <QStringBuilder>

#include <algorithm>

namespace {

constexpr char kReplyHeader[] = "\xff\xff\xff\xffstatusResponse";
// The header is followed by one separator byte (a line feed) that is skipped unread.
constexpr qsizetype kHeaderAndSeparator = sizeof(kReplyHeader) - 1 + 1;

// Drops colour codes ("^" and the character after it) and control characters: some servers put
// raw 0x01 bytes before their host name, which would otherwise reach labels and saved names.
QString displayText(QStringView raw)
{
    QString text(raw.size(), Qt::Uninitialized);
    QChar *kept = text.data();
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'^')
            ++i;
        else if (raw[i].unicode() >= 0x20)
            *kept++ = raw[i];
    }
    text.truncate(kept - text.constData());
    return text;
}

// Only blanks count here: QString::trimmed() would also eat Latin-1 0xA0 and 0x85.
QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

// A line without quotes: every blank starts the name afresh, which drops the score and the ping in
// front of it (and all but the last word of a name with blanks).
QString nameFromUnquotedLine(QStringView line)
{
    QString name(line.size(), Qt::Uninitialized);
    QChar *const start = name.data();
    QChar *kept = start;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u' ')
            kept = start;
        else if (line[i] == u'^')
            ++i;
        else if (line[i].unicode() >= 0x20)
            *kept++ = line[i];
    }
    if (kept == start)
        return {};
    name.truncate(kept - start);
    return name;
}

// A quoted name is taken whole, blanks included ("Unknown Soldier", "BETEPAH   "). A line cut
// short after its opening quote still yields what follows that quote.
QString playerName(QStringView line)
{
    const qsizetype open = line.indexOf(u'"');
    if (open < 0)
        return nameFromUnquotedLine(line);
    const qsizetype close = line.lastIndexOf(u'"');
    const qsizetype end = close > open ? close : line.size();
    return displayText(line.sliced(open + 1, end - open - 1));
}

std::optional<QString> StatusReply::*specialField(QStringView key)
{
    if (key == u"sv_maxclients")
        return &StatusReply::maxClients;
    if (key == u"sv_hostname")
        return &StatusReply::hostname;
    if (key == u"g_gametype")
        return &StatusReply::gameType;
    if (key == u"mapname")
        return &StatusReply::mapName;
    if (key == u"sv_privateClients")
        return &StatusReply::privateClients;
    return nullptr;
}

// `token` reads key, " = ", value. The key ends one blank before the first "=" of the token, so a
// token that starts with "=" has no key at all: it is malformed and false is returned.
bool addVariable(QStringView token, StatusReply &reply)
{
    const qsizetype equals = token.indexOf(u'=');
    if (equals == 0)
        return false;
    QString key = token.first(equals - 1).toString();
    if (key.startsWith(u'.'))
        key.remove(0, 1);
    QString value = displayText(token.sliced(equals + 2));
    if (const auto field = specialField(key)) {
        reply.*field = trimBlanks(value);
        if (field == &StatusReply::maxClients)
            reply.playersBeforeMaxClients = int(reply.players.size());
    }
    reply.variables.append({std::move(key), std::move(value)});
    return true;
}

// Walks "\key\value\key\value..." with a token of key, " = " and value for each pair. A
// malformed pair abandons the rest of the line; a key without a value at the end is dropped.
void parseInfoLine(QStringView line, StatusReply &reply)
{
    QStringView rest = line.sliced(1);
    for (qsizetype keyEnd = rest.indexOf(u'\\'); keyEnd >= 0; keyEnd = rest.indexOf(u'\\')) {
        const QStringView key = rest.first(keyEnd);
        rest = rest.sliced(keyEnd + 1);
        const qsizetype valueEnd = rest.indexOf(u'\\');
        const QStringView value = valueEnd < 0 ? rest : rest.first(valueEnd);
        if (!addVariable(QString(key % QLatin1String(" = ") % value), reply) || valueEnd < 0)
            return;
        rest = rest.sliced(valueEnd + 1);
    }
}

// The first number in a word: some mods write a score as "k:12;d:3", kills and deaths.
qint64 firstNumber(QStringView word)
{
    qsizetype start = 0;
    while (start < word.size() && !word[start].isDigit())
        ++start;
    qsizetype end = start;
    while (end < word.size() && word[end].isDigit())
        ++end;
    if (start > 0 && word[start - 1] == u'-')
        --start;
    return word.sliced(start, end - start).toLongLong();
}

PlayerFigures playerFigures(QStringView line)
{
    const qsizetype quote = line.indexOf(u'"');
    const QStringView figures = quote < 0 ? line : line.first(quote);
    const QList<QStringView> words = figures.split(u' ', Qt::SkipEmptyParts);
    return {words.size() > 0 ? firstNumber(words[0]) : 0,
            words.size() > 1 ? firstNumber(words[1]) : 0};
}

void parseLine(QStringView line, StatusReply &reply)
{
    if (line.startsWith(u'\\')) {
        parseInfoLine(line, reply);
    } else {
        reply.players.append(playerName(line));
        reply.playerFigures.append(playerFigures(line));
    }
}

// Every line ends with a line feed; text after the last one is an unfinished line and ignored.
// Carriage returns count for nothing wherever they stand.
void parseBody(QStringView body, StatusReply &reply)
{
    qsizetype start = 0;
    for (qsizetype end = body.indexOf(u'\n'); end >= 0; end = body.indexOf(u'\n', start)) {
        const QStringView line = body.sliced(start, end - start);
        if (line.contains(u'\r'))
            parseLine(line.toString().remove(u'\r'), reply);
        else
            parseLine(line, reply);
        start = end + 1;
    }
}

} // namespace

QByteArray statusRequest()
{
    return QByteArrayLiteral("\xff\xff\xff\xffgetstatus");
}

QString withoutColourCodes(QStringView text)
{
    return displayText(text);
}

QString variableValue(const StatusReply &reply, QStringView key)
{
    for (auto variable = reply.variables.crbegin(); variable != reply.variables.crend();
         ++variable) {
        if (variable->key == key)
            return trimBlanks(variable->value);
    }
    return {};
}

std::optional<qint64> statusCount(const std::optional<QString> &text)
{
    bool isNumber = false;
    const qint64 value = text ? text->toLongLong(&isNumber) : 0;
    return isNumber && value >= 0 ? std::optional(value) : std::nullopt;
}

// Both numbers are at least 0, so the difference cannot overflow; reserved slots beyond the
// limit leave no free one.
bool isFull(qint64 players, std::optional<qint64> limit, std::optional<qint64> reserved)
{
    return limit && players >= *limit - reserved.value_or(0);
}

bool isFull(const StatusReply &reply)
{
    return isFull(reply.players.size(), statusCount(reply.maxClients),
                  statusCount(reply.privateClients));
}

std::optional<StatusReply> parseStatusReply(const QByteArray &datagram)
{
    const qsizetype header = datagram.indexOf(kReplyHeader);
    if (header < 0)
        return std::nullopt;
    // The lines start after the header wherever it stands, so bytes in front of it cannot turn
    // the header's own tail into a player name.
    const QString body = QString::fromLatin1(
        datagram.sliced(std::min(header + kHeaderAndSeparator, datagram.size())));
    StatusReply reply;
    parseBody(body, reply);
    return reply;
}
