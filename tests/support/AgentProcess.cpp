#include "tests/support/AgentProcess.h"

#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QUdpSocket>

namespace dbkeel::test {

int freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return int(probe.localPort());
}

bool eventually(const std::function<bool()> &done, std::chrono::milliseconds timeout)
{
    QElapsedTimer clock;
    clock.start();
    const bool pump = QCoreApplication::instance()
                      && QThread::currentThread() == QCoreApplication::instance()->thread();
    while (!done()) {
        if (clock.elapsed() >= timeout.count())
            return done();
        if (pump)
            QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return true;
}

AgentProcess::AgentProcess(const QStringList &arguments, const QString &workingDirectory,
                           const QProcessEnvironment &environment)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setWorkingDirectory(workingDirectory);
    if (!environment.isEmpty())
        m_process.setProcessEnvironment(environment);
    // Another test program may take the free port first: then the agent ends and we try another.
    for (int attempt = 0; attempt < 5 && !m_ready; ++attempt) {
        m_port = freeUdpPort();
        m_process.start(buildBinDir() + QStringLiteral("/dbkeel-agent"),
                        QStringList{QStringLiteral("--bind"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
                                    portText(), QStringLiteral("--log"), logPath()}
                            + arguments);
        m_ready = m_process.waitForStarted(5000) && eventually([&] {
                      return logCount(QStringLiteral("listening on")) > 0 || m_process.state() == QProcess::NotRunning;
                  })
                  && m_process.state() == QProcess::Running;
        if (!m_ready)
            m_process.waitForFinished(1000);
    }
}

AgentProcess::~AgentProcess()
{
    stop();
}

QString AgentProcess::logPath() const
{
    return m_dir.filePath(QStringLiteral("agent.log"));
}

QString AgentProcess::log() const
{
    QFile file(logPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

int AgentProcess::logCount(const QString &text) const
{
    int count = 0;
    for (const QString &line : log().split(QLatin1Char('\n')))
        count += line.contains(text) ? 1 : 0;
    return count;
}

bool AgentProcess::waitForLog(const QString &text, int count, std::chrono::milliseconds timeout) const
{
    return eventually([&] { return logCount(text) >= count; }, timeout);
}

int AgentProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

}  // namespace dbkeel::test
