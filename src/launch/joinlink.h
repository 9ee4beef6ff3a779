// SPDX-License-Identifier: GPL-3.0-or-later
// A server handed to the program from outside: a join link from a web page, or --join.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// "cod://HOST:PORT", optionally "cod://HOST:PORT/?password=PW" (percent-encoded), or from
// --join a bare "HOST:PORT". Only the address and the password are taken; the rest is ignored.
struct JoinLink
{
    QString address; // passes the address rules, exactly as written
    QString password;
};

// Takes a join request out of a command line's arguments (not the program's name): the first
// argument that is a join link, or "--join HOST:PORT" / "--join=HOST:PORT". Empty when none.
QString takeJoinRequest(QStringList &arguments);
// nullopt when the request names no server address the address rules take as it stands.
std::optional<JoinLink> parseJoinLink(const QString &request);
// The link to a server, without its password: "cod://1.2.3.4:28960".
QString joinLinkOf(const QString &address);

#ifdef Q_OS_WIN
// The user's registry key under which programs declare the links they open.
inline constexpr char kUserClassesKey[] = "HKEY_CURRENT_USER\\Software\\Classes";
// Has cod:// links start `program` with the link, declared under `classesKey`, unless they lead
// to a program already (the installer's registration, or another program's, stands). The
// installer registers them; a copy run from its zip does it on its first start. False when they
// lead nowhere afterwards.
bool registerJoinLinks(const QString &classesKey, const QString &program);
#endif
