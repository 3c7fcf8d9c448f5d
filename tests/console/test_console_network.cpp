// The console side over the real host library's channel 10, against real agents on 127.0.0.1.

#include "console/ConsoleEvents.h"
#include "console/ConsoleOperations.h"
#include "console/ConsoleState.h"
#include "console/ConsoleThreads.h"
#include "console/ConsoleWorker.h"
#include "console/HostLibraryUpdate.h"
#include "console/ReceiveLoop.h"
#include "console/StationCommands.h"
#include "core/AppConfig.h"
#include "core/HostLib.h"
#include "core/LineTree.h"
#include "core/StationRegistry.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/ScriptedPrompt.h"
#include "tests/console/ConsoleTestSupport.h"
#include "tests/support/HostTestSystem.h"
#include "tests/support/TestSupport.h"
#include "widgets/ReportListModel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHostInfo>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace dbkeel::test {
namespace {

class ConsoleNetworkTest : public ::testing::Test {
protected:
    int consolePort = 0;
    ReportListModel computers;
    ReportListModel processes;
    ConsoleOperations operations{computers, processes};
    ConsoleRecorder recorder;
    ScriptedPrompt scripted;

    void SetUp() override
    {
        ASSERT_TRUE(loadedHostLib().isLoaded());
        for (int attempt = 0; attempt < 5 && consolePort == 0; ++attempt) {
            const int port = freeUdpPort();
            consolePort = hostLib().openNet(kStationChannel, 0, port, kPeerPort) == 1 ? port : 0;
        }
        ASSERT_NE(consolePort, 0);
        localStation() = StationRecord{1, QStringLiteral("127.0.0.1"), QString::number(consolePort),
                                       QStringLiteral("远程")};
        PortId() = QString::number(consolePort);
        stationRegistry().clear();
        StartupSweepDone = 0;
        PendingCommand = 0;
        WorkerStop = 0;
        setCommandText({});
        setSweepPause(50ms);
        processes.setColumns(QStringLiteral("进程名称,100;计算机名称,100;IP,100;端口,0"));
        ASSERT_TRUE(consoleThreads().startReceiveLoop());
    }
    void TearDown() override
    {
        EXPECT_TRUE(consoleThreads().stopWorker(10s));
        EXPECT_TRUE(consoleThreads().stopReceiveLoop(2s));
        hostLib().closeNet(kStationChannel);
        EXPECT_EQ(scripted.pendingAnswers(), 0);
    }

