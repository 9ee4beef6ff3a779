// SPDX-License-Identifier: GPL-3.0-or-later
// When the bookmarks' status is next refreshed of itself.
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <optional>

// Says due() once a period after the last refresh, whatever started that one: a refresh by hand
// pushes the next periodic one a whole period away.
class PeriodicRefresh final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PeriodicRefresh)

public:
    explicit PeriodicRefresh(QObject *parent = nullptr);

    // nullopt: no periodic refresh. A new period counts from now.
    void setPeriod(std::optional<std::chrono::milliseconds> period);
    // A refresh has just started.
    void refreshed();

signals:
    void due();

private:
    QTimer m_timer;
};
