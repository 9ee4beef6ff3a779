// SPDX-License-Identifier: GPL-3.0-or-later
#include "lannamespaces.h"

#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace {

#ifdef Q_OS_LINUX
int openThreadNamespace()
{
    return ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
}

bool isSameNamespace(int one, int other)
{
    struct stat a = {}, b = {};
    return ::fstat(one, &a) == 0 && ::fstat(other, &b) == 0 && a.st_dev == b.st_dev
        && a.st_ino == b.st_ino;
}

QString systemError(const char *call)
{
    return QString::fromLatin1(call) + QStringLiteral(": ")
        + QString::fromLocal8Bit(strerror(errno));
}
#endif

} // namespace

LanNamespaces::LanNamespaces()
{
#ifdef Q_OS_LINUX
    if (::geteuid() != 0) {
        m_permitted = false;
        m_problem = QStringLiteral(
            "a LAN of the test's own needs network namespaces, which need root");
        return;
    }
    const QString pid = QString::number(QCoreApplication::applicationPid());
    m_nearInterface = QStringLiteral("bmn") + pid;
    const QString far = QStringLiteral("bmf") + pid;
    if (!makeNamespaces())
        return;
    const QString farPath = QStringLiteral("/proc/%1/fd/%2").arg(pid).arg(m_far);
    const bool made = run({QStringLiteral("link set lo up"),
                           QStringLiteral("link add %1 type veth peer name %2 netns %3")
                               .arg(m_nearInterface, far, farPath),
                           // No broadcast address: it is taken to be the network's last.
                           QStringLiteral("addr add 10.77.0.1/24 dev ") + m_nearInterface,
                           QStringLiteral("link set %1 up").arg(m_nearInterface),
                           // The stranger's datagrams come in by the way a reply to it would go.
                           QStringLiteral("route add 10.78.0.0/24 dev ") + m_nearInterface,
                           QStringLiteral("link add bmd%1 type veth peer name bme%1").arg(pid),
                           QStringLiteral("addr add 10.79.0.1/24 broadcast + dev bmd") + pid})
        && onFarSide([&] {
                          return run(
                              {QStringLiteral("link set lo up"),
                               QStringLiteral("addr add 10.77.0.2/24 broadcast + dev ") + far,
                               QStringLiteral("addr add 10.78.0.2/24 dev ") + far,
                               QStringLiteral("link set %1 up").arg(far)});
                      });
    if (made)
        waitUntilRunning();
#else
    m_permitted = false;
    m_problem = QStringLiteral("a LAN of the test's own needs Linux's network namespaces");
#endif
}

LanNamespaces::~LanNamespaces()
{
#ifdef Q_OS_LINUX
    if (m_home >= 0)
        enter(m_home);
    for (const int ns : {m_home, m_near, m_far}) {
        if (ns >= 0)
            ::close(ns);
    }
#endif
}

// Each namespace is made by unshare() from where the thread started; no command runs until both
// are known to be new, so none ever changes this machine's own.
bool LanNamespaces::makeNamespaces()
{
#ifdef Q_OS_LINUX
    m_home = openThreadNamespace();
    if (m_home < 0) {
        m_problem = systemError("open /proc/thread-self/ns/net");
        return false;
    }
    for (int *ns : {&m_far, &m_near}) {
        enter(m_home);
        if (::unshare(CLONE_NEWNET) != 0) {
            m_permitted = errno != EPERM;
            m_problem = systemError("unshare(CLONE_NEWNET)");
            enter(m_home);
            return false;
        }
        *ns = openThreadNamespace();
    }
    if (m_near < 0 || m_far < 0 || isSameNamespace(m_near, m_home)
        || isSameNamespace(m_far, m_home)) {
        m_problem = QStringLiteral("the new namespaces could not be opened");
        enter(m_home);
        return false;
    }
    return true;
#else
    return false;
#endif
}

