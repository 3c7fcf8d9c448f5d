// The station network's datagrams: any bytes through the packet and record codec, then, framed as
// a packet, through the station agent (every action that would change this computer refused).

#include "agent/StationAgent.h"
#include "core/StationRecord.h"
#include "platform/Gbk.h"
#include "tests/fuzz/FuzzSupport.h"

#include <QHostAddress>
#include <QTemporaryDir>
#include <QtEndian>

using namespace dbkeel;
using dbkeel::fuzz::inputBytes;

namespace {

bool sameRecord(const StationRecord &a, const StationRecord &b)
{
    return a.kind == b.kind && a.ip == b.ip && a.port == b.port && a.name == b.name;
}

// Encoding a decoded record gives bytes that decode to the same record again.
void checkRecordRoundTrip(const StationRecord &decoded)
{
    const StationRecord once = StationRecord::fromBytes(decoded.toBytes().constData());
    FUZZ_CHECK(decoded.toBytes().size() == StationRecord::kSize);
    FUZZ_CHECK(sameRecord(once, StationRecord::fromBytes(once.toBytes().constData())));
}

// The raw datagram, as the console reads it and as a strict peer tests it.
void checkRawDatagram(const QByteArray &datagram)
{
    const std::optional<CommandPacket> packet = CommandPacket::fromBytes(datagram.constData(), datagram.size());
    FUZZ_CHECK(packet.has_value() == (datagram.size() == CommandPacket::kSize));
    if (CommandPacket::isWellFormed(datagram.constData(), datagram.size()))
        FUZZ_CHECK(packet->data.size()
                   == qFromLittleEndian<qint32>(datagram.constData() + CommandPacket::kLengthOffset));
}

// The input laid into a packet with a right head and tail: every view of its data, and its
// encoding read back.
QByteArray checkFramedPacket(const QByteArray &input)
{
    QByteArray framed = input.left(CommandPacket::kSize);
    framed.append(CommandPacket::kSize - framed.size(), '\0');
    qToLittleEndian<quint32>(CommandPacket::kHead, framed.data());
    qToLittleEndian<quint32>(CommandPacket::kTail, framed.data() + CommandPacket::kTailOffset);
    checkRawDatagram(framed);

    const CommandPacket packet = *CommandPacket::fromBytes(framed.constData(), framed.size());
    FUZZ_CHECK(packet.data.size() >= 0 && packet.data.size() <= CommandPacket::kDataSize);
    const QByteArray encoded = packet.toBytes();
    FUZZ_CHECK(CommandPacket::isWellFormed(encoded.constData(), encoded.size()));
    const CommandPacket back = *CommandPacket::fromBytes(encoded.constData(), encoded.size());
    FUZZ_CHECK(back.code == packet.code && back.data == packet.data);

    const QString text = packet.text();
    const CommandPacket asText = CommandPacket::withText(packet.code, text);
    FUZZ_CHECK(asText.data.size() < CommandPacket::kDataSize);
    if (isGbkText(text) && gbkLength(text) < CommandPacket::kDataSize)
        FUZZ_CHECK(asText.text() == text);

    const StationRecord record = packet.record();
    checkRecordRoundTrip(record);
    const CommandPacket withRecord = CommandPacket::withRecord(packet.code, record, toGbk(packet.textAfterRecord()));
    FUZZ_CHECK(withRecord.data.size() <= CommandPacket::kDataSize);
    return framed;
}

agent::StationAgent &stationAgent()
{
    static agent::AgentLog log;
    static QTemporaryDir logFolder;  // the log takes regular files only; capped, so fuzzing fills no disk
    static agent::StationAgent agent = [] {
        FUZZ_CHECK(logFolder.isValid());
        FUZZ_CHECK(log.open(logFolder.filePath(QStringLiteral("agent.log")), 1 << 20));
        agent::AgentConfig config;  // nothing allowed
        config.ip = QStringLiteral("127.0.0.1");
        config.name = QStringLiteral("工位");
        return agent::StationAgent(config, log);
    }();
    return agent;
}

void checkAgent(const QByteArray &datagram)
{
    agent::StationAgent &agent = stationAgent();
    const std::optional<QByteArray> reply = agent.handle(datagram, QHostAddress(QHostAddress::LocalHost), 15000);
    if (!reply)
        return;
    FUZZ_CHECK(CommandPacket::isWellFormed(reply->constData(), reply->size()));
    const CommandPacket packet = *CommandPacket::fromBytes(reply->constData(), reply->size());
    if (packet.code == stationcode::Message)  // nothing is allowed: a refusal, told in the chat
        FUZZ_CHECK(packet.text().startsWith(chatText(agent.ownRecord().name, QStringLiteral("未执行: "))));
    else
        FUZZ_CHECK(sameRecord(packet.record(), agent.ownRecord()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = inputBytes(data, size);
    checkRawDatagram(input);
    if (input.size() >= StationRecord::kSize)
        checkRecordRoundTrip(StationRecord::fromBytes(input.constData()));
    const QByteArray framed = checkFramedPacket(input);
    checkAgent(input);
    checkAgent(framed);
    return 0;
}
