// SPDX-License-Identifier: GPL-3.0-or-later
// A Notifier double for the window's tests: it records what it is asked to show.
#pragma once

#include "platform/notifier.h"

#include <QList>

class RecordingNotifier final : public Notifier
{
public:
    void show(const DesktopNotification &notification) override { shown.append(notification); }

    QList<DesktopNotification> shown;
};
