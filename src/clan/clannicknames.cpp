// SPDX-License-Identifier: GPL-3.0-or-later
#include "clan/clannicknames.h"

namespace {

const QLatin1String kHead("start");
const QLatin1String kTail("end");
// "start" and 4 skipped characters before the body, "end" after it.
constexpr qsizetype kBodyStart = 9;
constexpr qsizetype kFrameLength = 12;
// Characters after each "<" that belong to the line break, not to the next entry.
constexpr qsizetype kSkipAfterPlayerName = 3;

} // namespace

QUrl clanNicknamePageUrl(const QString &host)
{
    return QUrl(QStringLiteral("http://%1/cod/index.php?action=cod_codes").arg(host),
                QUrl::StrictMode);
}

std::optional<ClanNicknames> parseClanNicknamePage(const QString &page, const QString &nickname)
{
    // A page that carries both markers but cannot hold them apart has no body to cut out.
    if (!page.startsWith(kHead) || !page.endsWith(kTail) || page.size() < kFrameLength)
        return std::nullopt;
    const QString body = page.mid(kBodyStart, page.size() - kFrameLength);
    const QString wanted = nickname.toLower();
    ClanNicknames result;
    QString word;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == u',') {
            result.clanNicknames.append(word);
            if (word.toLower() == wanted)
                result.found = result.clanNicknames.size() - 1;
            word.clear();
        } else if (c == u'<') {
            result.playerNames.append(word);
            i += kSkipAfterPlayerName;
            word.clear();
        } else {
            word.append(c);
        }
    }
    return result;
}

std::optional<QString> chosenPlayerName(const ClanNicknames &nicknames)
{
    if (!nicknames.found || nicknames.clanNicknames.value(*nicknames.found).isEmpty())
        return std::nullopt;
    return nicknames.playerNames.value(*nicknames.found);
}
