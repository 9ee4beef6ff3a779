// SPDX-License-Identifier: GPL-3.0-or-later
// What the background refresh learnt of one bookmark's server, and how it reads: the figures a
// row shows and the words of its tooltip.
#pragma once

#include "query/games.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

struct StatusReply;

// The words, as the row's tooltip and accessible description give them.
inline constexpr char kStatusPlayers[] = QT_TRANSLATE_NOOP("BookmarkStatus", "%1 players, ping %2");
inline constexpr char kStatusMap[] = QT_TRANSLATE_NOOP("BookmarkStatus", ", map %1");
inline constexpr char kStatusPassword[] = QT_TRANSLATE_NOOP("BookmarkStatus",
                                                            ", password required");
inline constexpr char kStatusFull[] = QT_TRANSLATE_NOOP("BookmarkStatus", ", full");
inline constexpr char kStatusVersion[] = QT_TRANSLATE_NOOP("BookmarkStatus", "version %1");
inline constexpr char kStatusMod[] = QT_TRANSLATE_NOOP("BookmarkStatus", "mod %1");
inline constexpr char kStatusRefused[] = QT_TRANSLATE_NOOP("BookmarkStatus", "refused");
inline constexpr char kStatusNoReply[] = QT_TRANSLATE_NOOP("BookmarkStatus", "no reply");
inline constexpr char kStatusOtherVersion[] = QT_TRANSLATE_NOOP("BookmarkStatus",
                                                                ", other version %1");
inline constexpr char kStatusOtherGame[] = QT_TRANSLATE_NOOP("BookmarkStatus",
                                                             ", another game: %1");
inline constexpr char kStatusNotSent[] = QT_TRANSLATE_NOOP("BookmarkStatus", "not sent");
inline constexpr char kStatusBadAddress[] = QT_TRANSLATE_NOOP("BookmarkStatus", "bad address");
inline constexpr char16_t kStatusWaiting[] = u"\u2026"; // an ellipsis: not known yet
// The figures, as the row shows them.
inline constexpr char kPlayersFigure[] = "%1/%2";
inline constexpr char kUnknownLimit[] = "?";
inline constexpr char kPingFigure[] = QT_TRANSLATE_NOOP("BookmarkStatus", "%1 ms");

struct BookmarkStatus
{
    enum class State { Waiting, Answered, Refused, NoReply, NotSent, BadAddress };

    // What an answering server said of itself.
    struct Server
    {
        int players = 0;             // player lines in the reply
        std::optional<qint64> limit; // sv_maxclients, when it is a count (statusCount)
        qint64 pingMs = 0;
        bool password = false; // pswrd or g_needpass is a non-zero number
        bool full = false;     // players >= sv_maxclients - sv_privateClients
        QString map;
        QString version;                 // shortversion
        QString mod;                     // fs_game
        std::optional<int> protocol;     // the game version it runs, when it says
        std::optional<GameId> namedGame; // the game its `gamename` names, when one of ours
        QStringList playerNames;
    };

    State state = State::Waiting;
    Server server;   // when Answered
    QString problem; // the platform's words when NotSent, the address check's when BadAddress

    static BookmarkStatus answered(const StatusReply &reply, std::chrono::microseconds roundTrip);
    // Whether the server has answered, with its status or with a refusal.
    static bool hasAnswered(State state)
    {
        return state == State::Answered || state == State::Refused;
    }
};

// "12/20", or "12/?" when the server did not say its limit.
QString playersFigure(const BookmarkStatus::Server &server);
// "45 ms".
QString pingFigure(const BookmarkStatus::Server &server);
// "12/20 players, ping 45 ms, map mp_harbor, password required, full", "refused", "no reply", ...
// Given the user's game and version, a server of another game adds ", another game: Call of Duty
// 2", one on another version ", other version 1.5"; given where the server is (a country's name,
// "LAN"), the words end with it: "no reply, Germany".
QString statusWords(const BookmarkStatus &status,
                    std::optional<PlayedVersion> played = std::nullopt, const QString &place = {});
// The other game the server plainly runs (otherGameOf).
std::optional<GameId> otherGame(const BookmarkStatus::Server &server, GameId played);
// Whether the server says it runs another game, or a version other than the user's.
bool runsOtherVersion(const BookmarkStatus::Server &server, PlayedVersion played);
// The words, and for an answering server its game version and mod on a line of their own: a
// version other than the user's is the likeliest reason a join fails.
QString statusToolTip(const BookmarkStatus &status,
                      std::optional<PlayedVersion> played = std::nullopt,
                      const QString &place = {});
// What a row shows in place of the figures for a server that gave none: "refused", "no reply",
// ..., an ellipsis while nothing is known; empty for an answer.
QString statusMark(BookmarkStatus::State state);

Q_DECLARE_METATYPE(BookmarkStatus)
