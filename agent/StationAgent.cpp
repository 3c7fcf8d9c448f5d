#include "StationAgent.h"

#include "Gbk.h"
#include "SystemActions.h"

namespace dbkeel::agent {

StationAgent::StationAgent(const AgentConfig &config, AgentLog &log) : m_config(config), m_log(log)
{
    m_own.kind = qint16(config.kind);
    m_own.ip = config.reportedIp();
    m_own.port = QString::number(config.port);
    m_own.name = config.reportedName();
}

CommandPacket StationAgent::reply(int code, const QByteArray &after) const
{
    return CommandPacket::withRecord(code, m_own, after);
}

template <typename Action>
void StationAgent::gated(bool allowed, const QString &what, Action action)
{
    if (!allowed) {
        m_log.write(QStringLiteral("not allowed, would have: %1").arg(what));
        return;
    }
    const QString error = action();
    m_log.write(error.isEmpty() ? QStringLiteral("done: %1").arg(what)
                                : QStringLiteral("failed: %1: %2").arg(what, error));
}

QByteArray StationAgent::processList() const
{
    // "count,name1,name2,…" with its NUL inside the data area after the record.
    constexpr int kRoom = CommandPacket::kDataSize - StationRecord::kSize - 1;
    QByteArray names;
    int count = 0;
    for (const QString &name : processNames()) {
        const QByteArray more = names + ',' + toGbk(name);
        if (QByteArray::number(count + 1).size() + more.size() > kRoom)
            break;
        names = more;
        ++count;
    }
    return QByteArray::number(count) + names + '\0';
}

std::optional<QByteArray> StationAgent::handle(const QByteArray &datagram, const QString &sender)
{
    if (!CommandPacket::isWellFormed(datagram.constData(), datagram.size())) {
        m_log.write(QStringLiteral("ignored a malformed datagram of %1 bytes from %2").arg(datagram.size()).arg(sender));
        return std::nullopt;
    }
    const CommandPacket request = *CommandPacket::fromBytes(datagram.constData(), datagram.size());
    const QString text = request.text();
    switch (request.code) {
    case stationcode::SetClock: {
        const QDateTime when = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        gated(m_config.allowed.setClock, QStringLiteral("set the clock to %1").arg(text), [&] { return setClock(when); });
        break;
    }
    case stationcode::Shutdown:
        gated(m_config.allowed.shutdown, QStringLiteral("shut down"), [] { return shutDown(false); });
        break;
    case stationcode::Restart:
        gated(m_config.allowed.restart, QStringLiteral("restart"), [] { return shutDown(true); });
        break;
    case stationcode::Test:
        m_log.write(QStringLiteral("test from %1: %2").arg(sender, text));
        break;
    case stationcode::Connect:
        m_console = request.record();
        m_log.write(QStringLiteral("console %1 at %2:%3").arg(m_console->name, m_console->ip, m_console->port));
        break;
    case stationcode::AnnounceFile:
        m_log.write(QStringLiteral("file announced by %1: %2").arg(sender, text));
        return std::nullopt;
    case stationcode::StartProgram:
        gated(m_config.allowed.startProgram, QStringLiteral("start %1").arg(text), [&] { return startProgram(text); });
        break;
    case stationcode::EndProcess:
        gated(m_config.allowed.endProcess, QStringLiteral("end the processes named %1").arg(text), [&] {
            const int ended = endProcesses(text);
            return ended > 0 ? QString() : QStringLiteral("no process of that name");
        });
        break;
    case stationcode::ListProcesses:
        m_log.write(QStringLiteral("process list asked by %1").arg(sender));
        return reply(request.code, processList()).toBytes();
    case stationcode::Message:
        m_log.write(QStringLiteral("message from %1: %2").arg(sender, text));
        return std::nullopt;
    default:
        m_log.write(QStringLiteral("ignored unknown command %1 from %2").arg(request.code).arg(sender));
        return std::nullopt;
    }
    return reply(request.code).toBytes();
}

}  // namespace dbkeel::agent
