// SPDX-License-Identifier: GPL-3.0-or-later
// The server browser against a master that lists 2,000 (or 4,000) servers in 4 datagrams, of
// which three quarters answer 50 ms after each request and the rest stay silent: from the
// master's last datagram until every answering row is filled, and until every silent one reads
// "no reply"; the memory each listed server costs; and either the main thread's CPU time from the
// window's making until then (the fake servers answer from a thread of their own) or, in a run
// of its own since its ticks cost CPU too, the longest the event loop was held meanwhile, and by
// how much of its own work. Then sorting 2,000 rows by players
// and one keystroke in the filter, on the window as it is shown. Last, two servers on a LAN of the
// benchmark's own (network namespaces, so as root only): from the click on "LAN" until both rows
// show their status.
#include "app/findservers.h"
#include "settings/appsettings.h"
#include "storage/keyvaluestore.h"
#include "fakemaster.h"
#include "fakeserverfarm.h"
#include "fakestatusserver.h"
#include "lannamespaces.h"
#include "scripteddialogs.h"
#include "servers/serverbrowser.h"
#include "servers/serverlistmodel.h"
#include "stallmeter.h"

#include <benchmark/benchmark.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QHostAddress>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <unistd.h>

namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

constexpr int kServers = 2000; // the rows of the sort and filter benchmarks
constexpr int kDatagrams = 4;
constexpr milliseconds kServerDelay{50};

// A server of the game as its status replies name it.
QByteArray busyServer(GameId game)
{
    const Game &played = gameOf(game);
    QStringList lines{QStringLiteral(R"(\sv_hostname\^1Busy ^7Harbor\mapname\mp_harbor)"
                                     R"(\sv_maxclients\20\shortversion\%1\g_gametype\sd)"
                                     R"(\protocol\%2\gamename\%3)")
                          .arg(QLatin1String(played.versions.constFirst().name))
                          .arg(played.defaultProtocol)
                          .arg(QLatin1String(played.statusNames.constFirst()))};
    for (int player = 0; player < 12; ++player)
        lines.append(QStringLiteral(R"(%1 50 "Player %1")").arg(player));
    return FakeStatusServer::statusReply(lines);
}

// Every fourth server is silent: it is listed at a port where a socket takes datagrams and never
// reads them, so no refusal comes back either.
QList<QByteArray> masterDatagrams(int servers, quint16 answeringPort, quint16 silentPort)
{
    QList<QByteArray> datagrams;
    for (int d = 0; d < kDatagrams; ++d) {
        QList<ServerEndpoint> listed;
        for (int i = d * servers / kDatagrams; i < (d + 1) * servers / kDatagrams; ++i) {
            const QHostAddress host(
                QStringLiteral("127.0.%1.%2").arg(1 + i / 250).arg(1 + i % 250));
            listed.append(ServerEndpoint::of(host, i % 4 == 3 ? silentPort : answeringPort));
        }
        datagrams.append(masterDatagram(listed, d == kDatagrams - 1 ? kMasterEof : kMasterEot));
    }
    return datagrams;
}

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

quint16 portOf(const QString &address)
{
    return address.section(u':', 1).toUShort();
}

void browse(benchmark::State &state)
{
    const int servers = int(state.range(0));
    const bool meterStalls = state.range(1) != 0;
    const auto game = GameId(state.range(2));
    FakeServerFarm farm(busyServer(game), kServerDelay);
    QUdpSocket silent;
    QUdpSocket master;
    if (!farm.isListening() || !silent.bind(QHostAddress::AnyIPv4, 0)
        || !master.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0)) {
        state.SkipWithError("the fake servers could not listen");
        return;
    }
    const QList<QByteArray> list = masterDatagrams(servers, portOf(farm.addressText(0)),
                                                   silent.localPort());
    steady_clock::time_point lastDatagram;
    qint64 residentBefore = 0;
    QObject::connect(&master, &QUdpSocket::readyRead, &master, [&] {
        const QNetworkDatagram request = master.receiveDatagram(65536);
        residentBefore = residentBytes();
        for (const QByteArray &datagram : list)
            master.writeDatagram(datagram, request.senderAddress(), quint16(request.senderPort()));
        lastDatagram = steady_clock::now();
    });
    ScriptedDialogs dialogs;
    double answeredSeconds = 0, silentSeconds = 0, bytesPerServer = 0;
    StallMeter stalls;
    CpuMeter cpu;
    for (auto _ : state) {
        cpu.start();
        QTemporaryDir cache;
        const std::unique_ptr<KeyValueStore> store = openIniStore(
            cache.filePath(QStringLiteral("b.ini")));
        store->write(AppSettings::sectionName(), AppSettings::mastersKey(game),
                     QStringLiteral("127.0.0.1:%1").arg(master.localPort()));
        AppSettings settings(*store);
        ServerBrowser listed(settings, {{}, {}, {}, cache.path(), game});
        FindServers browser(dialogs, listed);
        ServerListModel *rows = &listed.servers();
        steady_clock::time_point answered, settled;
        QObject::connect(rows, &QAbstractItemModel::dataChanged, rows, [&] {
            const auto now = steady_clock::now();
            if (rows->answered() == servers * 3 / 4 && answered == steady_clock::time_point())
                answered = now;
            if (rows->settled() == servers && settled == steady_clock::time_point())
                settled = now;
        });
        browser.show(); // the window's first drawing is not the list's work
        if (!QTest::qWaitForWindowExposed(&browser))
            state.SkipWithError("the window was not shown");
        if (meterStalls)
            stalls.start();
        browser.open();
        while (settled == steady_clock::time_point())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (meterStalls)
            stalls.stop();
        cpu.stop();
        const double seconds = duration<double>(settled - lastDatagram).count();
        state.SetIterationTime(seconds);
        answeredSeconds = std::max(answeredSeconds,
                                   duration<double>(answered - lastDatagram).count());
        silentSeconds = std::max(silentSeconds, seconds);
        bytesPerServer = std::max(bytesPerServer,
                                  double(residentBytes() - residentBefore) / servers);
    }
    state.counters["answering_rows_s"] = answeredSeconds;
    state.counters["silent_rows_s"] = silentSeconds;
    if (meterStalls)
        stalls.addCounters(state);
    else
        cpu.addCounters(state);
    state.counters["bytes_per_server"] = bytesPerServer;
}

