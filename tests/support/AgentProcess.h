#pragma once
// Real station agents (the dbkeel-agent program) on 127.0.0.1, for the tests of the console and of
// dbkeel-cli.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <functional>

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

}  // namespace dbkeel::test