    static void addStation(const QString &port, const QString &name = QStringLiteral("工位"), int kind = 0)
    {
        RegistryEntry entry;
        entry.station = StationRecord{0, QStringLiteral("127.0.0.1"), port, name};
        entry.kind = kind;
        ASSERT_TRUE(stationRegistry().add(entry));
    }
    // The computer list from the registry, with the rows of the given ports ticked.
    void showComputers(const QStringList &tickedPorts = {})
    {
        RefreshComputerList(computers, 400);
        for (int row = 0; row < computers.rowCount(); ++row)
            computers.setChecked(row, tickedPorts.contains(computers.itemText(row, 2)));
    }
    static bool allEntriesConnected()
    {
        const QList<RegistryEntry> entries = stationRegistry().entries();
        return std::all_of(entries.begin(), entries.end(), [](const RegistryEntry &e) { return e.connected; });
    }
};

TEST_F(ConsoleNetworkTest, EachCodeSendsItsRequestData)
{
    UdpPeer station;
    setCommandText(QStringLiteral("/opt/dbkeel/bin/检测.exe"));
    const QRegularExpression clock(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    const QRegularExpression test(QStringLiteral("^测试\\.\\.\\.\\[\\d\\d\\]$"));
    struct Case {
        int code;
        std::function<void(const CommandPacket &)> check;
    };
    const auto text = [](const QString &expected) {
        return [expected](const CommandPacket &p) { EXPECT_EQ(p.text(), expected); };
    };
    const Case cases[] = {
        {1001,
         [&](const CommandPacket &p) { EXPECT_TRUE(clock.match(p.text()).hasMatch()) << p.text().toStdString(); }},
        {1002, text(QStringLiteral("0"))},
        {1003, [&](const CommandPacket &p) { EXPECT_TRUE(test.match(p.text()).hasMatch()) << p.text().toStdString(); }},
        {1004,
         [&](const CommandPacket &p) {
             EXPECT_EQ(p.data.size(), StationRecord::kSize);
             EXPECT_EQ(p.record().kind, 1);
             EXPECT_EQ(p.record().port, QString::number(consolePort));
             EXPECT_EQ(p.record().name, QStringLiteral("远程"));
         }},
        {1005, text(QStringLiteral("/opt/dbkeel/bin/检测.exe"))},
        {1008, text(QStringLiteral("0"))},
        {1009, text(QStringLiteral("/opt/dbkeel/bin/检测.exe"))},
        {1010, text(QStringLiteral("/opt/dbkeel/bin/检测.exe"))},
        {1011, text(QStringLiteral("/opt/dbkeel/bin/检测.exe"))},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(SendCommand(QStringLiteral("127.0.0.1"), station.port(), c.code), 1) << c.code;
        const std::optional<QByteArray> datagram = station.receive();
        ASSERT_TRUE(datagram) << c.code;
        ASSERT_TRUE(CommandPacket::isWellFormed(datagram->constData(), datagram->size())) << c.code;
        const CommandPacket packet = *CommandPacket::fromBytes(datagram->constData(), datagram->size());
        EXPECT_EQ(packet.code, c.code);
        if (c.code != 1004) {
            EXPECT_EQ(packet.data.size(), toGbk(packet.text()).size()) << c.code;  // the length is the text's
        }
        c.check(packet);
    }
    for (const int code : {1006, 1007, 1012, 0}) {
        EXPECT_EQ(SendCommand(QStringLiteral("127.0.0.1"), station.port(), code), 1) << code;
        EXPECT_FALSE(station.receive(200ms)) << code;
    }
}

TEST_F(ConsoleNetworkTest, AFailedConnectRequestIsLoggedAndOthersAreSilent)
{
    hostLib().closeNet(kStationChannel);
    EXPECT_EQ(SendCommand(QStringLiteral("127.0.0.1"), 15999, 1003), 0);
    EXPECT_TRUE(recorder.logEntries().isEmpty());
    EXPECT_EQ(SendCommand(QStringLiteral("127.0.0.1"), 15999, 1004), 0);
    EXPECT_EQ(recorder.logEntries(), QStringList{QStringLiteral("连接IP[127.0.0.1],命令失败")});
}

TEST_F(ConsoleNetworkTest, AConnectSweepAsksEachAddressOnceAndMarksAllItsEntries)
{
    AgentProcess first{{QStringLiteral("--name"), QStringLiteral("工位A")}};
    AgentProcess second{{QStringLiteral("--name"), QStringLiteral("工位B")}};
    ASSERT_TRUE(first.isReady() && second.isReady());
    addStation(first.portText(), QStringLiteral("[1]线,[1]工位"));
    addStation(first.portText(), QStringLiteral("[1]线,[1]工位 again"));
    addStation(second.portText(), QStringLiteral("[1]线,[2]工位"));
    QList<bool> buttons;
    QObject::connect(
        &consoleEvents(), &ConsoleEvents::sweepButtonsEnabled, &operations, [&](bool on) { buttons << on; },
        Qt::DirectConnection);

    ConnectSweep();

    EXPECT_EQ(buttons, (QList<bool>{false, true}));
    ASSERT_TRUE(eventually(allEntriesConnected));
    EXPECT_TRUE(stationRegistry().allConnected());
    EXPECT_EQ(first.logCount(QStringLiteral("console 远程 at 127.0.0.1:%1").arg(consolePort)), 1);
    EXPECT_EQ(second.logCount(QStringLiteral("console 远程")), 1);
    const QStringList log = recorder.logEntries();
    EXPECT_TRUE(log.contains(QStringLiteral("1->127.0.0.1[%1]").arg(first.port())));
    EXPECT_TRUE(log.contains(QStringLiteral("2->127.0.0.1[%1]").arg(second.port())));
    EXPECT_FALSE(log.contains(QStringLiteral("3->127.0.0.1[%1]").arg(first.port())));
    EXPECT_TRUE(log.contains(QStringLiteral("连接结束")));
    EXPECT_TRUE(recorder.waitForLog(QStringLiteral("[cmd:1004](工位A)IP127.0.0.1(通讯成功)")));

    showComputers();
    for (int row = 0; row < computers.rowCount(); ++row) {
        EXPECT_EQ(computers.itemText(row, 3), QStringLiteral("已连接"));
        EXPECT_EQ(computers.textColor(row, 3), listcolor::Green);
    }
    EXPECT_EQ(computers.itemText(2, 0), QStringLiteral("[1]线,[2]工位"));

    ConnectSweep();  // everyone is connected: nothing more is sent
    EXPECT_EQ(first.logCount(QStringLiteral("console 远程")), 1);
}

// The sweep reads each entry when it reaches it: a computer that answered the sweep's earlier request
// under another entry's address is not asked again.
TEST_F(ConsoleNetworkTest, AReplyDuringTheSweepSparesTheEntriesItMarked)
{
    AgentProcess agent{
        {QStringLiteral("--bind"), QStringLiteral("0.0.0.0"), QStringLiteral("--ip"), QStringLiteral("127.0.0.2")}};
    ASSERT_TRUE(agent.isReady());
    addStation(agent.portText());  // asked at 127.0.0.1; the reply names 127.0.0.2
    RegistryEntry reported;
    reported.station = StationRecord{0, QStringLiteral("127.0.0.2"), agent.portText(), QStringLiteral("工位")};
    ASSERT_TRUE(stationRegistry().add(reported));
    setSweepPause(300ms);  // time for the reply before the sweep reaches the second entry

    ConnectSweep();

    EXPECT_TRUE(stationRegistry().entry(1).connected);
    EXPECT_EQ(agent.logCount(QStringLiteral("console 远程")), 1);
    EXPECT_FALSE(recorder.logEntries().contains(QStringLiteral("2->127.0.0.2[%1]").arg(agent.port())));
}

TEST_F(ConsoleNetworkTest, StartUpSweepsEndOnceEveryoneAnsweredThenTheClockIsPushedOnce)
{
    AgentProcess first, second;
    ASSERT_TRUE(first.isReady() && second.isReady());
    addStation(first.portText());
    addStation(second.portText());
    bool refreshed = false;
    QObject::connect(
        &consoleEvents(), &ConsoleEvents::registryRefreshed, &operations, [&] { refreshed = true; },
        Qt::DirectConnection);

    ConsoleWorker();

    for (const AgentProcess *agent : {&first, &second}) {
        EXPECT_EQ(agent->logCount(QStringLiteral("console 远程")), 1);
        EXPECT_EQ(agent->logCount(QStringLiteral("would have: set the clock")), 1);
    }
    EXPECT_EQ(StartupSweepDone.load(), 1);
    EXPECT_EQ(RegistryRefreshed.exchange(0), 1);
    EXPECT_TRUE(refreshed);
    // Neither agent may set the clock: each says so in the chat instead of the usual reply.
    const QString refused = QStringLiteral("%1说道:\r\n未执行: 时间同步 (未允许)").arg(QHostInfo::localHostName());
    EXPECT_TRUE(eventually([&] { return recorder.chatLines().count(refused) == 2; }));
    EXPECT_FALSE(recorder.logEntries().contains(
        QStringLiteral("[cmd:1001](%1)IP127.0.0.1(执行时间同步)").arg(QHostInfo::localHostName())));

    ConsoleWorker();  // a later run without a queued sweep sends nothing
    EXPECT_EQ(first.logCount(QStringLiteral("console 远程")), 1);
}

TEST_F(ConsoleNetworkTest, ASilentStationGetsThreeStartUpAttemptsAndOneClock)
{
    UdpPeer silent;
    addStation(QString::number(silent.port()));
    ConsoleWorker();
    QList<int> codes;
    for (const QByteArray &datagram : silent.receiveAll(300ms))
        codes << CommandPacket::fromBytes(datagram.constData(), datagram.size())->code;
    EXPECT_EQ(codes, (QList<int>{1004, 1004, 1004, 1001}));
    EXPECT_FALSE(stationRegistry().entry(0).connected);
}

TEST_F(ConsoleNetworkTest, RepliesMatchTheAddressWithoutRegardToLetterCase)
{
    struct Case {
        QString entryIp, entryPort, replyIp, replyPort;
        bool connected;
    };
    const Case cases[] = {
        {QStringLiteral("127.0.0.1"), QStringLiteral("15011"), QStringLiteral("127.0.0.1"), QStringLiteral("15011"),
         true},
        {QStringLiteral("station-a"), QStringLiteral("15011ab"), QStringLiteral("STATION-A"), QStringLiteral("15011AB"),
         true},
        {QStringLiteral("127.0.0.1"), QStringLiteral("15011"), QStringLiteral("127.0.0.1"), QStringLiteral("15012"),
         false},
        {QStringLiteral("127.0.0.1"), QStringLiteral("15011"), QStringLiteral("127.0.0.10"), QStringLiteral("15011"),
         false},
    };
    for (const Case &c : cases) {
        stationRegistry().clear();
        RegistryEntry entry;
        entry.station.ip = c.entryIp;
        entry.station.port = c.entryPort;
        stationRegistry().add(entry);
        handleReply(CommandPacket::withRecord(1004, StationRecord{0, c.replyIp, c.replyPort, QStringLiteral("x")}));
        EXPECT_EQ(stationRegistry().entry(0).connected, c.connected) << c.replyPort.toStdString();
        EXPECT_EQ(stationRegistry().allConnected(), c.connected);
    }
}

TEST_F(ConsoleNetworkTest, ProcessRowsTakeNoMoreNamesThanTheListHolds)
{
    const StationRecord from{0, QStringLiteral("127.0.0.1"), QStringLiteral("15011"), QStringLiteral("工位")};
    struct Case {
        QString list;
        QStringList names;
    };
    const Case cases[] = {
        {QStringLiteral("2,a.exe,b.exe"), {QStringLiteral("a.exe"), QStringLiteral("b.exe")}},
        {QStringLiteral("1,a.exe,b.exe"), {QStringLiteral("a.exe")}},
        {QStringLiteral("99999,a.exe"), {QStringLiteral("a.exe")}},
        {QStringLiteral("-3,a.exe"), {}},
        {QStringLiteral("garbage"), {}},
        {QString(), {}},
    };
    for (const Case &c : cases) {
        QStringList names;
        for (const QStringList &row : processRows(c.list, from)) {
            names << row.value(0);
            EXPECT_EQ(row.mid(1),
                      (QStringList{QStringLiteral("工位"), QStringLiteral("127.0.0.1"), QStringLiteral("15011")}));
        }
        EXPECT_EQ(names, c.names) << c.list.toStdString();
    }
}

TEST_F(ConsoleNetworkTest, DatagramsWithLyingLengthsDoNotUpsetTheReceiveLoop)
{
    UdpPeer liar;
    const StationRecord record{0, QStringLiteral("127.0.0.1"), QStringLiteral("1"), QStringLiteral("说谎")};
    for (const qint32 length : {100000, -7, INT32_MAX, INT32_MIN}) {
        for (const int code : {1011, 1004, 1012, 1003}) {
            QByteArray bytes = CommandPacket::withRecord(code, record, "3,x,y,z").toBytes();
            qToLittleEndian<qint32>(length, bytes.data() + CommandPacket::kLengthOffset);
            liar.send(consolePort, bytes);
        }
    }
    liar.send(consolePort, QByteArray(5000, 'x'));
    liar.send(consolePort, CommandPacket::withRecord(1003, record).toBytes());
    EXPECT_TRUE(recorder.waitForLog(QStringLiteral("[cmd:1003](说谎)IP127.0.0.1(测试OK)")));
    EXPECT_TRUE(consoleThreads().isReceiveLoopRunning());
}

TEST_F(ConsoleNetworkTest, AProcessListFillsAndADoubleClickEndsTheProcess)
{
    QTemporaryDir dir;
    const QString victimName = QStringLiteral("dbkeel-victim-%1").arg(QCoreApplication::applicationPid());
    const QString victimPath = dir.filePath(victimName);
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), victimPath));
    QProcess victim;
    victim.start(victimPath, {QStringLiteral("300")});
    ASSERT_TRUE(victim.waitForStarted());
    AgentProcess agent{{QStringLiteral("--allow-end"), QStringLiteral("--name"), QStringLiteral("工位A")}};
    ASSERT_TRUE(agent.isReady());
    addStation(agent.portText());
    showComputers({agent.portText()});

    operations.selectCommand(ConsoleOperations::ProcessList);
    operations.execute();
    ASSERT_TRUE(eventually([&] { return processes.rowCount() > 0; }));
    int row = -1;
    for (int r = 0; r < processes.rowCount(); ++r)
        row = processes.itemText(r, 0) == victimName ? r : row;
    ASSERT_GE(row, 0);
    EXPECT_EQ(processes.itemText(row, 1), QStringLiteral("工位A"));
    EXPECT_EQ(processes.itemText(row, 2), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(processes.itemText(row, 3), agent.portText());
    EXPECT_EQ(processes.textColor(row, 0), listcolor::Blue);
    EXPECT_TRUE(recorder.waitForLog(QStringLiteral("[cmd:1011](工位A)IP127.0.0.1已获取指定IP进程")));

    const int rows = processes.rowCount();
    scripted.answer(PromptButton::Cancel);
    operations.endProcess(row);
    EXPECT_EQ(processes.rowCount(), rows);
    const PromptCall &question = scripted.lastCall();
    EXPECT_EQ(question.caption, QStringLiteral("提示"));
    EXPECT_EQ(question.text,
              QStringLiteral("确定要结束该进程,若结束该进程可能会导致该程序无法正常运行!确定(继续),取消?"));
    EXPECT_EQ(question.icon, PromptIcon::Question);
    EXPECT_EQ(question.buttons, PromptButtons::OkCancel);
    EXPECT_EQ(question.defaultButton, PromptButton::Cancel);
    EXPECT_FALSE(victim.waitForFinished(300));

    scripted.answer(PromptButton::Ok);
    operations.endProcess(row);
    EXPECT_EQ(processes.rowCount(), rows - 1);
    EXPECT_TRUE(victim.waitForFinished(5000));
    EXPECT_TRUE(recorder.waitForLog(QStringLiteral("[cmd:1010](工位A)IP127.0.0.1指定进程已结束")));
    EXPECT_TRUE(eventually([] { return commandText().isEmpty(); }));
}

