// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop notifications: a short message shown outside the window, with at most one action.
#pragma once

#include <QObject>
#include <QString>

struct DesktopNotification
{
    QString summary;
    QString body;
    QString actionLabel; // the caption of its one action; empty for none
    QString actionKey;   // told back through actionInvoked() when the user takes the action
};

class Notifier : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Hands the notification to the desktop; the call never blocks. When there is no one to show
    // it, failed() tells why and nothing else happens.
    virtual void show(const DesktopNotification &notification) = 0;

signals:
    void actionInvoked(const QString &key);
    void failed(const QString &reason);
};

// Where the program knows no notification service to reach (Windows, for now).
class NoNotifier final : public Notifier
{
public:
    void show(const DesktopNotification &) override
    {
        emit failed(QStringLiteral("no notification service on this system"));
    }
};
