#pragma once
// A plain UDP peer on loopback and a recorder of the console's log and chat (real agents:
// tests/support/AgentProcess.h).

#include "core/StationRecord.h"
#include "tests/support/AgentProcess.h"

#include <QByteArray>
#include <QMutex>
#include <QStringList>
#include <QUdpSocket>

#include <chrono>
#include <optional>

namespace dbkeel::test {

using namespace std::chrono_literals;

// A plain UDP peer on a loopback address that speaks the packet directly to 127.0.0.1.
class UdpPeer {
public:
    explicit UdpPeer(const QHostAddress &address = QHostAddress::LocalHost);
    int port() const { return int(m_socket.localPort()); }
    void send(int port, const QByteArray &datagram);
    std::optional<QByteArray> receive(std::chrono::milliseconds timeout = 2000ms);
    // Everything that arrives within `window`.
    QList<QByteArray> receiveAll(std::chrono::milliseconds window);

private:
    QUdpSocket m_socket;
};

// Every AddLog entry and chat line while it lives.
class ConsoleRecorder {
public:
    ConsoleRecorder();
    ~ConsoleRecorder();
    QStringList logEntries() const;
    QStringList chatLines() const;
    bool waitForLog(const QString &text, std::chrono::milliseconds timeout = 5000ms) const;

private:
    mutable QMutex m_mutex;
    QStringList m_log, m_chat;
    QList<QMetaObject::Connection> m_connections;
};

}  // namespace dbkeel::test
