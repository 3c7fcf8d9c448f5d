#include "console/StationCommands.h"

#include "console/ConsoleState.h"
#include "core/AppConfig.h"
#include "core/AppLog.h"
#include "core/AppState.h"
#include "core/HostLib.h"
#include "core/StationRegistry.h"
#include "platform/Text.h"

#include <QDateTime>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>

namespace dbkeel {

namespace {

class OutgoingPacket {
public:
    OutgoingPacket() : m_bytes(CommandPacket{}.toBytes()) {}

    int send(const QString &ip, int port, const CommandPacket &packet)
    {
        QMutexLocker lock(&m_mutex);
        packet.writeInto(m_bytes.data());
        return hostLib().sendNetData(kStationChannel, ip.toLatin1(), port, m_bytes.constData(), CommandPacket::kSize);
    }

private:
    QMutex m_mutex;
    QByteArray m_bytes;  // head and tail written once
};

OutgoingPacket &outgoingPacket()
{
    static OutgoingPacket packet;
    return packet;
}

StationRecord localStationAsSender()
{
    StationRecord record = localStation();
    record.kind = 1;
    return record;
}

}  // namespace

std::optional<CommandPacket> requestFor(int code)
{
    const QDateTime now = QDateTime::currentDateTime();
    switch (code) {
    case stationcode::SetClock:
        return CommandPacket::withText(code, now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    case stationcode::Shutdown:
    case stationcode::Restart: return CommandPacket::withText(code, QStringLiteral("0"));
    case stationcode::Test:
        return CommandPacket::withText(code, QStringLiteral("测试...[%1]").arg(now.toString(QStringLiteral("ss"))));
    case stationcode::Connect: return CommandPacket::withRecord(code, localStationAsSender());
    case stationcode::AnnounceFile:
    case stationcode::StartProgram:
    case stationcode::EndProcess:
    case stationcode::ListProcesses: return CommandPacket::withText(code, commandText());
    default: return std::nullopt;
    }
}

int sendPacket(const QString &ip, int port, const CommandPacket &packet)
{
    return outgoingPacket().send(ip, port, packet);
}

int SendCommand(const QString &ip, int port, int code)
{
    const std::optional<CommandPacket> request = requestFor(code);
    if (!request)
        return 1;
    try {
        if (sendPacket(ip, port, *request) > 0)
            return 1;
    } catch (...) {
        if (code == stationcode::Connect) {
            DbReady = 0;
            return 0;
        }
        throw;
    }
    if (code == stationcode::Connect)
        AddLog(QStringLiteral("连接IP[%1],命令失败").arg(ip), true);
    return 0;
}

int openStationChannel()
{
    return hostLib().openNet(kStationChannel, 0, toInt(PortId()), kPeerPort);
}

bool reopenStationChannel()
{
    hostLib().closeNet(kStationChannel);
    QThread::msleep(100);
    return openStationChannel() > 0;
}

}  // namespace dbkeel
