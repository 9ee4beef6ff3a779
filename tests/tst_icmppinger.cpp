// SPDX-License-Identifier: GPL-3.0-or-later
// The ICMP echo on this machine's own sockets, against loopback only.
#include "platform/icmppinger.h"

#include <QSignalSpy>
#include <QThread>
#include <QTest>

#ifdef Q_OS_LINUX
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

using namespace std::chrono_literals;

namespace {

// The echo needs a ping socket (net.ipv4.ping_group_range) or a raw one (root or CAP_NET_RAW).
bool echoSocketAvailable()
{
#ifdef Q_OS_LINUX
    for (const int type : {SOCK_DGRAM, SOCK_RAW}) {
        const int fd = ::socket(AF_INET, type, IPPROTO_ICMP);
        if (fd >= 0) {
            ::close(fd);
            return true;
        }
    }
    return false;
#else
    return true;
#endif
}

// Sends one echo and waits for its one report, which must never come from inside start(). `busy`
// holds the event loop up before the reply can be read.
std::optional<std::chrono::microseconds> echo(const QString &host, std::chrono::milliseconds wait,
                                              std::chrono::milliseconds busy = {})
{
    IcmpPinger pinger;
    const std::unique_ptr<EchoProbe> probe = pinger.start(host, wait);
    QSignalSpy finished(probe.get(), &EchoProbe::finished);
    QThread::msleep(quint64(busy.count()));
    if (!finished.isEmpty())
        QTest::qFail("the echo reported from inside start()", __FILE__, __LINE__);
    if (!finished.wait(int(wait.count()) + 2000))
        QTest::qFail("the echo never reported", __FILE__, __LINE__);
    QTest::qWait(20);
    if (finished.size() != 1)
        QTest::qFail("the echo reported more than once", __FILE__, __LINE__);
    return finished.isEmpty()
        ? std::nullopt
        : finished.constFirst().constFirst().value<std::optional<std::chrono::microseconds>>();
}

} // namespace

class TestIcmpPinger : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void loopbackAnswers_data();
    void loopbackAnswers();
    void repeatedEchoes();
    void zeroWaitGivesNoEcho();
    void notADottedAddress_data();
    void notADottedAddress();
};

// The program makes its pinger at start-up, long before its first echo: the kernel turns arrival
// stamps on a moment after the pinger asks for them.
void TestIcmpPinger::initTestCase()
{
    const IcmpPinger early;
    QTest::qWait(100);
}

void TestIcmpPinger::init()
{
    if (!echoSocketAvailable())
        QSKIP("neither a ping socket nor a raw ICMP socket can be opened here");
}

void TestIcmpPinger::loopbackAnswers_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("busyMs"); // the event loop is held up this long before it reads
    QTest::addColumn<int>("boundMs");

    QTest::newRow("127.0.0.1") << "127.0.0.1" << 0 << 2000;
    QTest::newRow("another loopback address") << "127.0.0.7" << 0 << 2000;
    QTest::newRow("leading zeros") << "127.000.000.010" << 0 << 2000;
    // Loopback answers within a tenth of a millisecond; the wait to read the reply is no part of
    // the round trip.
    QTest::newRow("busy event loop") << "127.0.0.1" << 30 << 2;
}

void TestIcmpPinger::loopbackAnswers()
{
    QFETCH(QString, host);
    QFETCH(int, busyMs);
    QFETCH(int, boundMs);

    const auto roundTrip = echo(host, 2000ms, std::chrono::milliseconds(busyMs));
    QVERIFY(roundTrip);
    QVERIFY(*roundTrip >= 0us);
    QVERIFY2(*roundTrip < std::chrono::milliseconds(boundMs),
             qPrintable(QString::number(roundTrip->count())));
}

// Each echo must match its own reply, not one left over from the echo before it.
void TestIcmpPinger::repeatedEchoes()
{
    for (int i = 0; i < 5; ++i)
        QVERIFY(echo(QStringLiteral("127.0.0.1"), 2000ms));
}

// Loopback answers within microseconds, yet a wait of zero must not wait for it.
void TestIcmpPinger::zeroWaitGivesNoEcho()
{
    QVERIFY(!echo(QStringLiteral("127.0.0.1"), 0ms));
}

// Each text would reach loopback if it were misread, so a wrong parse shows as an answer.
void TestIcmpPinger::notADottedAddress_data()
{
    QTest::addColumn<QString>("host");

    QTest::newRow("empty") << "";
    QTest::newRow("host name") << "localhost";
    QTest::newRow("three parts") << "127.0.1";
    QTest::newRow("five parts") << "127.0.0.1.1";
    QTest::newRow("with port") << "127.0.0.1:28960";
    QTest::newRow("octet above 255") << "127.0.0.257";
    QTest::newRow("four digits above 255") << "127.0.0.1000";
    QTest::newRow("leading zero, not an octal number") << "127.0.0.08";
    QTest::newRow("empty part") << "127..0.1";
    QTest::newRow("blank in front") << " 127.0.0.1";
    QTest::newRow("hexadecimal") << "0x7f.0.0.1";
    QTest::newRow("signed octet") << "127.0.0.+1";
    QTest::newRow("non-ASCII digits") << QStringLiteral("\u0661\u0662\u0667.0.0.1");
}

void TestIcmpPinger::notADottedAddress()
{
    QFETCH(QString, host);

    QVERIFY(!echo(host, 2000ms));
}

QTEST_GUILESS_MAIN(TestIcmpPinger)
#include "tst_icmppinger.moc"
