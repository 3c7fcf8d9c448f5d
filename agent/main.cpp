// dbkeel-agent: the resident program of a station computer (docs/agent.md).

#include "agent/AgentConfig.h"
#include "agent/AgentLog.h"
#include "agent/StationAgent.h"

#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

int fail(const QString &text)
{
    std::fprintf(stderr, "dbkeel-agent: %s\n", qPrintable(text));
    return 1;
}

}  // namespace

int main(int argc, char *argv[])
{
    using namespace dbkeel::agent;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(DBKEEL_VERSION));
    const ParsedConfig parsed = parseArguments(app.arguments().mid(1));
    if (!parsed.answer.isEmpty()) {
        std::fputs(qPrintable(parsed.answer), stdout);
        return 0;
    }
    if (!parsed.config)
        return fail(parsed.error);
    const AgentConfig &config = *parsed.config;

    AgentLog log;
    if (!log.open(config.logFile, config.logMaxBytes))
        return fail(QStringLiteral("cannot write the log file %1: %2").arg(config.logFile, log.error()));
    QUdpSocket socket;
    if (!socket.bind(QHostAddress(config.bindAddress), quint16(config.port)))
        return fail(QStringLiteral("cannot listen on %1:%2: %3")
                        .arg(config.bindAddress, QString::number(config.port), socket.errorString()));

    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    StationAgent agent(config, log);
    log.write(QStringLiteral("listening on %1:%2 as %3")
                  .arg(config.bindAddress, QString::number(config.port), agent.ownRecord().name));
    const QString comma = QStringLiteral(", ");
    if (!config.consoles.isEmpty())
        log.write(QStringLiteral("listed consoles: %1").arg(config.consoles.join(comma)));
    if (!config.programFolders.isEmpty())
        log.write(QStringLiteral("program folders: %1").arg(config.programFolders.join(comma)));

    while (!stopRequested) {
        if (!socket.waitForReadyRead(100))
            continue;
        while (socket.hasPendingDatagrams()) {
            const QNetworkDatagram datagram = socket.receiveDatagram();
            if (const auto reply = agent.handle(datagram.data(), datagram.senderAddress(),
                                                quint16(datagram.senderPort())))
                socket.writeDatagram(*reply, datagram.senderAddress(), quint16(datagram.senderPort()));
        }
    }
    log.write(QStringLiteral("stopped"));
    return 0;
}