BENCHMARK(browse)
    ->ArgNames({"servers", "stalls", "game"})
    ->ArgsProduct({{2000, 4000}, {0, 1}, {int(GameId::Cod)}})
    ->Args({2000, 0, int(GameId::Cod2)})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// 2,000 answered rows on a shown window, as a list just fetched would leave them.
QList<FoundServer> answeredServers()
{
    QList<FoundServer> servers;
    const StatusReply reply = *parseStatusReply(busyServer(GameId::Cod));
    for (int i = 0; i < kServers; ++i) {
        FoundServer server;
        server.address = {0x08000000u + quint32(i), 28960};
        StatusReply varied = reply;
        varied.players = reply.players.first(i % 13);
        varied.playerFigures = reply.playerFigures.first(i % 13);
        server.take(varied, microseconds(1000 * (i % 300)));
        server.name += QString::number(i);
        servers.append(server);
    }
    return servers;
}

struct ShownBrowser
{
    ShownBrowser()
    {
        servers.servers().setServers(answeredServers());
        browser.show();
        exposed = QTest::qWaitForWindowExposed(&browser);
    }

    ScriptedDialogs dialogs;
    QTemporaryDir cache;
    const std::unique_ptr<KeyValueStore> store{
        openIniStore(cache.filePath(QStringLiteral("b.ini")))};
    AppSettings settings{*store};
    ServerBrowser servers{settings, {{}, {}, {}, cache.path(), GameId::Cod}};
    FindServers browser{dialogs, servers};
    QTableView &table = *browser.findChild<QTableView *>(QStringLiteral("servers"));
    bool exposed = false;
};

void sortByPlayers(benchmark::State &state)
{
    ShownBrowser shown;
    Qt::SortOrder order = Qt::AscendingOrder;
    for (auto _ : state) {
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        shown.table.sortByColumn(ServerListModel::Players, order);
        QCoreApplication::processEvents();
        shown.table.viewport()->repaint();
    }
}

BENCHMARK(sortByPlayers)->Unit(benchmark::kMillisecond);

void filterKeystroke(benchmark::State &state)
{
    ShownBrowser shown;
    auto *filter = shown.browser.findChild<QLineEdit *>(QStringLiteral("filter"));
    for (auto _ : state) {
        QTest::keyClick(filter, Qt::Key_H); // "h" matches many rows, "" all of them
        QCoreApplication::processEvents();
        shown.table.viewport()->repaint();
        state.PauseTiming();
        filter->clear();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(filterKeystroke)->Unit(benchmark::kMillisecond);

void lanServersListed(benchmark::State &state)
{
    LanNamespaces lan;
    if (!lan.problem().isEmpty()) {
        state.SkipWithError(qPrintable(lan.problem()));
        return;
    }
    const auto servers = lan.onFarSide([] {
        return std::array{std::make_unique<FakeLanServer>(28960, QStringLiteral("Basement")),
                          std::make_unique<FakeLanServer>(28961, QStringLiteral("Attic"))};
    });
    ScriptedDialogs dialogs;
    double slowest = 0;
    for (auto _ : state) {
        QTemporaryDir folder;
        const std::unique_ptr<KeyValueStore> store = openIniStore(
            folder.filePath(QStringLiteral("b.ini")));
        // A master at a port of loopback where nothing listens: the defaults are never asked.
        store->write(AppSettings::sectionName(), AppSettings::mastersKey(GameId::Cod),
                     QStringLiteral("127.0.0.1:9"));
        AppSettings settings(*store);
        ServerBrowser listed(settings, {{}, {}, {}, folder.path(), GameId::Cod});
        FindServers browser(dialogs, listed);
        browser.show();
        if (!QTest::qWaitForWindowExposed(&browser))
            state.SkipWithError("the window was not shown");
        ServerListModel *rows = &listed.servers();
        steady_clock::time_point shown;
        QObject::connect(rows, &QAbstractItemModel::dataChanged, rows, [&] {
            if (rows->answered() == 2 && shown == steady_clock::time_point())
                shown = steady_clock::now();
        });
        const steady_clock::time_point clicked = steady_clock::now();
        browser.findChild<QCheckBox *>(QStringLiteral("lan"))->click();
        while (shown == steady_clock::time_point())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double seconds = duration<double>(shown - clicked).count();
        state.SetIterationTime(seconds);
        slowest = std::max(slowest, seconds);
        while (listed.isWorking()) // the next scan meets no answer of this one
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.counters["slowest_s"] = slowest;
}

BENCHMARK(lanServersListed)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
