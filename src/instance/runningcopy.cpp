// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/runningcopy.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

using namespace std::chrono;

Q_LOGGING_CATEGORY(lcInstance, "brinemoor.instance")

namespace {

constexpr char kMagic[] = "brinemoor-arguments-1";
constexpr milliseconds kReadBound{2000};

QString privateFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

// Unique for the user and the store, short enough for a socket's path.
QString baseName(const QString &storeLocation)
{
    const QByteArray user = qgetenv("USER") + qgetenv("USERNAME");
    const QByteArray hash = QCryptographicHash::hash(user + '\0' + storeLocation.toUtf8(),
                                                     QCryptographicHash::Sha256)
                                .toHex();
    return QStringLiteral("brinemoor-") + QString::fromLatin1(hash.left(16));
}

// Windows keeps local servers as named pipes, apart from the files.
QString serverName(const QString &storeLocation)
{
#ifdef Q_OS_WIN
    return baseName(storeLocation);
#else
    return QDir(privateFolder()).filePath(baseName(storeLocation));
#endif
}

} // namespace

RunningCopy::RunningCopy(const QString &storeLocation, QObject *parent)
    : QObject(parent),
      m_name(serverName(storeLocation)),
      m_lock(QDir(privateFolder()).filePath(baseName(storeLocation) + QStringLiteral(".lock")))
{
    // Only a lock whose process is gone is stale, however long a copy runs.
    m_lock.setStaleLockTime(0);
}

RunningCopy::~RunningCopy() = default;

bool RunningCopy::becomeFirst()
{
    if (!m_lock.tryLock(0))
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_name); // a crashed copy's socket
    if (!m_server->listen(m_name))
        qCWarning(lcInstance) << "cannot listen for later starts:" << m_server->errorString();
    connect(m_server, &QLocalServer::newConnection, this, &RunningCopy::takeConnection);
    return true;
}

bool RunningCopy::handOver(const QStringList &arguments, milliseconds timeout) const
{
    const auto deadline = steady_clock::now() + timeout;
    QLocalSocket socket;
    const auto left = [deadline] {
        return int(std::max<qint64>(
            0, duration_cast<milliseconds>(deadline - steady_clock::now()).count()));
    };
    // The first copy may hold the lock a moment before it listens.
    while (true) {
        socket.connectToServer(m_name);
        if (socket.waitForConnected(left()))
            break;
        if (left() == 0)
            return false;
        QThread::msleep(20);
    }
    socket.write(message(arguments));
    // The first copy closes the connection once it has read the whole message.
    return socket.waitForBytesWritten(left())
        && (socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(left()));
}

// The magic line, the payload's length in decimal on a line, then the payload: each argument in
// UTF-8 ended by a NUL, which no argument holds.
QByteArray RunningCopy::message(const QStringList &arguments)
{
    QByteArray payload;
    for (const QString &argument : arguments)
        payload += argument.toUtf8() + '\0';
    return QByteArray(kMagic) + '\n' + QByteArray::number(payload.size()) + '\n' + payload;
}

std::optional<QStringList> RunningCopy::arguments(const QByteArray &message)
{
    const QByteArray head = QByteArray(kMagic) + '\n';
    const qsizetype lengthEnd = message.indexOf('\n', head.size());
    if (!message.startsWith(head) || lengthEnd < 0)
        return std::nullopt;
    bool isNumber = false;
    const qsizetype length =
        message.sliced(head.size(), lengthEnd - head.size()).toLongLong(&isNumber);
    const QByteArray payload = message.sliced(lengthEnd + 1);
    if (!isNumber || payload.size() != length || (length > 0 && !payload.endsWith('\0')))
        return std::nullopt;
    QStringList arguments;
    const QList<QByteArray> parts = payload.split('\0');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i)
        arguments.append(QString::fromUtf8(parts.at(i)));
    return arguments;
}

// A message counts once it is whole; what is not whole when the sender closes, or within the
// bound, or grows past the largest message, is dropped.
void RunningCopy::takeConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        struct Incoming
        {
            QByteArray bytes;
            bool done = false;
        };
        const auto incoming = std::make_shared<Incoming>();
        const auto settle = [this, socket, incoming](bool ended) {
            const bool tooLong = incoming->bytes.size() > kMaxMessage;
            const std::optional<QStringList> taken = tooLong ? std::nullopt
                                                             : arguments(incoming->bytes);
            if (incoming->done || (!taken && !ended && !tooLong))
                return;
            incoming->done = true;
            socket->abort();
            socket->deleteLater();
            if (taken)
                emit handedOver(*taken); // may open a box: the socket is done with first
            else if (tooLong)
                qCWarning(lcInstance) << "dropped a message of more than 64 KiB";
            else
                qCWarning(lcInstance) << "dropped a message that is no command line of ours";
        };
        connect(socket, &QLocalSocket::readyRead, this, [socket, incoming, settle] {
            incoming->bytes += socket->read(kMaxMessage + 1 - incoming->bytes.size());
            settle(false);
        });
        connect(socket, &QLocalSocket::disconnected, this, [settle] { settle(true); });
        QTimer::singleShot(kReadBound, socket, [settle] { settle(true); });
    }
}
