// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/launchlog.h"

Q_LOGGING_CATEGORY(lcLaunch, "brinemoor.launch", QtInfoMsg)

QStringList loggedArguments(const QStringList &arguments)
{
    const qsizetype password = arguments.indexOf(QStringLiteral("+password"));
    if (password < 0)
        return arguments;
    return arguments.first(password + 1) << QStringLiteral("***");
}
