#include "platform/icmppinger.h"

#include <QHostAddress>
#include <QList>
#include <QStringView>
#include <QtEndian>

#include <algorithm>

#if defined(Q_OS_WIN)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <iphlpapi.h>
#include <icmpapi.h>
#elif defined(Q_OS_LINUX)
#include <QRandomGenerator>

#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#endif

using std::chrono::microseconds;
using std::chrono::milliseconds;

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isDigits(QStringView part)
{
    return !part.isEmpty() && std::all_of(part.begin(), part.end(), isAsciiDigit);
}

// The address of a dotted "a.b.c.d" text, in host byte order. It is read as the status query reads
// its host (a leading zero means octal there, as in the platform's inet_addr), so the echo goes to
// the host that is queried. Short forms, hexadecimal parts and host names are refused.
std::optional<quint32> dottedIpv4(const QString &text)
{
    const QList<QStringView> parts = QStringView(text).split(u'.');
    QHostAddress address;
    if (parts.size() != 4 || !std::all_of(parts.begin(), parts.end(), isDigits)
        || !address.setAddress(text)) {
        return std::nullopt;
    }
    return address.toIPv4Address();
}

#if defined(Q_OS_WIN)

std::optional<microseconds> echoTo(quint32 address, milliseconds wait)
{
    const HANDLE handle = IcmpCreateFile();
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    // One reply record, the (empty) echoed data, and room for the packet an error report quotes.
    alignas(ICMP_ECHO_REPLY) unsigned char reply[sizeof(ICMP_ECHO_REPLY) + 8 + 64] = {};
    char noData = 0;
    const auto timeout = DWORD(std::clamp<qint64>(wait.count(), 1, MAXDWORD));
    const DWORD replies = IcmpSendEcho(handle, qToBigEndian(address), &noData, 0, nullptr, reply,
                                       sizeof reply, timeout);
    IcmpCloseHandle(handle);
    const auto *record = reinterpret_cast<const ICMP_ECHO_REPLY *>(reply);
    if (replies == 0 || record->Status != IP_SUCCESS)
        return std::nullopt;
    return milliseconds(record->RoundTripTime);
}

#elif defined(Q_OS_LINUX)

using Clock = std::chrono::steady_clock;

// An unprivileged ping socket where net.ipv4.ping_group_range admits us, else a raw one (root or
// CAP_NET_RAW). On a ping socket the kernel sets the identifier and passes only our replies up;
// a raw socket sees every ICMP packet with its IP header, loopback's echo requests included.
class EchoSocket final
{
public:
    EchoSocket()
        : m_fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP))
    {
        if (m_fd < 0) {
            m_fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
            m_raw = true;
        }
    }
    ~EchoSocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Q_DISABLE_COPY_MOVE(EchoSocket)

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    bool isRaw() const { return m_raw; }

private:
    int m_fd = -1;
    bool m_raw = false;
};

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

// Reads packets until our reply arrives or the deadline passes; returns the arrival time.
std::optional<Clock::time_point> awaitReply(const EchoSocket &socket, const EchoRequest &request,
                                            Clock::time_point deadline)
{
    std::array<unsigned char, 576> packet;
    for (;;) {
        const auto remaining = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
        if (remaining <= 0)
            return std::nullopt;
        pollfd readable{socket.fd(), POLLIN, 0};
        const int ready = ::poll(&readable, 1, int(std::min<qint64>(remaining, INT_MAX)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return std::nullopt;
        sockaddr_in from{};
        socklen_t fromSize = sizeof from;
        const ssize_t size = ::recvfrom(socket.fd(), packet.data(), packet.size(), MSG_DONTWAIT,
                                        reinterpret_cast<sockaddr *>(&from), &fromSize);
        if (size < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
            continue;
        if (size < 0)
            return std::nullopt; // an error report (unreachable host, say) instead of an echo
        if (from.sin_addr.s_addr == request.to.sin_addr.s_addr
            && isReplyTo(socket, request, packet.data(), size_t(size))) {
            return Clock::now();
        }
    }
}

std::optional<microseconds> echoTo(quint32 address, milliseconds wait)
{
    // Raw sockets see every echo reply on the machine, so each echo carries its own identifier
    // and sequence number.
    static std::atomic<quint16> nextSequence = 0;
    const EchoSocket socket;
    if (!socket.isOpen())
        return std::nullopt;
    EchoRequest request;
    request.to.sin_family = AF_INET;
    request.to.sin_addr.s_addr = qToBigEndian(address);
    request.identifier = quint16(QRandomGenerator::global()->generate());
    request.sequence = ++nextSequence;
    const Clock::time_point sent = Clock::now();
    if (!sendRequest(socket, request))
        return std::nullopt;
    const auto arrived = awaitReply(socket, request, sent + wait);
    if (!arrived)
        return std::nullopt;
    return std::chrono::duration_cast<microseconds>(*arrived - sent);
}

#else

std::optional<microseconds> echoTo(quint32, milliseconds)
{
    return std::nullopt; // no echo implementation for this system yet
}

#endif

} // namespace

std::optional<microseconds> IcmpPinger::echo(const QString &ipv4, milliseconds wait)
{
    const auto address = dottedIpv4(ipv4);
    if (!address)
        return std::nullopt;
    return echoTo(*address, wait);
}
