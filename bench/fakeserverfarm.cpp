// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakeserverfarm.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <deque>

using namespace std::chrono;

namespace {

bool isLoopback(in_addr address)
{
    return (ntohl(address.s_addr) >> 24) == 127;
}

struct Pending
{
    steady_clock::time_point due;
    sockaddr_in client{};
    in_addr server{};
};

// Reads one request: who sent it, and to which of the farm's addresses. False for anything that
// is not a status request between loopback addresses.
bool receive(int socket, Pending &request)
{
    char data[64];
    iovec buffer{data, sizeof data};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    message.msg_name = &request.client;
    message.msg_namelen = sizeof request.client;
    message.msg_iov = &buffer;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t size = recvmsg(socket, &message, MSG_DONTWAIT);
    bool toServer = false;
    for (cmsghdr *part = CMSG_FIRSTHDR(&message); part; part = CMSG_NXTHDR(&message, part)) {
        if (part->cmsg_level == IPPROTO_IP && part->cmsg_type == IP_PKTINFO) {
            request.server = reinterpret_cast<const in_pktinfo *>(CMSG_DATA(part))->ipi_addr;
            toServer = true;
        }
    }
    return size == 13 && QByteArray(data, 13) == QByteArray("\xff\xff\xff\xffgetstatus") && toServer
        && isLoopback(request.server) && isLoopback(request.client.sin_addr);
}

// Sends from the address the request went to, not from the socket's own wildcard address.
void answer(int socket, const Pending &request, const QByteArray &reply)
{
    iovec buffer{const_cast<char *>(reply.constData()), size_t(reply.size())};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))]{};
    msghdr message{};
    sockaddr_in client = request.client;
    message.msg_name = &client;
    message.msg_namelen = sizeof client;
    message.msg_iov = &buffer;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr *part = CMSG_FIRSTHDR(&message);
    part->cmsg_level = IPPROTO_IP;
    part->cmsg_type = IP_PKTINFO;
    part->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    reinterpret_cast<in_pktinfo *>(CMSG_DATA(part))->ipi_spec_dst = request.server;
    sendmsg(socket, &message, 0);
}

} // namespace

FakeServerFarm::FakeServerFarm(QByteArray reply, milliseconds delay)
    : m_reply(std::move(reply)),
      m_delay(delay)
{
    const int socket = ::socket(AF_INET, SOCK_DGRAM, 0);
    const int on = 1;
    sockaddr_in any{};
    any.sin_family = AF_INET;
    socklen_t length = sizeof any;
    if (socket < 0 || setsockopt(socket, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0
        || bind(socket, reinterpret_cast<sockaddr *>(&any), sizeof any) != 0
        || getsockname(socket, reinterpret_cast<sockaddr *>(&any), &length) != 0) {
        if (socket >= 0)
            close(socket);
        return;
    }
    m_socket = socket;
    m_port = ntohs(any.sin_port);
    m_thread = std::thread(&FakeServerFarm::serve, this);
}

FakeServerFarm::~FakeServerFarm()
{
    m_stopping = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_socket >= 0)
        close(m_socket);
}

QString FakeServerFarm::addressText(int server) const
{
    return QStringLiteral("127.0.%1.%2:%3").arg(1 + server / 250).arg(1 + server % 250).arg(m_port);
}

// Requests are answered in the order they came, each `m_delay` after it: with one delay for all,
// the oldest is always the next due.
void FakeServerFarm::serve()
{
    std::deque<Pending> pending;
    while (!m_stopping) {
        const nanoseconds wait = pending.empty()
            ? nanoseconds(20ms)
            : std::max(nanoseconds(pending.front().due - steady_clock::now()), nanoseconds(0));
        const timespec timeout{time_t(wait.count() / 1'000'000'000),
                               long(wait.count() % 1'000'000'000)};
        pollfd readable{m_socket, POLLIN, 0};
        if (ppoll(&readable, 1, &timeout, nullptr) > 0) {
            Pending request;
            while (receive(m_socket, request)) {
                request.due = steady_clock::now() + m_delay;
                pending.push_back(request);
                ++m_requests;
            }
        }
        while (!pending.empty() && pending.front().due <= steady_clock::now()) {
            answer(m_socket, pending.front(), m_reply);
            pending.pop_front();
        }
    }
}