// One `ip -batch` in the namespace the thread is in; it stops at the first command that fails.
bool LanNamespaces::run(const QStringList &commands)
{
    const QString ip = QStandardPaths::findExecutable(
        QStringLiteral("ip"),
        {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"), QStringLiteral("/usr/bin"),
         QStringLiteral("/bin")});
    if (ip.isEmpty()) {
        m_problem = QStringLiteral("no ip command (iproute2)");
        return false;
    }
    QProcess process;
    process.start(ip, {QStringLiteral("-batch"), QStringLiteral("-")});
    process.write(commands.join(u'\n').toLocal8Bit() + '\n');
    process.closeWriteChannel();
    if (!process.waitForFinished(10'000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        m_problem = QStringLiteral("ip -batch: ")
            + QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return false;
    }
    return true;
}

// The kernel tells that the link is up a moment after both ends are.
void LanNamespaces::waitUntilRunning()
{
    const bool running = QTest::qWaitFor(
        [this] {
            return QNetworkInterface::interfaceFromName(m_nearInterface)
                .flags()
                .testFlag(QNetworkInterface::IsRunning);
        },
        10'000);
    if (!running)
        m_problem = m_nearInterface + QStringLiteral(" never ran");
}

void LanNamespaces::enter(int ns)
{
#ifdef Q_OS_LINUX
    if (ns >= 0 && ::setns(ns, CLONE_NEWNET) != 0)
        qFatal("setns: %s", strerror(errno)); // a thread left in the wrong namespace misleads all
#else
    Q_UNUSED(ns);
#endif
}

namespace {

QByteArray infoResponse(const QString &name)
{
    return "\xff\xff\xff\xffinfoResponse\n\\protocol\\1\\hostname\\" + name.toLatin1()
        + "\\clients\\0";
}

QByteArray statusResponse(const QString &name)
{
    return "\xff\xff\xff\xffstatusResponse\n\\sv_hostname\\" + name.toLatin1()
        + "\\sv_maxclients\\8\\protocol\\1\\mapname\\mp_harbor\n";
}

} // namespace

FakeLanServer::FakeLanServer(quint16 port, const QString &name, InfoSender infoSender)
    : m_info(infoResponse(name)),
      m_status(statusResponse(name)),
      m_infoDelay(infoSender.delay)
{
    // Shared, so that a stranger can answer from one of the far side's addresses at this port.
    m_socket.setProxy(QNetworkProxy::NoProxy);
    if (!m_socket.bind(QHostAddress::AnyIPv4, port, QAbstractSocket::ShareAddress))
        QTest::qFail(qPrintable(QStringLiteral("LAN server not bound: ") + m_socket.errorString()),
                     __FILE__, __LINE__);
    if (!infoSender.address.isNull()) {
        m_stranger = std::make_unique<QUdpSocket>();
        m_stranger->setProxy(QNetworkProxy::NoProxy);
        if (!m_stranger->bind(infoSender.address, infoSender.port, QAbstractSocket::ShareAddress))
            QTest::qFail(
                qPrintable(QStringLiteral("stranger not bound: ") + m_stranger->errorString()),
                __FILE__, __LINE__);
    }
    connect(&m_socket, &QUdpSocket::readyRead, this, &FakeLanServer::readRequests);
}

void FakeLanServer::readRequests()
{
    while (m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram request = m_socket.receiveDatagram();
        received.append(request.data());
        const QHostAddress from = request.senderAddress();
        const auto fromPort = quint16(request.senderPort());
        if (request.data().startsWith("\xff\xff\xff\xffgetinfo"))
            QTimer::singleShot(m_infoDelay, Qt::PreciseTimer, this,
                               [this, from, fromPort] { sendInfo(from, fromPort); });
        else if (request.data().startsWith("\xff\xff\xff\xffgetstatus"))
            m_socket.writeDatagram(m_status, from, fromPort);
    }
}

void FakeLanServer::sendInfo(const QHostAddress &to, quint16 toPort)
{
    (m_stranger ? *m_stranger : m_socket).writeDatagram(m_info, to, toPort);
    ++infoSent;
}
