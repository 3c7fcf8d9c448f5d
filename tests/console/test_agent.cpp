// The station agent as an outside program sees it: real processes, datagrams on 127.0.0.1.

#include "ConsoleTestSupport.h"
#include "TestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>
#include <gtest/gtest.h>

namespace dbkeel::test {
namespace {

CommandPacket reply(const QByteArray &datagram)
{
    EXPECT_TRUE(CommandPacket::isWellFormed(datagram.constData(), datagram.size()));
    return CommandPacket::fromBytes(datagram.constData(), datagram.size()).value_or(CommandPacket{});
}

class AgentTest : public ::testing::Test {
protected:
    AgentProcess agent{{QStringLiteral("--name"), QStringLiteral("工位甲"), QStringLiteral("--kind"), QStringLiteral("3"),
                        QStringLiteral("--ip"), QStringLiteral("192.168.0.3")}};
    UdpPeer console;

    std::optional<QByteArray> ask(const CommandPacket &request)
    {
        console.send(agent.port(), request.toBytes());
        return console.receive(1000ms);
    }
};

TEST_F(AgentTest, AnswersEachCodeWithItsOwnRecord)
{
    ASSERT_TRUE(agent.isReady());
    struct Case {
        CommandPacket request;
        QString logged;
    };
    const Case cases[] = {
        {CommandPacket::withText(1001, QStringLiteral("2026-12-10 08:00:00")),
         QStringLiteral("not allowed, would have: set the clock to 2026-12-10 08:00:00")},
        {CommandPacket::withText(1002, QStringLiteral("0")), QStringLiteral("not allowed, would have: shut down")},
        {CommandPacket::withText(1008, QStringLiteral("0")), QStringLiteral("not allowed, would have: restart")},
        {CommandPacket::withText(1003, QStringLiteral("测试...[07]")), QStringLiteral("测试...[07]")},
        {CommandPacket::withRecord(1004, StationRecord{1, QStringLiteral("127.0.0.1"), QStringLiteral("15000"), QStringLiteral("远程")}),
         QStringLiteral("console 远程 at 127.0.0.1:15000")},
        {CommandPacket::withText(1009, QStringLiteral("/bin/true")), QStringLiteral("not allowed, would have: start /bin/true")},
        {CommandPacket::withText(1010, QStringLiteral("sshd")),
         QStringLiteral("not allowed, would have: end the processes named sshd")},
    };
    for (const Case &c : cases) {
        const std::optional<QByteArray> answer = ask(c.request);
        ASSERT_TRUE(answer) << c.request.code;
        const CommandPacket packet = reply(*answer);
        EXPECT_EQ(packet.code, c.request.code);
        EXPECT_EQ(packet.data.size(), StationRecord::kSize) << c.request.code;
        const StationRecord own = packet.record();
        EXPECT_EQ(own.kind, 3);
        EXPECT_EQ(own.ip, QStringLiteral("192.168.0.3"));
        EXPECT_EQ(own.port, agent.portText());
        EXPECT_EQ(own.name, QStringLiteral("工位甲"));
        EXPECT_TRUE(agent.waitForLog(c.logged)) << c.logged.toStdString();
    }
}

TEST_F(AgentTest, ListsItsProcessesAfterTheRecord)
{
    ASSERT_TRUE(agent.isReady());
    const std::optional<QByteArray> answer = ask(CommandPacket::withText(1011, QString()));
    ASSERT_TRUE(answer);
    const CommandPacket packet = reply(*answer);
    const QStringList fields = packet.textAfterRecord().split(QLatin1Char(','));
    EXPECT_EQ(fields.value(0).toInt(), fields.size() - 1);
    EXPECT_TRUE(fields.contains(QStringLiteral("dbkeel-agent")));
    EXPECT_TRUE(fields.contains(QStringLiteral("test_console")));
    EXPECT_EQ(packet.data.at(packet.data.size() - 1), '\0');
}

TEST_F(AgentTest, AnnouncementsMessagesUnknownCodesAndMalformedDatagramsGetNoReply)
{
    ASSERT_TRUE(agent.isReady());
    QByteArray badHead = CommandPacket::withText(1003, QStringLiteral("x")).toBytes();
    badHead[0] = 0;
    QByteArray lyingLength = CommandPacket::withText(1003, QStringLiteral("x")).toBytes();
    qToLittleEndian<qint32>(5000, lyingLength.data() + CommandPacket::kLengthOffset);
    struct Case {
        QByteArray datagram;
        QString logged;
    };
    const Case cases[] = {
        {CommandPacket::withText(1005, QStringLiteral("/opt/dbkeel/config/a.ini")).toBytes(), QStringLiteral(": /opt/dbkeel/config/a.ini")},
        {CommandPacket::withText(1012, QStringLiteral("远程说道:\r\n你好")).toBytes(), QStringLiteral("远程说道:  你好")},
        {CommandPacket::withText(1006, QString()).toBytes(), QStringLiteral("ignored unknown command 1006")},
        {CommandPacket::withText(1007, QString()).toBytes(), QStringLiteral("ignored unknown command 1007")},
        {CommandPacket::withText(-1, QString()).toBytes(), QStringLiteral("ignored unknown command -1")},
        {QByteArray("hello"), QStringLiteral("malformed datagram of 5 bytes")},
        {QByteArray(), QStringLiteral("malformed datagram of 0 bytes")},
        {CommandPacket{}.toBytes() + 'x', QStringLiteral("malformed datagram of 2073 bytes")},
        {badHead, QStringLiteral("malformed datagram of 2072 bytes")},
        {lyingLength, QStringLiteral("malformed datagram of 2072 bytes")},
    };
    for (const Case &c : cases) {
        console.send(agent.port(), c.datagram);
        EXPECT_FALSE(console.receive(300ms)) << c.logged.toStdString();
        EXPECT_TRUE(agent.waitForLog(c.logged)) << c.logged.toStdString();
    }
    EXPECT_TRUE(ask(CommandPacket::withText(1003, QStringLiteral("still there"))));
}

TEST_F(AgentTest, KeepsServingThroughRandomDatagrams)
{
    ASSERT_TRUE(agent.isReady());
    QRandomGenerator random(20261210);
    const QList<int> codes{1001, 1002, 1003, 1004, 1005, 1006, 1008, 1009, 1010, 1011, 1012, 0, 77777};
    int replies = 0;
    for (int i = 0; i < 400; ++i) {
        QByteArray datagram;
        if (i % 2 == 0) {
            datagram.resize(random.bounded(3000));
            random.fillRange(reinterpret_cast<quint32 *>(datagram.data()), datagram.size() / 4);
        } else {
            // A packet of the right size with a random code, length and data, head and tail sometimes wrong.
            datagram = CommandPacket{}.toBytes();
            random.fillRange(reinterpret_cast<quint32 *>(datagram.data() + CommandPacket::kDataOffset), 512);
            qToLittleEndian<qint32>(codes.at(random.bounded(int(codes.size()))), datagram.data() + CommandPacket::kCodeOffset);
            qToLittleEndian<qint32>(qint32(random.generate()) % 4096, datagram.data() + CommandPacket::kLengthOffset);
            if (random.bounded(4) == 0)
                datagram[CommandPacket::kTailOffset] = char(random.generate());
        }
        console.send(agent.port(), datagram);
    }
    for (const QByteArray &answer : console.receiveAll(1500ms)) {
        EXPECT_TRUE(CommandPacket::isWellFormed(answer.constData(), answer.size()));
        ++replies;
    }
    EXPECT_GT(replies, 0);
    EXPECT_EQ(agent.process().state(), QProcess::Running);
    EXPECT_TRUE(ask(CommandPacket::withText(1003, QStringLiteral("after"))));
    EXPECT_EQ(agent.logCount(QStringLiteral("done:")), 0);  // nothing was allowed, nothing was done
}

TEST_F(AgentTest, StopsCleanlyOnSigterm)
{
    ASSERT_TRUE(agent.isReady());
    EXPECT_EQ(agent.stop(), 0);
    EXPECT_TRUE(agent.log().trimmed().endsWith(QStringLiteral("stopped")));
}

TEST(AgentConfigTest, ACommandLineOptionOverridesTheFile)
{
    QTemporaryDir dir;
    const int port = freeUdpPort();
    const QString config = dir.filePath(QStringLiteral("agent.ini"));
    writeFileBytes(config, QStringLiteral("[AGENT]\r\nPORT=%1\r\nNAME=文件名\r\nKIND=2\r\nIP=10.0.0.7\r\n").arg(port).toLocal8Bit());
    // The helper passes its own --port after --config, so the file's port is the one overridden.
    AgentProcess agent{{QStringLiteral("--config"), config, QStringLiteral("--name"), QStringLiteral("命令行")}};
    ASSERT_TRUE(agent.isReady());
    UdpPeer console;
    console.send(agent.port(), CommandPacket::withText(1003, QStringLiteral("x")).toBytes());
    const std::optional<QByteArray> answer = console.receive();
    ASSERT_TRUE(answer);
    const StationRecord own = reply(*answer).record();
    EXPECT_EQ(own.name, QStringLiteral("命令行"));
    EXPECT_EQ(own.kind, 2);
    EXPECT_EQ(own.ip, QStringLiteral("10.0.0.7"));
    EXPECT_EQ(own.port, agent.portText());
}

TEST(AgentConfigTest, WrongSettingsEndTheProgramWithAMessage)
{
    QUdpSocket taken;
    ASSERT_TRUE(taken.bind(QHostAddress::LocalHost, 0));
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("a.log"));
    struct Case {
        QStringList arguments;
        QString message;
    };
    const Case cases[] = {
        {{QStringLiteral("--port"), QStringLiteral("0")}, QStringLiteral("the port must be a number from 1 to 65535")},
        {{QStringLiteral("--port"), QStringLiteral("15x")}, QStringLiteral("the port must be a number from 1 to 65535")},
        {{QStringLiteral("--port"), QStringLiteral("70000")}, QStringLiteral("the port must be a number from 1 to 65535")},
        {{QStringLiteral("--config"), dir.filePath(QStringLiteral("missing.ini"))}, QStringLiteral("configuration file not found")},
        {{QStringLiteral("--bind"), QStringLiteral("station-one")}, QStringLiteral("not an address to listen on")},
        {{QStringLiteral("--allow-everything")}, QStringLiteral("Unknown option")},
        {{QStringLiteral("extra")}, QStringLiteral("unexpected argument: extra")},
        {{QStringLiteral("--bind"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QString::number(taken.localPort())},
         QStringLiteral("cannot listen on 127.0.0.1")},
        {{QStringLiteral("--log"), QStringLiteral("/proc/dbkeel/agent.log")}, QStringLiteral("cannot write the log file")},
    };
    for (const Case &c : cases) {
        QProcess agent;
        QStringList arguments = c.arguments;
        if (!arguments.contains(QStringLiteral("--log")))
            arguments << QStringLiteral("--log") << log;
        agent.start(buildBinDir() + QStringLiteral("/dbkeel-agent"), arguments);
        ASSERT_TRUE(agent.waitForFinished(5000)) << c.message.toStdString();
        EXPECT_EQ(agent.exitCode(), 1) << c.message.toStdString();
        EXPECT_TRUE(QString::fromLocal8Bit(agent.readAllStandardError()).contains(c.message)) << c.message.toStdString();
    }
}

}  // namespace
}  // namespace dbkeel::test
