// SPDX-License-Identifier: GPL-3.0-or-later
// The clan's nickname page: its address and its entries. Text in, values out.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

inline constexpr char kNicknameSwitch[] = "/nick:";
inline constexpr char kNicknameNotFound[] = QT_TRANSLATE_NOOP("ClanNicknames",
                                                              "Nickname not found");

// The message above in the user's language.
inline QString clanMessage(const char *message)
{
    return QCoreApplication::translate("ClanNicknames", message);
}

// The two parallel lists of a nickname page, in page order, and the position of the last clan
// nickname that matched the one asked for. The lists may differ in length on a malformed page.
struct ClanNicknames
{
    QStringList clanNicknames;
    QStringList playerNames;
    std::optional<qsizetype> found;
};

// The in-game name to join under: the one beside the clan nickname found, empty when the names
// ran short; none when no clan nickname was found.
std::optional<QString> chosenPlayerName(const ClanNicknames &nicknames);

// The page's address on the clan's web server; `host` is a name or an address, with or without
// ":port". Invalid when the host is not fit for a URL.
QUrl clanNicknamePageUrl(const QString &host);

// nullopt: not a nickname page (head or tail missing, or too short to hold both), to be ignored.
std::optional<ClanNicknames> parseClanNicknamePage(const QString &page, const QString &nickname);
