// SPDX-License-Identifier: GPL-3.0-or-later
// The echo on Windows: the system's echo service, which blocks, on a thread of its own.
#include "platform/icmppinger.h"
#include "platform/icmppinger_common.h"

#include <QtEndian>

#include <algorithm>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <QThread>

#include <winsock2.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <functional>

using std::chrono::microseconds;
using std::chrono::milliseconds;

namespace {

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

// The system's echo blocks, so it runs on a thread of its own. The thread is no child of the
// probe: a dropped probe loses only the queued report, and the thread deletes itself when done.
class EchoThread final : public QThread
{
    Q_OBJECT

public:
    EchoThread(quint32 address, milliseconds wait)
        : m_address(address),
          m_wait(wait)
    { }

signals:
    void echoed(std::optional<microseconds> roundTrip);

protected:
    void run() override { emit echoed(echoTo(m_address, m_wait)); }

private:
    const quint32 m_address;
    const milliseconds m_wait;
};

class SystemEchoProbe final : public IcmpEcho::OnceProbe
{
public:
    SystemEchoProbe(std::optional<quint32> address, milliseconds wait)
    {
        // The system's echo waits at least a millisecond, and loopback answers within it.
        if (!address || wait <= milliseconds(0)) {
            finishSoon();
            return;
        }
        auto *thread = new EchoThread(*address, wait);
        connect(thread, &EchoThread::echoed, this, &SystemEchoProbe::finish, Qt::QueuedConnection);
        connect(thread, &QThread::finished, thread, &QObject::deleteLater);
        thread->start();
    }
};

} // namespace

IcmpPinger::IcmpPinger() = default;

std::unique_ptr<EchoProbe> IcmpPinger::start(const QString &ipv4, milliseconds wait)
{
    return std::make_unique<SystemEchoProbe>(IcmpEcho::dottedIpv4(ipv4), wait);
}

#include "icmppinger_win.moc"
