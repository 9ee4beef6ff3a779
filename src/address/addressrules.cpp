#include "address/addressrules.h"

#include <algorithm>

namespace {

QChar lastOf(const QString &text)
{
    return text.isEmpty() ? QChar() : text.back();
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

} // namespace

bool acceptAddressChar(AddressFilter &filter, const QString &text, QChar c)
{
    if (c >= u'0' && c <= u'9')
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
        // A backspace inside the text (typed into a pasted text, say) undoes the last accepted
        // character just as the Backspace key does in the address field.
        if (c == QChar(8)) {
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
        return QString::fromLatin1(kNoAddress);
    const qsizetype colon = serverip.indexOf(u':');
    if (colon < 0)
        return QString::fromLatin1(kNoPort);
    const QString port = serverip.mid(colon + 1);
    // A port that is not all digits can only come from text that bypassed the filter.
    const bool portDigitsOnly = std::all_of(port.cbegin(), port.cend(),
                                            [](QChar c) { return c >= u'0' && c <= u'9'; });
    bool isNumber = false;
    const qlonglong portNumber = port.toLongLong(&isNumber);
    if (!filter.ColonUsed || filter.DotCount != 3 || port.isEmpty() || !portDigitsOnly
        || !isNumber || portNumber < 1024)
        return QString::fromLatin1(kInvalidAddress);
    return QString::fromLatin1(kAddressOk);
}
