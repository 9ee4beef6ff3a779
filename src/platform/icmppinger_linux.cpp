// SPDX-License-Identifier: GPL-3.0-or-later
// The echo on Linux: a ping or raw ICMP socket watched by the event loop.
#include "platform/icmppinger.h"
#include "platform/icmppinger_common.h"

#include <QRandomGenerator>
#include <QSocketNotifier>
#include <QtEndian>

#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>

using std::chrono::microseconds;
using std::chrono::milliseconds;

namespace {

using Clock = std::chrono::steady_clock;

// An unprivileged ping socket where net.ipv4.ping_group_range admits us, else a raw one (root or
// CAP_NET_RAW). On a ping socket the kernel sets the identifier and passes only our replies up;
// a raw socket sees every ICMP packet with its IP header, loopback's echo requests included.
class EchoSocket final
{
public:
    EchoSocket()
        : m_fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_ICMP))
    {
        if (m_fd < 0) {
            m_fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_ICMP);
            m_raw = true;
        }
        // The event loop may be busy when the reply arrives; the kernel's arrival time is free
        // of that wait (see keepArrivalStampsOn).
        const int on = 1;
        if (m_fd >= 0)
            ::setsockopt(m_fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    }
    ~EchoSocket() { close(); }
    Q_DISABLE_COPY_MOVE(EchoSocket)

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    bool isRaw() const { return m_raw; }
    // A raw socket gets a copy of every ICMP packet the host receives: it is closed once done.
    void close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
    bool m_raw = false;
};

// The kernel stamps packets as they arrive only while some socket asks for stamps. It turns
// stamping on a while after a socket first asks (in deferred work), and off once the last such
// socket closes. Each echo has a fresh socket, so its reply often came while stamping was off and
// got the time it was read, the event loop's wait and all: "Ping: 5" for a host 0.05 ms away. One
// socket that asks and stays open for the program's life keeps stamping on.
void keepArrivalStampsOn()
{
    static const int keeper = [] {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        if (fd >= 0)
            ::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
        return fd;
    }();
    Q_UNUSED(keeper);
}

struct EchoRequest
{
    sockaddr_in to{};
    quint16 identifier = 0;
    quint16 sequence = 0;
};

quint16 icmpChecksum(const icmphdr &header)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(&header);
    quint32 sum = 0;
    for (size_t i = 0; i < sizeof header; i += 2)
        sum += quint32(bytes[i]) << 8 | bytes[i + 1];
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return qToBigEndian(quint16(~sum));
}

// A header-only echo request: no payload, as the round trip needs none.
bool sendRequest(const EchoSocket &socket, const EchoRequest &request)
{
    icmphdr header{};
    header.type = ICMP_ECHO;
    header.un.echo.id = qToBigEndian(request.identifier);
    header.un.echo.sequence = qToBigEndian(request.sequence);
    header.checksum = icmpChecksum(header);
    const auto *to = reinterpret_cast<const sockaddr *>(&request.to);
    return ::sendto(socket.fd(), &header, sizeof header, 0, to, sizeof request.to)
        == ssize_t(sizeof header);
}

bool isReplyTo(const EchoSocket &socket, const EchoRequest &request, const unsigned char *packet,
               size_t size)
{
    if (socket.isRaw()) {
        const size_t ipHeader = size > 0 ? size_t(packet[0] & 0x0f) * 4 : 0;
        if (ipHeader < sizeof(iphdr) || size < ipHeader)
            return false;
        packet += ipHeader;
        size -= ipHeader;
    }
    if (size < sizeof(icmphdr))
        return false;
    icmphdr header;
    std::copy_n(packet, sizeof header, reinterpret_cast<unsigned char *>(&header));
    return header.type == ICMP_ECHOREPLY && header.code == 0
        && qFromBigEndian(header.un.echo.sequence) == request.sequence
        && (!socket.isRaw() || qFromBigEndian(header.un.echo.id) == request.identifier);
}

// One packet read from the socket, with how long it had waited there since the kernel took it.
struct Packet
{
    std::array<unsigned char, 576> bytes;
    ssize_t size = -1;
    sockaddr_in from{};
    Clock::duration queued{};
};