TEST_F(ConsoleNetworkTest, AMessageGoesToTheTickedComputersAndIntoTheChat)
{
    AgentProcess ticked, other;
    ASSERT_TRUE(ticked.isReady() && other.isReady());
    addStation(ticked.portText());
    addStation(other.portText());
    showComputers({ticked.portText()});

    EXPECT_FALSE(operations.sendMessage(QStringLiteral("你好")));  // only with "通知" selected
    operations.selectCommand(ConsoleOperations::Notice);
    EXPECT_FALSE(operations.sendMessage(QString()));
    EXPECT_TRUE(scripted.calls().empty());
    EXPECT_TRUE(operations.sendMessage(QStringLiteral("你好")));
    EXPECT_EQ(recorder.chatLines(), QStringList{QStringLiteral("远程说道:\r\n你好")});
    EXPECT_TRUE(ticked.waitForLog(QStringLiteral("message from 127.0.0.1:%1: 远程说道:  你好").arg(consolePort)));
    EXPECT_EQ(other.logCount(QStringLiteral("message from")), 0);

    computers.setAllChecked(false);
    scripted.answer(PromptButton::Ok);
    EXPECT_FALSE(operations.sendMessage(QStringLiteral("再见")));
    EXPECT_EQ(scripted.lastCall().caption, QStringLiteral("提示"));
    EXPECT_EQ(scripted.lastCall().text, QStringLiteral("请选择发信息的对象!!"));
    EXPECT_EQ(recorder.chatLines().size(), 1);
}

