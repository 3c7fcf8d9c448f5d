#pragma once
// Real station agents on 127.0.0.1, a plain UDP peer, and recorders of the console's log and chat.

#include "core/StationRecord.h"

#include <QByteArray>
#include <QMutex>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <chrono>
#include <functional>
#include <optional>

namespace dbkeel::test {

using namespace std::chrono_literals;

// A UDP port nobody on 127.0.0.1 is using right now.
int freeUdpPort();

// Waits for `done`, dispatching events; its last value.
bool eventually(const std::function<bool()> &done, std::chrono::milliseconds timeout = 5000ms);

// The dbkeel-agent program, started on a port of its own and stopped with SIGTERM.
class AgentProcess {
public:
    // Extra arguments after --bind 127.0.0.1 --port <port> --log <file>; it runs in `workingDirectory`
    // with `environment` when they are given, else in the test program's.
    explicit AgentProcess(const QStringList &arguments = {}, const QString &workingDirectory = {},
                          const QProcessEnvironment &environment = {});
    ~AgentProcess();

    bool isReady() const { return m_ready; }
    int port() const { return m_port; }
    QString portText() const { return QString::number(m_port); }
    QString logPath() const;
    QString log() const;                      // the log file's text
    int logCount(const QString &text) const;  // lines holding `text`
    bool waitForLog(const QString &text, int count = 1, std::chrono::milliseconds timeout = 5000ms) const;
    // SIGTERM and wait; the exit code, or -1 when it did not end normally in time.
    int stop();
    QProcess &process() { return m_process; }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
    bool m_ready = false;
};

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
