// SPDX-License-Identifier: GPL-3.0-or-later
// One web page fetched while the caller waits: start-up needs the clan's page before it goes on.
#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <optional>

class QNetworkAccessManager;
class QUrl;

// The body as text: UTF-8 when the Content-Type header names that charset, else Latin-1.
QString decodePage(const QByteArray &body, const QByteArray &contentType);

// The page's text, or nullopt when it could not be had within `bound`: an unusable URL, no
// network, a name that does not resolve, a refused connection, an HTTP error status, a body over
// 1 MiB (the transfer is cut off there), or the time running out. Every fetch is logged in the
// category "brinemoor.clan", a failed one as a warning. Runs a local event loop that leaves user
// input queued.
std::optional<QString> fetchPage(QNetworkAccessManager &manager, const QUrl &url,
                                 std::chrono::milliseconds bound);