TEST_F(ConsoleNetworkTest, AMessageReopensAClosedChannelOnPortIdAndIsSentOnce)
{
    AgentProcess agent;
    ASSERT_TRUE(agent.isReady());
    addStation(agent.portText());
    showComputers({agent.portText()});
    operations.selectCommand(ConsoleOperations::Notice);
    localStation().port = QString::number(freeUdpPort());  // as when ReadConfig refused SERVERIP
    hostLib().closeNet(kStationChannel);
    EXPECT_TRUE(operations.sendMessage(QStringLiteral("重发")));
    EXPECT_EQ(recorder.chatLines(), QStringList{QStringLiteral("远程说道:\r\n重发")});
    EXPECT_TRUE(agent.waitForLog(QStringLiteral("message from 127.0.0.1:%1: 远程说道:  重发").arg(consolePort)));
    EXPECT_EQ(agent.logCount(QStringLiteral("重发")), 1);
}

TEST_F(ConsoleNetworkTest, CommandBoxSelectionSetsTheControls)
{
    struct Case {
        int entry;
        bool execute, send, messageEdit, chat, processList, focus;
    };
    const Case cases[] = {
        {ConsoleOperations::Notice, false, true, true, true, false, true},
        {ConsoleOperations::ProcessList, true, false, false, false, true, false},
        {ConsoleOperations::TestLink, true, false, false, false, true, false},
        {ConsoleOperations::StartProgram, true, false, false, false, true, false},
    };
    std::optional<CommandBoxState> announced;
    QObject::connect(&operations, &ConsoleOperations::commandBoxChanged, &operations,
                     [&](const CommandBoxState &s) { announced = s; });
    for (const Case &c : cases) {
        operations.selectCommand(c.entry);
        const CommandBoxState s = operations.commandBoxState();
        EXPECT_EQ(s.executeEnabled, c.execute) << c.entry;
        EXPECT_EQ(s.sendEnabled, c.send) << c.entry;
        EXPECT_EQ(s.messageEditEnabled, c.messageEdit) << c.entry;
        EXPECT_EQ(s.chatVisible, c.chat) << c.entry;
        EXPECT_EQ(s.processListVisible, c.processList) << c.entry;
        EXPECT_EQ(s.focusMessageEdit, c.focus) << c.entry;
        ASSERT_TRUE(announced);
        EXPECT_EQ(announced->sendEnabled, c.send);
    }
    EXPECT_EQ(ConsoleOperations::commandEntries().at(ConsoleOperations::Notice), QStringLiteral("通知"));
}

