// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window's start-up is given besides the services, and the title it shows.
#pragma once

#include "launch/slotwait.h"
#include "query/serversweep.h"
#include "query/statusexchange.h"
#include "servers/masterquery.h"

#include <QString>

#include <chrono>

// What start-up is given besides the services: the command line and the bounds of its waits.
struct StartOptions
{
    QString commandLine;
    QString joinRequest;     // a join link or --join's address, asked about once the window shows
    ExchangeBounds exchange; // the window's exchange and each query of the background refresh
    std::chrono::milliseconds pageFetchTimeout{10000};
    QString defaultClanHost;
    SlotWaitBounds slotWait;
    MasterBounds masters; // the server browser's
    SweepBounds sweep;
    // How often the window looks for a tray until one is there.
    std::chrono::milliseconds trayLook{3000};
};

// The window's title for a version: "Brinemoor V2.06" for 2.0.6, "Brinemoor V2.112" for 2.1.12.
inline QString titleForVersion(int major, int minor, int revision)
{
    return QStringLiteral("Brinemoor V%1.%2%3").arg(major).arg(minor).arg(revision);
}
