#include "agent/StationAgent.h"

#include "agent/SystemActions.h"
#include "platform/Gbk.h"

#include <algorithm>

namespace dbkeel::agent {

StationAgent::StationAgent(const AgentConfig &config, AgentLog &log) : m_config(config), m_log(log)
{
    m_own.kind = qint16(config.kind);
    m_own.ip = config.reportedIp();
    m_own.port = QString::number(config.port);
    m_own.name = config.reportedName();
    for (const QString &console : config.consoles)
        m_obeyedConsoles.append(QHostAddress(console));
}

CommandPacket StationAgent::reply(int code, const QByteArray &after) const
{
    return CommandPacket::withRecord(code, m_own, after);
}

bool StationAgent::obeys(const QHostAddress &from) const
{
    return m_obeyedConsoles.isEmpty()
           || std::any_of(m_obeyedConsoles.begin(), m_obeyedConsoles.end(), [&](const QHostAddress &console) {
                  return console.isEqual(from, QHostAddress::TolerantConversion);
              });
}

template <typename Action>
std::optional<QString> StationAgent::gated(bool allowed, const QHostAddress &from, const Deed &deed, Action action,
                                           const Reason &refusal)
{
    const auto notDone = [&](const QString &why) { return QStringLiteral("未执行: %1 (%2)").arg(deed.shown, why); };
    if (!obeys(from)) {
        m_log.write(QStringLiteral("not allowed, would have: %1 (%2 is not a listed console)")
                        .arg(deed.logged, from.toString()));
        return notDone(QStringLiteral("%1 不是本机的控制台").arg(from.toString()));
    }
    if (!allowed) {
        m_log.write(QStringLiteral("not allowed, would have: %1").arg(deed.logged));
        return notDone(QStringLiteral("未允许"));
    }
    if (!refusal.isEmpty()) {
        m_log.write(QStringLiteral("refused: %1: %2").arg(deed.logged, refusal.logged));
        return notDone(QStringLiteral("拒绝: ") + refusal.shown);
    }
    const Reason error = action();
    if (error.isEmpty()) {
        m_log.write(QStringLiteral("done: %1").arg(deed.logged));
        return std::nullopt;
    }
    m_log.write(QStringLiteral("failed: %1: %2").arg(deed.logged, error.logged));
    return notDone(QStringLiteral("失败: ") + error.shown);
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

std::optional<QByteArray> StationAgent::handle(const QByteArray &datagram, const QHostAddress &from, quint16 fromPort)
{
    const QString sender = QStringLiteral("%1:%2").arg(from.toString(), QString::number(fromPort));
    if (!CommandPacket::isWellFormed(datagram.constData(), datagram.size())) {
        m_log.write(QStringLiteral("ignored a malformed datagram of %1 bytes from %2")
                        .arg(QString::number(datagram.size()), sender));
        return std::nullopt;
    }
    const CommandPacket request = *CommandPacket::fromBytes(datagram.constData(), datagram.size());
    const QString text = request.text();
    std::optional<QString> notDone;
    switch (request.code) {
    case stationcode::SetClock: {
        const QDateTime when = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        notDone = gated(m_config.allowed.setClock, from,
                        {QStringLiteral("set the clock to %1").arg(text), QStringLiteral("时间同步")},
                        [&] { return setClock(when); });
        break;
    }
    case stationcode::Shutdown:
        notDone = gated(m_config.allowed.shutdown, from, {QStringLiteral("shut down"), QStringLiteral("关闭计算机")},
                        [] { return shutDown(false); });
        break;
    case stationcode::Restart:
        notDone = gated(m_config.allowed.restart, from, {QStringLiteral("restart"), QStringLiteral("重启动计算机")},
                        [] { return shutDown(true); });
        break;
    case stationcode::Test: m_log.write(QStringLiteral("test from %1: %2").arg(sender, text)); break;
    case stationcode::Connect:
        m_console = request.record();
        m_log.write(QStringLiteral("console %1 at %2:%3").arg(m_console->name, m_console->ip, m_console->port));
        break;
    case stationcode::AnnounceFile:
        m_log.write(QStringLiteral("file announced by %1: %2").arg(sender, text));
        return std::nullopt;
    case stationcode::StartProgram: {
        const ProgramChoice program = chooseProgram(text, m_config.programFolders);
        notDone = gated(
            m_config.allowed.startProgram, from,
            {QStringLiteral("start %1").arg(text), QStringLiteral("启动程序 %1").arg(text)},
            [&] { return startProgram(program); }, program.refusal);
        break;
    }
    case stationcode::EndProcess:
        notDone = gated(m_config.allowed.endProcess, from,
                        {QStringLiteral("end the processes named %1").arg(text),
                         QStringLiteral("结束进程 %1").arg(text)},
                        [&] {
                            const int ended = endProcesses(text);
                            return ended > 0 ? Reason() : reason(Why::NoSuchProcess);
                        });
        break;
    case stationcode::ListProcesses:
        m_log.write(QStringLiteral("process list asked by %1").arg(sender));
        return reply(request.code, processList()).toBytes();
    case stationcode::Message:
        m_log.write(QStringLiteral("message from %1: %2").arg(sender, text));
        return std::nullopt;
    default:
        m_log.write(QStringLiteral("ignored unknown command %1 from %2").arg(QString::number(request.code), sender));
        return std::nullopt;
    }
    if (notDone)
        return CommandPacket::withText(stationcode::Message, chatText(m_own.name, *notDone)).toBytes();
    return reply(request.code).toBytes();
}

}  // namespace dbkeel::agent
