// SPDX-License-Identifier: GPL-3.0-or-later
#include "servers/servercache.h"

#include "platform/regularfile.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <functional>

namespace {

constexpr quint32 kMagic = 0x42534331; // "BSC1"
constexpr quint32 kFormat = 1;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;
// Bounds on what is read, which the writer keeps to as well: one server beyond them would make
// the whole file unreadable.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
constexpr qint32 kMaxPlayerLines = 1024;

QDataStream &operator<<(QDataStream &out, const FoundServer &server)
{
    const BookmarkStatus &status = server.status;
    const BookmarkStatus::Server &figures = status.server;
    out << server.address.ip << server.address.port << qint32(status.state) << server.name
        << server.type << qint32(figures.players) << bool(figures.limit)
        << qint64(figures.limit.value_or(0)) << figures.pingMs << figures.password << figures.full
        << figures.map << figures.version << figures.mod << bool(figures.protocol)
        << qint32(figures.protocol.value_or(0));
    const auto kept = std::min(server.players.size(), qsizetype(kMaxPlayerLines));
    out << qint32(kept);
    for (const FoundPlayer &player : server.players.first(kept))
        out << player.name << player.score << player.ping;
    return out;
}

std::optional<int> optionalNumber(bool present, qint32 value)
{
    return present ? std::optional<int>(value) : std::nullopt;
}

// Stops at the first value that is out of range: the stream's status then tells the caller.
QDataStream &operator>>(QDataStream &in, FoundServer &server)
{
    BookmarkStatus::Server &figures = server.status.server;
    qint32 state = 0, players = 0, protocol = 0, playerLines = 0;
    qint64 limit = 0;
    bool hasLimit = false, hasProtocol = false;
    in >> server.address.ip >> server.address.port >> state >> server.name >> server.type >> players
        >> hasLimit >> limit >> figures.pingMs >> figures.password >> figures.full >> figures.map
        >> figures.version >> figures.mod >> hasProtocol >> protocol >> playerLines;
    const auto lastState = qint32(BookmarkStatus::State::BadAddress);
    if (state < 0 || state > lastState || playerLines < 0 || playerLines > kMaxPlayerLines) {
        in.setStatus(QDataStream::ReadCorruptData);
        return in;
    }
    server.status.state = BookmarkStatus::State(state);
    figures.players = players;
    figures.limit = hasLimit ? std::optional(limit) : std::nullopt;
    figures.protocol = optionalNumber(hasProtocol, protocol);
    for (qint32 i = 0; i < playerLines && in.status() == QDataStream::Ok; ++i) {
        FoundPlayer player;
        in >> player.name >> player.score >> player.ping;
        server.players.append(player);
    }
    return in;
}

QByteArray streamed(const std::function<void(QDataStream &)> &write)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    write(out);
    return bytes;
}

} // namespace

QString serverCacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

QString serverCachePath(const QString &folder, GameId game)
{
    const QString suffix = game == GameId::Cod ? QString() : u'-' + QLatin1String(gameOf(game).key);
    return folder + QStringLiteral("/servers%1.cache").arg(suffix);
}

std::optional<CachedList> readServerCache(const QString &path)
{
    QFile file(path);
    if (!openRegularFile(file) || file.size() > kMaxFileSize)
        return std::nullopt;
    QDataStream in(&file);
    in.setVersion(kStreamVersion);
    quint32 magic = 0, format = 0;
    qint32 protocol = 0, count = 0;
    CachedList list;
    in >> magic >> format >> protocol >> list.askedAt >> count;
    if (magic != kMagic || format != kFormat || count < 0 || count > kMaxListedServers)
        return std::nullopt;
    list.protocol = protocol;
    list.servers.reserve(count);
    for (qint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        FoundServer server;
        in >> server;
        list.servers.append(server);
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return list;
}

bool writeServerCache(const QString &path, const CachedList &list)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray head = streamed([&list](QDataStream &out) {
        out << kMagic << kFormat << qint32(list.protocol) << list.askedAt;
    });
    // The servers that fit, in order; the count before them is four bytes.
    qint64 room = kMaxFileSize - head.size() - qint64(sizeof(qint32));
    QList<QByteArray> servers;
    for (const FoundServer &server : list.servers) {
        QByteArray entry = streamed([&server](QDataStream &out) { out << server; });
        if (entry.size() <= room) {
            room -= entry.size();
            servers.append(std::move(entry));
        }
    }
    file.write(head);
    file.write(streamed([&servers](QDataStream &out) { out << qint32(servers.size()); }));
    for (const QByteArray &entry : std::as_const(servers))
        file.write(entry);
    return file.commit();
}
