// SPDX-License-Identifier: GPL-3.0-or-later
// The server browser's status line in words.
#pragma once

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

struct BrowserProgress
{
    int servers = 0;       // with those found on the LAN
    int mastersListed = 0; // in this fetch
    // How old the list is when no master has listed it in this fetch: it is the one kept.
    std::optional<std::chrono::seconds> keptListAge;
    int answered = 0;
    QStringList failures; // "master: no answer"
    // Of the servers, those found on the LAN; nullopt when the LAN is not looked on and no server
    // came from it.
    std::optional<int> lanServers{};
};

// How old something is: "less than 1 min", "4 min", "2 h", "3 days".
QString ageWords(std::chrono::seconds age);
// "2000 servers from 2 masters, 1500 answered", or "... from the cache, 4 min old, ...", with
// ", 2 on the LAN" before the answers (the servers from elsewhere counted without them), then each
// failure.
QString progressWords(const BrowserProgress &progress);
