// SPDX-License-Identifier: GPL-3.0-or-later
#include "address/addressrules.h"

#include <algorithm>

namespace {

constexpr char16_t kBackspace = 8;
constexpr qlonglong kLowestPort = 1024;

QChar lastOf(const QString &text)
{
    return text.isEmpty() ? QChar() : text.back();
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool acceptDigit(AddressFilter &filter, const QString &text)
{
    if (text.isEmpty())
        filter = AddressFilter{};
    const QChar last = lastOf(text);
    if (last == u'.')
        filter.CountNumbers = 0;
    if (last == u':')
        filter.CountNumbers = 4;
    if (filter.CountNumbers == 3 || filter.CountNumbers == 9)
        return false;
    ++filter.CountNumbers;
    return true;
}

bool acceptColon(AddressFilter &filter, const QString &text)
{
    if (filter.ColonUsed || filter.DotCount != 3 || lastOf(text) == u'.')
        return false;
    filter.ColonUsed = true;
    return true;
}

bool acceptDot(AddressFilter &filter, const QString &text)
{
    if (filter.DotCount == 3 || text.isEmpty() || lastOf(text) == u'.')
        return false;
    ++filter.DotCount;
    return true;
}

// A port below the lowest one the program accepts, or one that is not a plain run of digits
// (only a text that bypassed the filter can hold such a port).
bool isUnusablePort(const QString &port)
{
    if (port.isEmpty() || !std::all_of(port.cbegin(), port.cend(), isDigit))
        return true;
    bool isNumber = false;
    const qlonglong number = port.toLongLong(&isNumber);
    return !isNumber || number < kLowestPort;
}

} // namespace

bool acceptAddressChar(AddressFilter &filter, const QString &text, QChar c)
{
    if (isDigit(c))
        return acceptDigit(filter, text);
    if (c == u':')
        return acceptColon(filter, text);
    if (c == u'.')
        return acceptDot(filter, text);
    return false;
}

void backspaceAddressChar(AddressFilter &filter, const QString &text)
{
    const QChar last = lastOf(text);
    if (last == u':')
        filter.ColonUsed = false;
    else if (last == u'.')
        --filter.DotCount;
    else
        --filter.CountNumbers;
}

QString ipcheck(AddressFilter &filter, const QString &newip)
{
    filter = AddressFilter{};
    QString output;
    for (const QChar c : newip) {
        if (c == kBackspace) {
            backspaceAddressChar(filter, output);
            output.chop(1);
        } else if (acceptAddressChar(filter, output, c)) {
            output.append(c);
        }
    }
    return output;
}

QString checkip(const AddressFilter &filter, const QString &serverip)
{
    if (serverip.isEmpty())
        return addressMessage(kNoAddress);
    const qsizetype colon = serverip.indexOf(u':');
    if (colon < 0)
        return addressMessage(kNoPort);
    // An empty port (the colon is the last character) is caught here too, never read as a number.
    if (!filter.ColonUsed || filter.DotCount != 3 || isUnusablePort(serverip.mid(colon + 1)))
        return addressMessage(kInvalidAddress);
    return QString::fromLatin1(kAddressOk);
}