TEST_F(ConsoleNetworkTest, ButtonsActOnTheTickedComputersOnly)
{
    AgentProcess ticked{{QStringLiteral("--name"), QStringLiteral("工位A")}};
    AgentProcess other;
    ASSERT_TRUE(ticked.isReady() && other.isReady());
    addStation(ticked.portText());
    addStation(other.portText());
    showComputers();
    operations.selectAll();
    EXPECT_TRUE(computers.isChecked(0) && computers.isChecked(1));
    operations.invertSelection();
    EXPECT_FALSE(computers.isChecked(0) || computers.isChecked(1));
    operations.shutdown();  // nothing ticked: nothing sent
    computers.setChecked(0, true);

    // What the agent did is logged under the request's code; what it refused comes back as one chat line.
    struct Case {
        std::function<void()> press;
        int code;
        QString consoleNote, agentLog;
    };
    const Case cases[] = {
        {[&] {
             operations.selectCommand(ConsoleOperations::TestLink);
             operations.execute();
         },
         1003, QStringLiteral("(测试OK)"), QStringLiteral("test from")},
        {[&] {
             operations.selectCommand(ConsoleOperations::ComputerInfo);
             operations.execute();
         },
         1004, QStringLiteral("(通讯成功)"), QStringLiteral("console 远程")},
        {[&] { operations.shutdown(); }, 1002, QStringLiteral("未执行: 关闭计算机 (未允许)"),
         QStringLiteral("would have: shut down")},
        {[&] { operations.restart(); }, 1008, QStringLiteral("未执行: 重启动计算机 (未允许)"),
         QStringLiteral("would have: restart")},
        {[&] { operations.syncTime(); }, 1001, QStringLiteral("未执行: 时间同步 (未允许)"),
         QStringLiteral("would have: set the clock")},
    };
    for (const Case &c : cases) {
        c.press();
        EXPECT_TRUE(ticked.waitForLog(c.agentLog)) << c.agentLog.toStdString();
        const QString logged = QStringLiteral("[cmd:%1](工位A)IP127.0.0.1").arg(c.code);
        if (c.consoleNote.startsWith(u'(')) {
            EXPECT_TRUE(recorder.waitForLog(logged + c.consoleNote)) << c.code;
            continue;
        }
        const QString chat = QStringLiteral("工位A说道:\r\n") + c.consoleNote;
        EXPECT_TRUE(eventually([&] { return recorder.chatLines().contains(chat); })) << chat.toStdString();
        EXPECT_EQ(recorder.chatLines().count(chat), 1);
        const QStringList entries = recorder.logEntries();
        EXPECT_FALSE(std::any_of(entries.begin(), entries.end(), [&](const QString &l) {
            return l.startsWith(logged);
        })) << c.code;
    }
    EXPECT_EQ(other.log().count(QLatin1Char('\n')), 1);  // only its start line
    EXPECT_TRUE(stationRegistry().entry(0).connected);
    EXPECT_FALSE(stationRegistry().entry(1).connected);
}

