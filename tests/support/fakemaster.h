// SPDX-License-Identifier: GPL-3.0-or-later
// The bytes a master server sends: a header, an entry per server and an end mark.
#pragma once

#include "query/serverendpoint.h"

#include <QByteArray>
#include <QList>

inline const QByteArray kMasterEot("\\EOT\0\0\0", 7); // more datagrams follow
inline const QByteArray kMasterEof("\\EOF\0\0\0", 7); // the last one

inline QByteArray masterEntry(const ServerEndpoint &server)
{
    const char bytes[] = {'\\',
                          char(server.ip >> 24),
                          char(server.ip >> 16),
                          char(server.ip >> 8),
                          char(server.ip),
                          char(server.port >> 8),
                          char(server.port)};
    return QByteArray(bytes, sizeof bytes);
}

// `end` empty: a datagram that stops after its last entry.
inline QByteArray masterDatagram(const QList<ServerEndpoint> &servers,
                                 const QByteArray &end = kMasterEof)
{
    QByteArray datagram("\xff\xff\xff\xffgetserversResponse\n\0", 24);
    for (const ServerEndpoint &server : servers)
        datagram += masterEntry(server);
    return datagram + end;
}
