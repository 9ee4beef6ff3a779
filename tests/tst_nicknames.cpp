// SPDX-License-Identifier: GPL-3.0-or-later
// The clan nickname step of start-up: the page format, the page's text encoding, and the fetch
// against a real HTTP server on loopback that serves a page, an error, or nothing.
#include "clan/clannicknames.h"
#include "clan/pagefetch.h"
#include "windowharness.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

const QByteArray kAceBoPage = "start<br>Ace,AceX<br>Bo,BoY<br>end";

QByteArray httpResponse(const QByteArray &statusLine, const QByteArray &contentType,
                        const QByteArray &body)
{
    return "HTTP/1.1 " + statusLine + "\r\nContent-Type: " + contentType + "\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// A page of `size` bytes that lists Ace and Bo, filled up with a word that no separator ends.
QByteArray aceBoPageOfSize(qsizetype size)
{
    const QByteArray head = "start<br>Ace,AceX<br>Bo,BoY<br>";
    return head + QByteArray(size - head.size() - 3, 'x') + "end";
}

// A web server on 127.0.0.1 that answers every request with one fixed response, or never answers
// when the response is empty. An endless server sends the response and then more body for as long
// as the client takes it. Records the head of each request.
class FakeClanServer final : public QObject
{
public:
    explicit FakeClanServer(QByteArray response, bool endless = false)
        : m_response(std::move(response)),
          m_endless(endless)
    {
        connect(&m_server, &QTcpServer::newConnection, this, &FakeClanServer::accept);
        QVERIFY(m_server.listen(QHostAddress(QStringLiteral("127.0.0.1"))));
    }

    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }

    int connections = 0;
    QList<QByteArray> requests;

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            ++connections;
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        }
    }

    void answer(QTcpSocket *socket)
    {
        QByteArray &head = m_pending[socket];
        head += socket->readAll();
        const qsizetype end = head.indexOf("\r\n\r\n");
        if (end < 0 || m_response.isEmpty())
            return;
        requests.append(head.left(end));
        socket->write(m_response);
        if (!m_endless) {
            socket->disconnectFromHost();
            return;
        }
        connect(socket, &QTcpSocket::bytesWritten, this, [socket] {
            if (socket->bytesToWrite() < 65536)
                socket->write(QByteArray(65536, 'x'));
        });
    }

    QTcpServer m_server;
    QByteArray m_response;
    bool m_endless = false;
    QHash<QTcpSocket *, QByteArray> m_pending;
};

// The entry chosen in the in-game names: the found one while they reach that far.
int playerChosen(const ClanNicknames &nicknames)
{
    return nicknames.found && *nicknames.found < nicknames.playerNames.size()
        ? int(*nicknames.found)
        : -1;
}

} // namespace

class TestNicknames : public QObject
{
    Q_OBJECT

private slots:
    void startUpSelectsTheNickname_data();
    void startUpSelectsTheNickname();
    void failedFetchIsSilent_data();
    void failedFetchIsSilent();
    void noFetchWithoutANickname_data();
    void noFetchWithoutANickname();
    void clanHostFromStoreOrDefault_data();
    void clanHostFromStoreOrDefault();

private:
    // A harness with a game path, one bookmark and, when `storedHost` is not empty, the clan host.
    static void prepare(WindowHarness &harness, const QString &storedHost);
};

void TestNicknames::prepare(WindowHarness &harness, const QString &storedHost)
{
    harness.storeGamePath();
    const auto store = harness.reopenStore();
    store->write(QStringLiteral("A server"), QStringLiteral("ip"),
                 QStringLiteral("127.0.0.21:28960"));
    if (!storedHost.isEmpty())
        store->write(QStringLiteral("settings"), QStringLiteral("clanhost"), storedHost);
}