TEST_F(ConsoleNetworkTest, ConnectQueuesASweepUnlessOneIsPending)
{
    AgentProcess agent;
    ASSERT_TRUE(agent.isReady());
    addStation(agent.portText());
    StartupSweepDone = 1;

    PendingCommand = 1006;
    scripted.answer(PromptButton::Ok);
    operations.connectStations();
    EXPECT_EQ(scripted.lastCall().text, QStringLiteral("当前命令还没执行完毕,请稍后再试!"));
    EXPECT_EQ(scripted.lastCall().icon, PromptIcon::Exclamation);
    EXPECT_EQ(agent.logCount(QStringLiteral("console")), 0);

    PendingCommand = 0;
    operations.connectStations();
    EXPECT_TRUE(eventually([] { return PendingCommand.load() == 0 && !consoleThreads().isWorkerRunning(); }));
    EXPECT_TRUE(agent.waitForLog(QStringLiteral("console 远程")));
    EXPECT_TRUE(eventually(allEntriesConnected));
}

TEST_F(ConsoleNetworkTest, SendFileAnnouncesThePathToEveryRegisteredComputer)
{
    AgentProcess first, second;
    ASSERT_TRUE(first.isReady() && second.isReady());
    addStation(first.portText());
    addStation(second.portText());
    showComputers();  // nothing ticked
    StartupSweepDone = 1;

    scripted.answerFile(QString());
    operations.sendFile();
    EXPECT_EQ(scripted.lastCall().file.filter, QStringLiteral("open files (*.ini)|*.ini|ALL files (*.*)|*.*||"));
    EXPECT_TRUE(scripted.lastCall().file.initialPath.endsWith(QStringLiteral("*.ini")));

    scripted.answerFile(QStringLiteral("/opt/dbkeel/config/线.ini"));
    operations.sendFile();
    for (const AgentProcess *agent : {&first, &second})
        EXPECT_TRUE(agent->waitForLog(
            QStringLiteral("file announced by 127.0.0.1:%1: /opt/dbkeel/config/线.ini").arg(consolePort)));
    EXPECT_TRUE(eventually([] { return PendingCommand.load() == 0 && !consoleThreads().isWorkerRunning(); }));
}

