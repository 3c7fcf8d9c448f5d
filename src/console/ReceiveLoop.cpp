#include "console/ReceiveLoop.h"

#include "console/ConsoleEvents.h"
#include "console/ConsoleState.h"
#include "console/StationCommands.h"
#include "core/AppLog.h"
#include "core/AppState.h"
#include "core/HostLib.h"
#include "core/StationRegistry.h"
#include "platform/Text.h"

#include <chrono>
#include <thread>

namespace dbkeel {

namespace {

// The longest wait for a reply: the loop sleeps on the channel until a reply comes or a shared flag
// changes (ReceiveRunFlag cleared wakes it); this bound only keeps a missed wake from lasting.
constexpr int kReplyWaitMs = 10000;
// The pace of reads while the channel cannot be waited on (closed, or a library without WaitNetData):
// ReadNetData's own wait.
constexpr std::chrono::milliseconds kReadWindow{50};

// The log text of each reply code that is logged.
QString replyNote(int code)
{
    switch (code) {
    case stationcode::SetClock: return QStringLiteral("(执行时间同步)");
    case stationcode::Shutdown: return QStringLiteral("(执行关闭计算机)");
    case stationcode::Test: return QStringLiteral("(测试OK)");
    case stationcode::Connect: return QStringLiteral("(通讯成功)");
    case stationcode::Restart: return QStringLiteral("(执行重启动计算机)");
    case stationcode::StartProgram: return QStringLiteral("指定程序已启动");
    case stationcode::EndProcess: return QStringLiteral("指定进程已结束");
    case stationcode::ListProcesses: return QStringLiteral("已获取指定IP进程");
    default: return {};
    }
}

// The next reply into `packet`; false when none came: the wait was woken, or the channel is closed.
bool readReply(QByteArray &packet)
{
    const int waited = hostLib().waitNetData(kStationChannel, kReplyWaitMs);
    if (waited == 0)
        return false;
    packet.fill('\0');
    const auto readStarted = std::chrono::steady_clock::now();
    if (hostLib().readNetData(kStationChannel, packet.data(), CommandPacket::kSize) > 0)
        return true;
    if (waited < 0)  // the read did not wait on a channel that is not open: paced
        std::this_thread::sleep_until(readStarted + kReadWindow);
    return false;
}

void logReply(int code, const StationRecord &from)
{
    AddLog(QStringLiteral("[cmd:%1](%2)IP%3%4").arg(QString::number(code), from.name, from.ip, replyNote(code)), true);
}

}  // namespace

QList<QStringList> processRows(const QString &list, const StationRecord &from)
{
    const QStringList fields = list.split(QLatin1Char(','));
    const int count = std::min<qsizetype>(toInt(fields.value(0)), fields.size() - 1);
    QList<QStringList> rows;
    for (int k = 1; k <= count; ++k)
        rows.append({fields.at(k), from.name, from.ip, from.port});
    return rows;
}

void handleReply(const CommandPacket &reply)
{
    if (reply.code == stationcode::Message) {
        emit consoleEvents().chatAppended(reply.text(), 0);
        return;
    }
    if (replyNote(reply.code).isEmpty())
        return;
    const StationRecord from = reply.record();
    setLastReply(from);
    logReply(reply.code, from);
    switch (reply.code) {
    case stationcode::Connect:
        stationRegistry().markConnected(from.ip, from.port);
        announceRegistryChange();
        break;
    case stationcode::EndProcess: setCommandText({}); break;
    case stationcode::ListProcesses:
        emit consoleEvents().processesReceived(processRows(reply.textAfterRecord(), from));
        break;
    default: break;
    }
}

void ReceiveLoop()
{
    const FlagWakeUp wakeOnFlags([] { hostLib().wakeNet(kStationChannel); });
    QByteArray packet(CommandPacket::kSize, '\0');
    while (ReceiveRunFlag.load() != 0) {
        if (!readReply(packet))
            continue;
        if (const std::optional<CommandPacket> reply = CommandPacket::fromBytes(packet.constData(), packet.size()))
            handleReply(*reply);
    }
    ReceiveRunFlag = 1;
}

}  // namespace dbkeel
