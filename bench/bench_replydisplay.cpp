// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's whole handling of one status reply (read, parse, fill the labels and lists,
// end the exchange) for a full 64-player server.
//
// Each iteration starts a real exchange with a server socket on 127.0.0.2 and lets it answer, so
// the reply already waits in the window's socket; only then is the clock started and the
// window's data-arrival handler called directly. That leaves out the ping, the send and the event
// loop's wake-up, which do not depend on the reply, and measures what does.
#include "fakestatusserver.h"
#include "windowharness.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

QByteArray fullServerReply()
{
    QStringList lines{QStringLiteral(
        R"(\g_gametype\sd\gamename\Call of Duty\mapname\mp_carentan\protocol\6\scr_friendlyfire\1)"
        R"(\scr_killcam\1\shortversion\1.5\sv_allowAnonymous\0\sv_floodProtect\1\sv_hostname\)"
        R"(^1Brine^7moor ^3Public ^7Search & Destroy\sv_maxclients\64\sv_maxPing\250)"
        R"(\sv_privateClients\4\sv_pure\1)")};
    for (int player = 0; player < 64; ++player)
        lines.append(QStringLiteral(R"(%1 %2 "^%3Sol^7%4")")
                         .arg(player * 3)
                         .arg(40 + player)
                         .arg(player % 8)
                         .arg(player, 2, 10, QLatin1Char('0')));
    return FakeStatusServer::statusReply(lines);
}

QUdpSocket *statusSocket(WindowHarness &harness)
{
    return harness.find<StatusExchange>("cod_query")->findChild<QUdpSocket *>();
}

// Lets a real exchange run up to the point where the reply waits in the window's socket.
// Loopback delivers at once, so the reply is there as soon as the server has sent it.
bool leaveReplyWaiting(WindowHarness &harness, QUdpSocket &server, const QByteArray &reply)
{
    harness.find<QAction>("menu_update")->trigger();
    if (!server.waitForReadyRead(1000))
        return false;
    const QNetworkDatagram request = server.receiveDatagram();
    server.writeDatagram(reply, request.senderAddress(), quint16(request.senderPort()));
    return statusSocket(harness)->hasPendingDatagrams();
}

void BM_ReplyDisplay(benchmark::State &state)
{
    WindowHarness harness;
    harness.storeGamePath();
    harness.pinger.roundTrip = std::chrono::milliseconds(30);
    harness.start();
    QUdpSocket server;
    server.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0);
    harness.find<QLineEdit>("server_ip")
        ->setText(QStringLiteral("127.0.0.2:%1").arg(server.localPort()));
    const QByteArray reply = fullServerReply();
    state.SetLabel(QStringLiteral("%1-byte reply").arg(reply.size()).toStdString());

    for (auto _ : state) {
        if (!leaveReplyWaiting(harness, server, reply)) {
            state.SkipWithError("no reply reached the window");
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        emit statusSocket(harness)->readyRead(); // handled at once, in this thread
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
    if (harness.find<QLabel>("lbl_players")->text() != QStringLiteral("Players: 64/64"))
        state.SkipWithError("the reply was not shown");
}
BENCHMARK(BM_ReplyDisplay)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
