// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the nickname page's decoding and parser and checks what they return.
#include "clan/clannicknames.h"
#include "clan/pagefetch.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // First byte: the nickname's length in its low bits, the charset in its top bit.
    const size_t nicknameLength = std::min<size_t>(data[0] & 0x0f, size - 1);
    const QByteArray nickname(reinterpret_cast<const char *>(data + 1), qsizetype(nicknameLength));
    const QByteArray page(reinterpret_cast<const char *>(data + 1 + nicknameLength),
                          qsizetype(size - 1 - nicknameLength));
    const QByteArray contentType = (data[0] & 0x80) ? "text/html; charset=utf-8" : "text/html";

    const std::optional<ClanNicknames> parsed = parseClanNicknamePage(decodePage(page, contentType),
                                                                      QString::fromUtf8(nickname));
    if (parsed && parsed->found) {
        const qsizetype found = *parsed->found;
        if (found < 0 || found >= parsed->clanNicknames.size())
            std::abort();
        if (parsed->clanNicknames.at(found).toLower() != QString::fromUtf8(nickname).toLower())
            std::abort();
    }
    return 0;
}
