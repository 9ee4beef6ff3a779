// SPDX-License-Identifier: GPL-3.0-or-later
// Many fake game servers on one socket, on a thread of their own, for benchmarks of many queries.
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

// One UDP socket on every local address at one port: server i is 127.0.x.y (from 127.0.1.1 on)
// at that port. Each status request from a loopback address is answered with `reply` after
// `delay`, sent from the very address and port it went to (IP_PKTINFO), as a server there would;
// a connected client takes nothing else. Linux only, as the benchmarks are.
class FakeServerFarm final
{
public:
    FakeServerFarm(QByteArray reply, std::chrono::milliseconds delay);
    ~FakeServerFarm();
    FakeServerFarm(const FakeServerFarm &) = delete;
    FakeServerFarm &operator=(const FakeServerFarm &) = delete;

    bool isListening() const { return m_socket >= 0; }
    // "127.0.x.y:port", as a bookmark stores it.
    QString addressText(int server) const;
    long requests() const { return m_requests; }

private:
    void serve();

    const QByteArray m_reply;
    const std::chrono::milliseconds m_delay;
    int m_socket = -1;
    quint16 m_port = 0;
    std::atomic<long> m_requests{0};
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};