void TestNicknames::startUpSelectsTheNickname_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("clanNicknames");
    QTest::addColumn<QStringList>("playerNames");
    QTest::addColumn<int>("clanIndex");
    QTest::addColumn<int>("playerIndex");
    QTest::addColumn<QString>("titleSuffix"); // after the version title
    QTest::addColumn<QStringList>("messages");

    const QByteArray html = "text/html";
    const QStringList aces{"Ace", "Bo"};
    const QStringList aceXs{"AceX", "BoY"};
    QTest::newRow("page's spelling in the title")
        << html << kAceBoPage << "/nick:bo" << aces << aceXs << 1 << 1 << " (Bo)" << QStringList{};
    QTest::newRow("not listed") << html << kAceBoPage << "/nick:Cy" << aces << aceXs << -1 << -1
                                << "" << QStringList{"Nickname not found"};
    QTest::newRow("page of exactly 1 MiB") << html << aceBoPageOfSize(1048576) << "/nick:bo" << aces
                                           << aceXs << 1 << 1 << " (Bo)" << QStringList{};
    QTest::newRow("later line wins")
        << html << QByteArray("start<br>Bo,B1<br>bo,B2<br>end") << "/nick:BO"
        << QStringList{"Bo", "bo"} << QStringList{"B1", "B2"} << 1 << 1 << " (bo)" << QStringList{};
    QTest::newRow("in-game names run short")
        << html << QByteArray("start<br>Ace,AceX<br>Bo,BoYend") << "/nick:bo" << aces
        << QStringList{"AceX"} << 1 << -1 << " (Bo)" << QStringList{};
    QTest::newRow("blanks after the switch kept")
        << html << QByteArray("start<br> Bo,BoY<br>end") << "/nick: bo" << QStringList{" Bo"}
        << QStringList{"BoY"} << 0 << 0 << " ( Bo)" << QStringList{};
    QTest::newRow("Latin-1 page") << html << QByteArray("start<br>Zo\xeb,Z<br>end")
                                  << QStringLiteral("/nick:zoë") << QStringList{"Zo\u00eb"}
                                  << QStringList{"Z"} << 0 << 0 << QStringLiteral(" (Zoë)")
                                  << QStringList{};
    QTest::newRow("UTF-8 page") << QByteArray("text/html; charset=utf-8")
                                << QByteArray("start<br>Zo\xc3\xab,Z<br>end")
                                << QStringLiteral("/nick:ZOË") << QStringList{"Zo\u00eb"}
                                << QStringList{"Z"} << 0 << 0 << QStringLiteral(" (Zoë)")
                                << QStringList{};
}

void TestNicknames::startUpSelectsTheNickname()
{
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, page);
    QFETCH(QString, commandLine);
    QFETCH(QStringList, clanNicknames);
    QFETCH(QStringList, playerNames);
    QFETCH(int, clanIndex);
    QFETCH(int, playerIndex);
    QFETCH(QString, titleSuffix);
    QFETCH(QStringList, messages);

    FakeClanServer server(httpResponse("200 OK", contentType, page));
    WindowHarness harness;
    prepare(harness, server.host());
    StartOptions options;
    options.commandLine = commandLine;
    options.pageFetchTimeout = 5s;
    harness.dialogs.answerNext(Dialogs::Answer::Ok, messages.size());
    Brinemoor &window = harness.start(options);

    QCOMPARE(server.requests.size(), 1);
    QVERIFY2(server.requests.first().startsWith("GET /cod/index.php?action=cod_codes HTTP/1.1\r\n"),
             server.requests.first().constData());
    const ClanNicknames &lists = window.clanNicknames();
    QCOMPARE(lists.clanNicknames, clanNicknames);
    QCOMPARE(lists.playerNames, playerNames);
    QCOMPARE(int(lists.found.value_or(-1)), clanIndex);
    QCOMPARE(playerChosen(lists), playerIndex);
    QCOMPARE(window.windowTitle(), WindowHarness::versionTitle() + titleSuffix);
    QCOMPARE(harness.dialogs.texts(), messages);
    for (const ScriptedDialogs::Shown &shown : std::as_const(harness.dialogs.messages)) {
        QCOMPARE(shown.buttons, Dialogs::Buttons::Ok);
        QCOMPARE(shown.icon, Dialogs::Icon::None);
        QCOMPARE(shown.parent, &window); // shown during start-up, yet owned by the window
    }
    QCOMPARE(harness.bookmarkRows().size(), 1);
}

// Redirected: the server sends the client on to a second one, which gives the response.
enum class ServerKind { Answers, Redirected, Endless, Silent, Refuses, NoHost };

// Silent for the user; the log tells why nothing was used, the fetch's own failures as warnings.
void TestNicknames::failedFetchIsSilent_data()
{
    QTest::addColumn<ServerKind>("kind");
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<QString>("warning"); // a pattern; empty: no warning

    const QByteArray html = "text/html";
    const QString fetched = QStringLiteral("^clan page from 127\\.0\\.0\\.1:\\d+: ");
    QTest::newRow("not found status")
        << ServerKind::Answers << httpResponse("404 Not Found", html, kAceBoPage)
        << fetched + "HTTP 404, .* - not used: .*Not Found";
    QTest::newRow("redirect: the log names the host whose page was used")
        << ServerKind::Redirected << httpResponse("404 Not Found", html, kAceBoPage)
        << "^clan page from %1: HTTP 404, .* - not used: .*Not Found";
    QTest::newRow("server error status")
        << ServerKind::Answers << httpResponse("500 Internal Server Error", html, kAceBoPage)
        << fetched + "HTTP 500, .* - not used: ";
    QTest::newRow("no markers") << ServerKind::Answers
                                << httpResponse("200 OK", html, "<html>Ace,AceX<br></html>") << "";
    QTest::newRow("markers, shorter than 12")
        << ServerKind::Answers << httpResponse("200 OK", html, "startBo,end") << "";
    QTest::newRow("empty page") << ServerKind::Answers << httpResponse("200 OK", html, "") << "";
    // The page is cut off at the cap, during the transfer, not by the time bound.
    const QString overCap = fetched
        + "HTTP 200, 1048577 bytes in \\d+ ms - not used: larger than "
          "1048576 bytes$";
    QTest::newRow("page over 1 MiB")
        << ServerKind::Answers << httpResponse("200 OK", html, aceBoPageOfSize(1048577)) << overCap;
    QTest::newRow("page without end")
        << ServerKind::Endless
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\nstart<br>Bo,BoY<br>")
        << overCap;
    QTest::newRow("no answer within the bound") << ServerKind::Silent << QByteArray()
                                                << fetched
            + "HTTP 0, 0 bytes in ([3-9]\\d\\d|\\d{4,}) ms - not used: no answer within 300 ms$";
    QTest::newRow("refused connection") << ServerKind::Refuses << QByteArray()
                                        << fetched + "HTTP 0, .* - not used: Connection refused";
    QTest::newRow("no clan host at all")
        << ServerKind::NoHost << QByteArray() << "^no clan page fetched: no usable address";
}

