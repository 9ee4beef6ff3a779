// SPDX-License-Identifier: GPL-3.0-or-later
// One running copy per user and settings store: a later start hands its command line over.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <chrono>
#include <optional>

// The first start takes a lock file (QLockFile: a copy that crashed leaves a lock whose process
// is gone, which the next start takes over) and listens on a local socket; both are named after
// the store's location and kept in the user's runtime folder, which only the user can enter
// (else in the temporary folder, the socket open to the user alone). A later start finds the
// lock held, sends its arguments and ends.
class RunningCopy final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RunningCopy)

public:
    // The largest message taken: a command line is far shorter.
    static constexpr qsizetype kMaxMessage = 64 * 1024;

    explicit RunningCopy(const QString &storeLocation, QObject *parent = nullptr);
    ~RunningCopy() override;

    // True when this is the first copy, now listening for the later ones.
    bool becomeFirst();
    // Sends the arguments (without the program's name) to the first copy; false when it could
    // not be reached within `timeout`.
    bool handOver(const QStringList &arguments, std::chrono::milliseconds timeout) const;

    // The bytes of a message, and back; nullopt for anything that is not a message of ours.
    static QByteArray message(const QStringList &arguments);
    static std::optional<QStringList> arguments(const QByteArray &message);

signals:
    void handedOver(const QStringList &arguments);

private:
    void takeConnection();

    const QString m_name; // of the local server
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};
