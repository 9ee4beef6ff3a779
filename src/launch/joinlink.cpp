// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/joinlink.h"

#include "address/addressrules.h"
#include "query/statussocket.h"

#include <QDir>
#include <QSettings>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

namespace {

constexpr char kScheme[] = "cod://";
constexpr char kJoinOption[] = "--join";

bool isJoinLink(const QString &argument)
{
    return argument.startsWith(QLatin1String(kScheme), Qt::CaseInsensitive);
}

// The address must be one a user could have typed whole: no character the rules would drop.
bool isServerAddress(const QString &address)
{
    AddressFilter filter;
    return ipcheck(filter, address) == address
        && checkip(filter, address) == QLatin1String(kAddressOk)
        && statusTarget(address).has_value();
}

} // namespace

QString takeJoinRequest(QStringList &arguments)
{
    const QString option = QLatin1String(kJoinOption);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (isJoinLink(argument))
            return arguments.takeAt(i);
        if (argument.startsWith(option + u'='))
            return arguments.takeAt(i).sliced(option.size() + 1);
        if (argument == option && i + 1 < arguments.size()) {
            arguments.removeAt(i);
            return arguments.takeAt(i);
        }
    }
    return {};
}

std::optional<JoinLink> parseJoinLink(const QString &request)
{
    JoinLink link;
    if (isJoinLink(request)) {
        const QString rest = request.sliced(qsizetype(sizeof kScheme) - 1);
        const auto end = std::find_if(rest.cbegin(), rest.cend(),
                                      [](QChar c) { return c == u'/' || c == u'?' || c == u'#'; });
        link.address = rest.first(end - rest.cbegin());
        const qsizetype query = rest.indexOf(u'?');
        if (query >= 0) {
            const QString parameters = rest.sliced(query + 1).section(u'#', 0, 0);
            link.password = QUrlQuery(parameters)
                                .queryItemValue(QStringLiteral("password"), QUrl::FullyDecoded);
        }
    } else
        link.address = request;
    if (!isServerAddress(link.address))
        return std::nullopt;
    return link;
}

QString joinLinkOf(const QString &address)
{
    return QLatin1String(kScheme) + address;
}

#ifdef Q_OS_WIN

bool registerJoinLinks(const QString &classesKey, const QString &program)
{
    QSettings classes(classesKey, QSettings::NativeFormat);
    const QString command = QStringLiteral("cod/shell/open/command/Default");
    if (!classes.value(command).toString().isEmpty())
        return true;
    // The values the installer writes.
    classes.setValue(QStringLiteral("cod/Default"), QStringLiteral("URL:Call of Duty server"));
    classes.setValue(QStringLiteral("cod/URL Protocol"), QString());
    classes.setValue(command,
                     u'"' + QDir::toNativeSeparators(program) + QLatin1String("\" \"%1\""));
    classes.sync();
    return classes.status() == QSettings::NoError && !classes.value(command).toString().isEmpty();
}

#endif