void TestNicknames::failedFetchIsSilent()
{
    QFETCH(ServerKind, kind);
    QFETCH(QByteArray, response);
    QFETCH(QString, warning);

    std::optional<FakeClanServer> target;
    if (kind == ServerKind::Redirected) {
        target.emplace(response);
        response = "HTTP/1.1 302 Found\r\nLocation: http://" + target->host().toLatin1()
            + "/cod/index.php?action=cod_codes\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        warning = warning.arg(QRegularExpression::escape(target->host()));
    }
    std::optional<FakeClanServer> server(std::in_place, response, kind == ServerKind::Endless);
    QString host = server->host();
    if (kind == ServerKind::Refuses)
        server.reset(); // nothing listens on its port any more
    else if (kind == ServerKind::NoHost)
        host.clear();
    WindowHarness harness;
    prepare(harness, host);
    StartOptions options;
    options.commandLine = QStringLiteral("/nick:bo");
    options.pageFetchTimeout = kind == ServerKind::Silent ? 300ms : 5s;
    if (warning.isEmpty())
        QTest::failOnWarning(QRegularExpression(QStringLiteral("clan page")));
    else
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
    Brinemoor &window = harness.start(options);

    if (kind == ServerKind::Answers)
        QCOMPARE(server->requests.size(), 1);
    if (kind == ServerKind::Silent)
        QCOMPARE(server->connections, 1);
    QVERIFY(window.clanNicknames().clanNicknames.isEmpty());
    QVERIFY(window.clanNicknames().playerNames.isEmpty());
    QCOMPARE(window.windowTitle(), WindowHarness::versionTitle());
    QCOMPARE(harness.dialogs.texts(), QStringList{});
    QCOMPARE(harness.bookmarkRows().size(), 1);
}

void TestNicknames::noFetchWithoutANickname_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("switch without a nickname") << "/nick:";
    QTest::newRow("switch in capitals") << "/NICK:bo";
    QTest::newRow("blank before the switch") << " /nick:bo";
}

void TestNicknames::noFetchWithoutANickname()
{
    QFETCH(QString, commandLine);
    FakeClanServer server(httpResponse("200 OK", "text/html", kAceBoPage));
    WindowHarness harness;
    prepare(harness, server.host());
    StartOptions options;
    options.commandLine = commandLine;
    options.pageFetchTimeout = 5s;
    Brinemoor &window = harness.start(options);

    // A fetch would have been served before start-up returned; let a stray connection show too.
    QCoreApplication::processEvents();
    QCOMPARE(server.connections, 0);
    QVERIFY(window.clanNicknames().clanNicknames.isEmpty());
    QCOMPARE(window.windowTitle(), WindowHarness::versionTitle());
    QCOMPARE(harness.dialogs.texts(), QStringList{});
}

void TestNicknames::clanHostFromStoreOrDefault_data()
{
    QTest::addColumn<bool>("hostInStore");
    QTest::newRow("store's host wins") << true;
    QTest::newRow("built-in host without one in the store") << false;
}

void TestNicknames::clanHostFromStoreOrDefault()
{
    QFETCH(bool, hostInStore);
    FakeClanServer stored(httpResponse("200 OK", "text/html", kAceBoPage));
    FakeClanServer builtIn(httpResponse("200 OK", "text/html", kAceBoPage));
    WindowHarness harness;
    prepare(harness, hostInStore ? stored.host() : QString());
    StartOptions options;
    options.commandLine = QStringLiteral("/nick:bo");
    options.pageFetchTimeout = 5s;
    options.defaultClanHost = builtIn.host();
    Brinemoor &window = harness.start(options);

    QCOMPARE(stored.requests.size(), hostInStore ? 1 : 0);
    QCOMPARE(builtIn.requests.size(), hostInStore ? 0 : 1);
    QCOMPARE(window.windowTitle(), WindowHarness::versionTitle() + QStringLiteral(" (Bo)"));
    // The program only reads the clan host; it never writes it.
    QCOMPARE(harness.reopenStore()->read(QStringLiteral("settings"), QStringLiteral("clanhost")),
             hostInStore ? stored.host() : QString());
}

QTEST_MAIN(TestNicknames)
#include "tst_nicknames.moc"
