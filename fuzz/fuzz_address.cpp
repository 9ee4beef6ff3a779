// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary text through the address normaliser and verdict, decoded as UTF-8 and as Latin-1.
#include "address/addressrules.h"
#include "fuzzcheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

bool isAddressChar(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u':';
}

void checkAddress(const QString &text)
{
    AddressFilter filter;
    const QString field = ipcheck(filter, text);
    check(std::all_of(field.begin(), field.end(), isAddressChar));
    const QString verdict = checkip(filter, field);
    check(verdict == QLatin1String(kAddressOk) || verdict == QLatin1String(kNoAddress)
          || verdict == QLatin1String(kNoPort) || verdict == QLatin1String(kInvalidAddress));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    checkAddress(QString::fromUtf8(bytes));
    checkAddress(QString::fromLatin1(bytes));
    return 0;
}