TEST_F(ConsoleNetworkTest, SendFileRefusesWhileTheWorkerRuns)
{
    UdpPeer silent;
    addStation(QString::number(silent.port()));
    setSweepPause(5000ms);
    ASSERT_TRUE(consoleThreads().startWorker());  // the start-up sweeps
    scripted.answerFile(QStringLiteral("/opt/a.ini")).answer(PromptButton::Ok);
    operations.sendFile();
    EXPECT_EQ(scripted.lastCall().text, QStringLiteral("正在发送数据,请稍后再试!"));
    EXPECT_TRUE(consoleThreads().stopWorker(2s));
    int announcements = 0;
    for (const QByteArray &datagram : silent.receiveAll(200ms))
        announcements += CommandPacket::fromBytes(datagram.constData(), datagram.size())->code == 1005 ? 1 : 0;
    EXPECT_EQ(announcements, 0);
}

TEST_F(ConsoleNetworkTest, StartProgramAsksForTheProgramOfEachTickedComputer)
{
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("started"));
    const QString program = dir.filePath(QStringLiteral("start-me"));
    writeFileBytes(program, QStringLiteral("#!/bin/sh\necho started > '%1'\n").arg(marker).toUtf8());
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    AgentProcess agent{{QStringLiteral("--allow-start"), QStringLiteral("--program-dir"), dir.path(),
                        QStringLiteral("--name"), QStringLiteral("工位A")}};
    ASSERT_TRUE(agent.isReady());
    addStation(agent.portText());
    showComputers({agent.portText()});
    operations.selectCommand(ConsoleOperations::StartProgram);

    scripted.answerFile(QString());
    operations.execute();
    const FileRequest request = scripted.lastCall().file;
    EXPECT_EQ(request.filter, QStringLiteral("open files (*.exe)|*.exe|ALL files (*.*)|*.*||"));
    EXPECT_EQ(request.mode, FileRequest::Open);
    EXPECT_FALSE(agent.waitForLog(QStringLiteral("start"), 1, 300ms));

    scripted.answerFile(program);
    operations.execute();
    EXPECT_TRUE(eventually([&] { return QFile::exists(marker); }));
    EXPECT_TRUE(recorder.waitForLog(QStringLiteral("[cmd:1009](工位A)IP127.0.0.1指定程序已启动")));
    EXPECT_EQ(commandText(), program);
}