// The kernel stamps a packet with the wall clock, which may jump; only the short time since the
// stamp is taken from it, and the round trip itself from the monotonic clock.
Clock::duration queuedFor(msghdr &message)
{
    using std::chrono::system_clock;
    for (cmsghdr *control = CMSG_FIRSTHDR(&message); control;
         control = CMSG_NXTHDR(&message, control)) {
        if (control->cmsg_level != SOL_SOCKET || control->cmsg_type != SCM_TIMESTAMPNS)
            continue;
        timespec stamp{};
        std::memcpy(&stamp, CMSG_DATA(control), sizeof stamp);
        const system_clock::time_point arrived(std::chrono::duration_cast<system_clock::duration>(
            std::chrono::seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec)));
        return std::max(Clock::duration(0),
                        std::chrono::duration_cast<Clock::duration>(system_clock::now() - arrived));
    }
    return {};
}

void receive(const EchoSocket &socket, Packet &packet)
{
    iovec data{packet.bytes.data(), packet.bytes.size()};
    alignas(cmsghdr) std::array<char, CMSG_SPACE(sizeof(timespec))> control{};
    msghdr message{};
    message.msg_name = &packet.from;
    message.msg_namelen = sizeof packet.from;
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control.data();
    message.msg_controllen = control.size();
    packet.size = ::recvmsg(socket.fd(), &message, 0);
    if (packet.size >= 0)
        packet.queued = queuedFor(message);
}

// The echo's socket is watched by the event loop; a precise timer bounds the wait.
class SocketEchoProbe final : public IcmpEcho::OnceProbe
{
public:
    SocketEchoProbe(std::optional<quint32> address, milliseconds wait)
        : m_wait(wait)
    {
        // Raw sockets see every echo reply on the machine, so each echo carries its own
        // identifier and sequence number.
        static std::atomic<quint16> nextSequence = 0;
        m_request.to.sin_family = AF_INET;
        m_request.identifier = quint16(QRandomGenerator::global()->generate());
        m_request.sequence = ++nextSequence;
        if (!address || !m_socket.isOpen()) {
            finishSoon();
            return;
        }
        m_request.to.sin_addr.s_addr = qToBigEndian(*address);
        m_sent = Clock::now();
        if (!sendRequest(m_socket, m_request)) {
            finishSoon();
            return;
        }
        m_readable = new QSocketNotifier(m_socket.fd(), QSocketNotifier::Read, this);
        connect(m_readable, &QSocketNotifier::activated, this, &SocketEchoProbe::readPackets);
        m_deadline.setSingleShot(true);
        m_deadline.setTimerType(Qt::PreciseTimer);
        connect(&m_deadline, &QTimer::timeout, this, [this] { stop(std::nullopt); });
        m_deadline.start(wait);
    }

private:
    void readPackets()
    {
        Packet packet;
        for (;;) {
            receive(m_socket, packet);
            if (packet.size < 0 && errno == EINTR)
                continue;
            if (packet.size < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            if (packet.size < 0) {
                stop(std::nullopt); // an error report (unreachable host, say) instead of an echo
                return;
            }
            if (packet.from.sin_addr.s_addr == m_request.to.sin_addr.s_addr
                && isReplyTo(m_socket, m_request, packet.bytes.data(), size_t(packet.size))) {
                arrived(Clock::now() - packet.queued);
                return;
            }
        }
    }

    // A reply read after the bound counts as none, whichever of the two events came first.
    void arrived(Clock::time_point when)
    {
        const auto roundTrip = std::max(microseconds(0),
                                        std::chrono::duration_cast<microseconds>(when - m_sent));
        stop(roundTrip > m_wait ? std::nullopt : std::optional(roundTrip));
    }

    void stop(std::optional<microseconds> roundTrip)
    {
        m_readable->setEnabled(false);
        m_deadline.stop();
        m_socket.close();
        finish(roundTrip);
    }

    EchoSocket m_socket;
    EchoRequest m_request;
    const milliseconds m_wait;
    Clock::time_point m_sent;
    QSocketNotifier *m_readable = nullptr;
    QTimer m_deadline;
};

} // namespace

IcmpPinger::IcmpPinger()
{
    keepArrivalStampsOn();
}

std::unique_ptr<EchoProbe> IcmpPinger::start(const QString &ipv4, milliseconds wait)
{
    return std::make_unique<SocketEchoProbe>(IcmpEcho::dottedIpv4(ipv4), wait);
}
