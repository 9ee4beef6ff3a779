// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: a failed check that the fuzzer reports as a crash, and datagrams
// that mostly start with the header their parser looks for.
#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

inline void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Most inputs get `header` in place of their first byte, so the time goes into what follows it
// rather than into finding the header's bytes by chance.
inline QByteArray datagramMostlyWithHeader(const uint8_t *data, size_t size, const char *header)
{
    QByteArray datagram(reinterpret_cast<const char *>(data), qsizetype(size));
    if (size > 0 && data[0] % 4 != 0)
        datagram.replace(0, 1, header);
    return datagram;
}
