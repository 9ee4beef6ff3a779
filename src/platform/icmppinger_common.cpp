// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/icmppinger_common.h"

#include <QHostAddress>
#include <QList>
#include <QStringView>

#include <algorithm>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isDigits(QStringView part)
{
    return !part.isEmpty() && std::all_of(part.begin(), part.end(), isAsciiDigit);
}

} // namespace

std::optional<quint32> IcmpEcho::dottedIpv4(const QString &text)
{
    const QList<QStringView> parts = QStringView(text).split(u'.');
    QHostAddress address;
    if (parts.size() != 4 || !std::all_of(parts.begin(), parts.end(), isDigits)
        || !address.setAddress(text)) {
        return std::nullopt;
    }
    return address.toIPv4Address();
}