TEST_F(ConsoleNetworkTest, FileDialogsStartBesideTheProgramDirectory)
{
    writeHostCfg("[HOSTCFG]\r\n2=/opt/zetra/SYSTEM/program\r\n");
    ASSERT_GT(hostLib().getHostCfg(hostConfig()), 0);
    EXPECT_EQ(ConsoleOperations::fileRequestFor(QStringLiteral(".exe")).initialPath,
              joinPath(QStringLiteral("/opt/zetra/SYSTEM/bin"), QStringLiteral("*.exe")));
    EXPECT_EQ(ConsoleOperations::installationFolder(QStringLiteral("DEVBIN")),
              QStringLiteral("/opt/zetra/SYSTEM/DEVBIN"));
    removeHostCfg();
    hostLib().getHostCfg(hostConfig());
    EXPECT_EQ(ConsoleOperations::fileRequestFor(QStringLiteral(".exe")).initialPath, QStringLiteral("*.exe"));
}

// Replaces the host library file and binds the library again (the same file: the program loads it by
// its own name), while another thread keeps sending as a sweep does.
TEST_F(ConsoleNetworkTest, HostLibraryUpdateHoldsEveryUserAndBindsTheLibraryAgain)
{
    scripted.answerFile(QString());
    replaceHostLibrary();
    EXPECT_TRUE(consoleThreads().isReceiveLoopRunning());

    UdpPeer peer;
    std::atomic<bool> sending{true};
    std::atomic<int> sent{0}, failed{0};
    std::thread sweep([&] {
        while (sending)
            (SendCommand(QStringLiteral("127.0.0.1"), peer.port(), stationcode::Test) == 1 ? sent : failed)++;
    });
    const QString source = folderWithLibrary(QStringLiteral("libHostCfg.so"), QStringLiteral("libHostCfgNew.so"));
    const QString target = joinPath(systemDirectory(), QStringLiteral("libHostCfgNew.so"));
    writeFileBytes(target, "old");
    ASSERT_TRUE(eventually([&] { return sent > 0; }));
    scripted.answerFile(source + QStringLiteral("/libHostCfgNew.so")).answer(PromptButton::Ok);
    replaceHostLibrary();
    const int sentBefore = sent;
    EXPECT_TRUE(eventually([&] { return sent > sentBefore; }));
    sending = false;
    sweep.join();
    EXPECT_EQ(failed, 0);  // no send found the library gone or the channel closed

    EXPECT_TRUE(scripted.calls().at(1).file.filter.startsWith(QStringLiteral("open files (*.so)|*.so|")));
    EXPECT_EQ(scripted.lastCall().text, QStringLiteral("更新成功,请重新启动本系统工具!"));
    EXPECT_EQ(scripted.lastCall().icon, PromptIcon::Information);
    EXPECT_TRUE(hostLib().isLoaded());
    EXPECT_TRUE(consoleThreads().isReceiveLoopRunning());
    EXPECT_EQ(readFileBytes(target), readFileBytes(source + QStringLiteral("/libHostCfgNew.so")));

    // The channel is open again on PORTID and replies are read again.
    AgentProcess agent;
    ASSERT_TRUE(agent.isReady());
    EXPECT_EQ(SendCommand(QStringLiteral("127.0.0.1"), agent.port(), stationcode::Test), 1);
    EXPECT_TRUE(agent.waitForLog(QStringLiteral("test from 127.0.0.1:%1").arg(consolePort)));
    EXPECT_TRUE(eventually([&] { return recorder.logEntries().join(u'|').contains(QStringLiteral("(测试OK)")); }));

    // Choosing the installed file itself must not destroy it.
    scripted.answerFile(target).answer(PromptButton::Ok);
    replaceHostLibrary();
    EXPECT_EQ(readFileBytes(target), readFileBytes(source + QStringLiteral("/libHostCfgNew.so")));
    QFile::remove(target);
}

}  // namespace
}  // namespace dbkeel::test
