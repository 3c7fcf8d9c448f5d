// The station agent as an outside program sees it: real processes, datagrams on 127.0.0.1.

#include "agent/AgentLog.h"
#include "tests/console/ConsoleTestSupport.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtEndian>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace dbkeel::test {
namespace {

CommandPacket reply(const QByteArray &datagram)
{
    EXPECT_TRUE(CommandPacket::isWellFormed(datagram.constData(), datagram.size()));
    return CommandPacket::fromBytes(datagram.constData(), datagram.size()).value_or(CommandPacket{});
}

std::optional<QByteArray> ask(UdpPeer &peer, const AgentProcess &agent, const CommandPacket &request)
{
    peer.send(agent.port(), request.toBytes());
    return peer.receive(1000ms);
}

// A script that leaves "<its path>.started" behind when it runs.
QString writeMarkerScript(const QString &path, QFileDevice::Permissions permissions = QFileDevice::ExeOwner)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFileBytes(path, QStringLiteral("#!/bin/sh\n: > '%1.started'\n").arg(path).toLocal8Bit());
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | permissions);
    return path;
}

QString markerOf(const QString &script)
{
    return script + QStringLiteral(".started");
}

// Every marker a started script left anywhere under `root`, sorted, one a line.
std::string startedScripts(const QString &root)
{
    QStringList markers;
    QDirIterator it(root, {QStringLiteral("*.started")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        markers.append(it.next());
    markers.sort();
    return markers.join(QLatin1Char('\n')).toStdString();
}

class AgentTest : public ::testing::Test {
protected:
    AgentProcess agent{{QStringLiteral("--name"), QStringLiteral("工位甲"), QStringLiteral("--kind"),
                        QStringLiteral("3"), QStringLiteral("--ip"), QStringLiteral("192.168.0.3")}};
    UdpPeer console;

    std::optional<QByteArray> ask(const CommandPacket &request) { return test::ask(console, agent, request); }
};

// What it does it answers with the request's code and its record; what it may not do it answers with
// a chat line (1012) saying so.
TEST_F(AgentTest, AnswersWhatItDidWithItsRecordAndWhatItRefusedInTheChat)
{
    ASSERT_TRUE(agent.isReady());
    struct Case {
        CommandPacket request;
        QString logged;
        QString refusal;  // empty: the usual reply
    };
    const Case cases[] = {
        {CommandPacket::withText(1001, QStringLiteral("2026-12-10 08:00:00")),
         QStringLiteral("not allowed, would have: set the clock to 2026-12-10 08:00:00"),
         QStringLiteral("未执行: 时间同步 (未允许)")},
        {CommandPacket::withText(1002, QStringLiteral("0")), QStringLiteral("not allowed, would have: shut down"),
         QStringLiteral("未执行: 关闭计算机 (未允许)")},
        {CommandPacket::withText(1008, QStringLiteral("0")), QStringLiteral("not allowed, would have: restart"),
         QStringLiteral("未执行: 重启动计算机 (未允许)")},
        {CommandPacket::withText(1003, QStringLiteral("测试...[07]")), QStringLiteral("测试...[07]"), {}},
        {CommandPacket::withRecord(1004, StationRecord{1, QStringLiteral("127.0.0.1"), QStringLiteral("15000"),
                                                       QStringLiteral("远程")}),
         QStringLiteral("console 远程 at 127.0.0.1:15000"),
         {}},
        {CommandPacket::withText(1009, QStringLiteral("/bin/true")),
         QStringLiteral("not allowed, would have: start /bin/true"),
         QStringLiteral("未执行: 启动程序 /bin/true (未允许)")},
        {CommandPacket::withText(1010, QStringLiteral("sshd")),
         QStringLiteral("not allowed, would have: end the processes named sshd"),
         QStringLiteral("未执行: 结束进程 sshd (未允许)")},
    };
    for (const Case &c : cases) {
        const std::optional<QByteArray> answer = ask(c.request);
        ASSERT_TRUE(answer) << c.request.code;
        EXPECT_TRUE(agent.waitForLog(c.logged)) << c.logged.toStdString();
        const CommandPacket packet = reply(*answer);
        if (!c.refusal.isEmpty()) {
            EXPECT_EQ(packet.code, 1012);
            EXPECT_EQ(packet.text(), QStringLiteral("工位甲说道:\r\n") + c.refusal);
            continue;
        }
        EXPECT_EQ(packet.code, c.request.code);
        EXPECT_EQ(packet.data.size(), StationRecord::kSize) << c.request.code;
        const StationRecord own = packet.record();
        EXPECT_EQ(own.kind, 3);
        EXPECT_EQ(own.ip, QStringLiteral("192.168.0.3"));
        EXPECT_EQ(own.port, agent.portText());
        EXPECT_EQ(own.name, QStringLiteral("工位甲"));
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
        {CommandPacket::withText(1005, QStringLiteral("/opt/dbkeel/config/a.ini")).toBytes(),
         QStringLiteral(": /opt/dbkeel/config/a.ini")},
        {CommandPacket::withText(1012, QStringLiteral("远程说道:\r\n你好")).toBytes(),
         QStringLiteral("远程说道:  你好")},
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
            qToLittleEndian<qint32>(codes.at(random.bounded(int(codes.size()))),
                                    datagram.data() + CommandPacket::kCodeOffset);
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

// A program folder with scripts inside it and around it. The agent may start programs from that folder
// only (named second in its file's PROGRAMDIRS list); it runs in the scratch folder with a "reboot"
// script first on its PATH, so a bare name or a relative path that got through would run a script too.
class AgentStartTest : public ::testing::Test {
protected:
    QTemporaryDir scratch;
    const QString programs = scratch.filePath(QStringLiteral("programs"));
    const QString outside = scratch.filePath(QStringLiteral("outside"));
    const QString allowed = writeMarkerScript(programs + QStringLiteral("/run.sh"));
    UdpPeer console;

    AgentStartTest()
    {
        for (const QString &name :
             {QStringLiteral("escape.sh"), QStringLiteral("linked.sh"), QStringLiteral("plain.sh")})
            writeMarkerScript(outside + u'/' + name);
        writeMarkerScript(programs + QStringLiteral("/relative.sh"));
        writeMarkerScript(programs + QStringLiteral("/notes.txt"), {});
        writeMarkerScript(programs + QStringLiteral("/sub/again.sh"));
        QFile::link(outside + QStringLiteral("/linked.sh"), programs + QStringLiteral("/link.sh"));
        QFile::link(QStringLiteral("sub/again.sh"), programs + QStringLiteral("/inner.sh"));
        writeMarkerScript(scratch.filePath(QStringLiteral("bin/reboot")));
        QDir(scratch.path()).mkdir(QStringLiteral("empty"));
    }

    AgentProcess startAgent(const QString &programDirs)
    {
        const QString config = scratch.filePath(QStringLiteral("agent.ini"));
        writeFileBytes(config,
                       QStringLiteral("[AGENT]\r\nALLOWSTART=1\r\nPROGRAMDIRS=%1\r\n").arg(programDirs).toLocal8Bit());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"),
                           scratch.filePath(QStringLiteral("bin:")) + environment.value(QStringLiteral("PATH")));
        return AgentProcess({QStringLiteral("--config"), config}, scratch.path(), environment);
    }

    // Asks the agent to start `path`: it logs `logged` and replies as usual when it started it, else
    // with a chat line that ends in `refusal`.
    void expectStart(AgentProcess &agent, const QString &path, const QString &logged, const QString &refusal = {})
    {
        const std::optional<QByteArray> answer = ask(console, agent, CommandPacket::withText(1009, path));
        ASSERT_TRUE(answer) << path.toStdString();
        const CommandPacket packet = reply(*answer);
        EXPECT_EQ(packet.code, refusal.isEmpty() ? 1009 : 1012) << path.toStdString();
        if (!refusal.isEmpty()) {
            EXPECT_TRUE(packet.text().endsWith(QStringLiteral("未执行: 启动程序 %1 (%2)").arg(path, refusal)))
                << packet.text().toStdString();
        }
        EXPECT_TRUE(agent.waitForLog(logged)) << logged.toStdString();
    }
};

TEST_F(AgentStartTest, StartsOnlyExecutablesInsideItsProgramFolders)
{
    AgentProcess agent = startAgent(scratch.filePath(QStringLiteral("empty")) + QStringLiteral("; ") + programs);
    ASSERT_TRUE(agent.isReady());
    struct Case {
        QString path;
        QString logged;  // the log keeps its English
        QString shown;   // the chat speaks Chinese
    };
    const Case refused[] = {
        {QStringLiteral("reboot"), QStringLiteral("not an absolute path"), QStringLiteral("不是绝对路径")},
        {QStringLiteral("programs/relative.sh"), QStringLiteral("not an absolute path"),
         QStringLiteral("不是绝对路径")},
        {programs + QStringLiteral("/../outside/escape.sh"), QStringLiteral("the path holds \"..\""),
         QStringLiteral("路径含有 \"..\"")},
        {programs + QStringLiteral("/sub/../run.sh"), QStringLiteral("the path holds \"..\""),
         QStringLiteral("路径含有 \"..\"")},
        {programs + QStringLiteral("/link.sh"), QStringLiteral("outside the program folders"),
         QStringLiteral("不在允许的程序文件夹内")},
        {outside + QStringLiteral("/plain.sh"), QStringLiteral("outside the program folders"),
         QStringLiteral("不在允许的程序文件夹内")},
        {programs + QStringLiteral("/missing.sh"), QStringLiteral("no such file"), QStringLiteral("文件不存在")},
        {programs + QStringLiteral("/sub"), QStringLiteral("not a regular file"), QStringLiteral("不是普通文件")},
        {programs + QStringLiteral("/notes.txt"), QStringLiteral("not executable"), QStringLiteral("不是可执行文件")},
        {QString(), QStringLiteral("no program named"), QStringLiteral("未指定程序")},
    };
    for (const Case &c : refused)
        expectStart(agent, c.path, QStringLiteral("refused: start %1: %2").arg(c.path, c.logged),
                    QStringLiteral("拒绝: ") + c.shown);

    // A link that stays inside the folder is fine; the script that runs is the one it leads to.
    for (const QString &path : {allowed, programs + QStringLiteral("/inner.sh")})
        expectStart(agent, path, QStringLiteral("done: start %1").arg(path));
    const std::string started = (markerOf(allowed) + u'\n' + markerOf(programs + QStringLiteral("/sub/again.sh")))
                                    .toStdString();
    EXPECT_TRUE(eventually([&] { return startedScripts(scratch.path()).size() >= started.size(); }));
    EXPECT_EQ(startedScripts(scratch.path()), started);
}

// A path the kernel can open but whose real path is longer than PATH_MAX: links inside the folder
// lead through a chain of relative links to a script deep outside it. Nothing may start.
TEST_F(AgentStartTest, RefusesAPathThatCannotBeResolvedInFull)
{
    const QString longName(240, u'd');
    QString previous = QStringLiteral("deep");
    QDir(outside).mkdir(previous);
    for (int level = 1; level <= 18; ++level) {
        const QString target = previous + u'/' + longName;
        ASSERT_TRUE(QDir(outside).mkdir(target));
        previous = QStringLiteral("s%1").arg(level);
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(outside + u'/' + previous)), 0);
    }
    const QString evil = writeMarkerScript(outside + u'/' + previous + QStringLiteral("/evil.sh"));
    ASSERT_TRUE(QFile::exists(evil));
    ASSERT_EQ(::symlink(QFile::encodeName(QStringLiteral("../outside/") + previous).constData(),
                        QFile::encodeName(programs + QStringLiteral("/deep"))),
              0);

    AgentProcess agent = startAgent(programs);
    ASSERT_TRUE(agent.isReady());
    const QString requested = programs + QStringLiteral("/deep/evil.sh");
    expectStart(agent, requested, QStringLiteral("refused: start %1: cannot be resolved").arg(requested),
                QStringLiteral("拒绝: 无法确定文件的实际路径"));
    expectStart(agent, allowed, QStringLiteral("done: start %1").arg(allowed));
    EXPECT_TRUE(eventually([&] { return QFile::exists(markerOf(allowed)); }));
    EXPECT_FALSE(QFile::exists(markerOf(evil)));
}

// The requested name is swapped between a program of the folder and a link to a script outside it
// while the requests come in: whatever the name is at the check, the file started is the file checked.
TEST_F(AgentStartTest, StartsTheFileItCheckedWhileTheNameIsSwapped)
{
    AgentProcess agent = startAgent(programs);
    ASSERT_TRUE(agent.isReady());
    const QByteArray swapped = QFile::encodeName(programs + QStringLiteral("/swap.sh"));
    const QByteArray file = QFile::encodeName(programs + QStringLiteral("/swap.file"));
    const QByteArray link = QFile::encodeName(programs + QStringLiteral("/swap.link"));
    const QByteArray inside = QFile::encodeName(allowed),
                     outsideScript = QFile::encodeName(outside + QStringLiteral("/linked.sh"));
    std::atomic<bool> stop = false;
    std::thread swapper([&] {
        while (!stop) {
            ::link(inside.constData(), file.constData());
            ::rename(file.constData(), swapped.constData());
            ::symlink(outsideScript.constData(), link.constData());
            ::rename(link.constData(), swapped.constData());
        }
    });
    const int requests = 400;
    for (int k = 0; k < requests; ++k)
        ask(console, agent, CommandPacket::withText(1009, QString::fromLocal8Bit(swapped)));
    stop = true;
    swapper.join();

    const QString what = QStringLiteral("start ") + QString::fromLocal8Bit(swapped);
    EXPECT_TRUE(agent.waitForLog(what, requests));
    EXPECT_GT(agent.logCount(QStringLiteral("done: ") + what), 0);  // both sides of the swap were seen
    EXPECT_GT(agent.logCount(QStringLiteral("refused: ") + what + QStringLiteral(": outside the program folders")), 0);
    EXPECT_TRUE(eventually([&] { return QFile::exists(markerOf(allowed)); }));
    std::this_thread::sleep_for(300ms);  // a script started last has time to leave its marker
    EXPECT_FALSE(QFile::exists(markerOf(outside + QStringLiteral("/linked.sh"))));
}

TEST_F(AgentStartTest, StartsNothingUntilAProgramFolderIsNamed)
{
    AgentProcess agent = startAgent(QString());
    ASSERT_TRUE(agent.isReady());
    const QString noFolder = QStringLiteral("拒绝: 未配置程序文件夹");
    expectStart(agent, allowed, QStringLiteral("refused: start %1: no program folder is configured").arg(allowed),
                noFolder);
    expectStart(agent, QStringLiteral("reboot"),
                QStringLiteral("refused: start reboot: no program folder is configured"), noFolder);
    EXPECT_EQ(startedScripts(scratch.path()), "");
}

// Programs inside the folder that the system will not run: the log keeps the system's text, the chat
// gives the Chinese one, or the system's text in parentheses for an error without one.
TEST_F(AgentStartTest, TellsTheConsoleInChineseWhyTheSystemDidNotStartAProgram)
{
    const auto executable = [](const QString &path, const QByteArray &text) {
        writeFileBytes(path, text);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        return path;
    };
    const QString unreadable = scratch.filePath(QStringLiteral("interpreter.txt"));
    writeFileBytes(unreadable, "not a program\n");
    // Each script runs the next as its interpreter, deeper than the system follows.
    QString interpreter = QStringLiteral("/bin/sh");
    for (int level = 0; level < 8; ++level)
        interpreter = executable(programs + QStringLiteral("/nested%1.sh").arg(level),
                                 "#!" + interpreter.toLocal8Bit() + '\n');
    struct Case {
        QString path;
        int error;
        QString shown;
    };
    const Case failed[] = {
        {executable(programs + QStringLiteral("/garbage.bin"), "not a program\n"), ENOEXEC,
         QStringLiteral("不是可执行的文件格式")},
        {executable(programs + QStringLiteral("/lost.sh"), "#!/nonexistent/interpreter\n"), ENOENT,
         QStringLiteral("文件不存在")},
        {executable(programs + QStringLiteral("/denied.sh"), "#!" + unreadable.toLocal8Bit() + '\n'), EACCES,
         QStringLiteral("权限不足")},
        {interpreter, ELOOP, QStringLiteral("系统错误 (%1)").arg(QString::fromLocal8Bit(std::strerror(ELOOP)))},
    };
    AgentProcess agent = startAgent(programs);
    ASSERT_TRUE(agent.isReady());
    for (const Case &c : failed)
        expectStart(agent, c.path,
                    QStringLiteral("failed: start %1: %2").arg(c.path, QString::fromLocal8Bit(std::strerror(c.error))),
                    QStringLiteral("失败: ") + c.shown);
}

TEST(AgentConsoleTest, ObeysOnlyTheListedConsolesButAnswersEveryone)
{
    QTemporaryDir scratch;
    const QString programs = scratch.filePath(QStringLiteral("programs"));
    const QString script = writeMarkerScript(programs + QStringLiteral("/run.sh"));
    // A process of a name of its own for 1010 to end.
    const QString victimName = QStringLiteral("dbkeel-victim-%1").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), scratch.filePath(victimName)));
    QProcess victim;
    victim.start(scratch.filePath(victimName), {QStringLiteral("60")});
    ASSERT_TRUE(victim.waitForStarted());

    const QString config = scratch.filePath(QStringLiteral("agent.ini"));
    writeFileBytes(config, QByteArrayLiteral("[AGENT]\r\nCONSOLES=127.0.0.3;127.0.0.1\r\n"));
    AgentProcess agent{{QStringLiteral("--config"), config, QStringLiteral("--allow-start"),
                        QStringLiteral("--allow-end"), QStringLiteral("--program-dir"), programs}};
    ASSERT_TRUE(agent.isReady());
    UdpPeer stranger(QHostAddress(QStringLiteral("127.0.0.2")));
    struct Case {
        CommandPacket request;
        QString logged;
    };
    const QString notListed = QStringLiteral(" (127.0.0.2 is not a listed console)");
    const Case cases[] = {
        {CommandPacket::withText(1001, QStringLiteral("2026-12-10 08:00:00")),
         QStringLiteral("not allowed, would have: set the clock to 2026-12-10 08:00:00") + notListed},
        {CommandPacket::withText(1002, QStringLiteral("0")),
         QStringLiteral("not allowed, would have: shut down") + notListed},
        {CommandPacket::withText(1008, QStringLiteral("0")),
         QStringLiteral("not allowed, would have: restart") + notListed},
        {CommandPacket::withText(1009, script),
         QStringLiteral("not allowed, would have: start %1").arg(script) + notListed},
        {CommandPacket::withText(1010, victimName),
         QStringLiteral("not allowed, would have: end the processes named %1").arg(victimName) + notListed},
        {CommandPacket::withText(1003, QStringLiteral("hello")), QStringLiteral("test from 127.0.0.2")},
        {CommandPacket::withText(1011, QString()), QStringLiteral("process list asked by 127.0.0.2")},
    };
    for (const Case &c : cases) {
        const std::optional<QByteArray> answer = ask(stranger, agent, c.request);
        ASSERT_TRUE(answer) << c.request.code;
        const CommandPacket packet = reply(*answer);
        if (c.logged.startsWith(QStringLiteral("not allowed"))) {
            EXPECT_EQ(packet.code, 1012);
            EXPECT_TRUE(packet.text().endsWith(QStringLiteral(" (127.0.0.2 不是本机的控制台)")))
                << packet.text().toStdString();
        } else {
            EXPECT_EQ(packet.code, c.request.code);
        }
        EXPECT_TRUE(agent.waitForLog(c.logged)) << c.logged.toStdString();
    }
    EXPECT_FALSE(QFile::exists(markerOf(script)));
    EXPECT_EQ(victim.state(), QProcess::Running);

    UdpPeer listed;
    EXPECT_TRUE(ask(listed, agent, CommandPacket::withText(1009, script)));
    EXPECT_TRUE(eventually([&] { return QFile::exists(markerOf(script)); }));
    EXPECT_TRUE(ask(listed, agent, CommandPacket::withText(1010, victimName)));
    EXPECT_TRUE(victim.waitForFinished(5000));
    EXPECT_EQ(agent.logCount(QStringLiteral("done:")), 2);

    // An allowed action the system could not carry out is answered in the chat with the reason.
    const std::optional<QByteArray> again = ask(listed, agent, CommandPacket::withText(1010, victimName));
    ASSERT_TRUE(again);
    EXPECT_EQ(reply(*again).code, 1012);
    EXPECT_TRUE(
        reply(*again).text().endsWith(QStringLiteral("未执行: 结束进程 %1 (失败: 没有该名称的进程)").arg(victimName)));
}

TEST(AgentLogTest, MovesTheLogAsideBeforeItPassesItsCap)
{
    constexpr int kLines = 100;
    struct Case {
        qint64 cap;
        bool rotates;
        bool olderIsFolder;  // "<log>.1" taken by a folder: the log stays whole and says why
    };
    for (const Case c : {Case{2000, true, false}, Case{0, false, false}, Case{2000, false, true}}) {
        AgentProcess agent{{QStringLiteral("--log-max"), QString::number(c.cap)}};
        ASSERT_TRUE(agent.isReady());
        if (c.olderIsFolder) {
            ASSERT_TRUE(QDir().mkpath(agent.logPath() + QStringLiteral(".1")));
        }
        UdpPeer console;
        for (int i = 0; i < kLines; ++i)
            ASSERT_TRUE(ask(console, agent, CommandPacket::withText(1003, QStringLiteral("line %1").arg(i))));
        ASSERT_TRUE(agent.waitForLog(QStringLiteral(": line %1").arg(kLines - 1)));

        EXPECT_EQ(QFileInfo(agent.logPath() + QStringLiteral(".1")).isDir(), c.olderIsFolder);
        const QByteArray older = QFileInfo(agent.logPath() + QStringLiteral(".1")).isFile()
                                     ? readFileBytes(agent.logPath() + QStringLiteral(".1"))
                                     : QByteArray();
        const QByteArray current = readFileBytes(agent.logPath());
        EXPECT_EQ(!older.isEmpty(), c.rotates) << c.cap;
        if (c.rotates) {
            EXPECT_LE(current.size(), c.cap);
            EXPECT_LE(older.size(), c.cap);
            EXPECT_GT(older.size(), c.cap - 100);  // it was moved aside only when the next line did not fit
        }
        // Whole lines, none lost at the move: the kept ones are the latest, in order.
        const QRegularExpression test(
            QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d test from [^:]+:\\d+: line (\\d+)$"));
        QList<int> kept;
        for (const QString &line : QString::fromUtf8(older + current).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (const QRegularExpressionMatch match = test.match(line); match.hasMatch())
                kept.append(match.captured(1).toInt());
            else
                EXPECT_TRUE(line.contains(QStringLiteral("listening on"))
                            || (c.olderIsFolder && line.contains(QStringLiteral("is not a regular file"))))
                    << line.toStdString();
        }
        ASSERT_FALSE(kept.isEmpty());
        for (int i = 0; i < kept.size(); ++i)
            EXPECT_EQ(kept.at(i), kLines - kept.size() + i);
        EXPECT_EQ(kept.size() == kLines, !c.rotates);
    }
}

// The log's lines on a disk without room: whole or not at all, with the system's reason.
class AgentLogOnSmallDisk : public ::testing::Test {
protected:
    static QByteArray line(int i) { return QStringLiteral("line %1 ").arg(i).toUtf8() + QByteArray(90, 'x'); }
    // The numbers of the lines in `bytes`, each of which must be whole.
    static QList<int> lineNumbers(const QByteArray &bytes)
    {
        const QRegularExpression whole(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d line (\\d+) x{90}$"));
        QList<int> numbers;
        for (const QByteArray &text : bytes.split('\n')) {
            if (const QRegularExpressionMatch match = whole.match(QString::fromUtf8(text)); match.hasMatch())
                numbers << match.captured(1).toInt();
            else
                EXPECT_TRUE(text.isEmpty() || text.contains("the log was not moved")) << text.toStdString();
        }
        EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith('\n'));
        return numbers;
    }
};

TEST_F(AgentLogOnSmallDisk, ALineThatFindsNoRoomIsTakenBack)
{
    SmallDisk disk(8 * 1024);
    agent::AgentLog log;
    ASSERT_TRUE(log.open(disk.filePath(QStringLiteral("agent.log"))));
    int written = 0;
    while (written < 200 && log.write(QString::fromUtf8(line(written))))
        ++written;
    ASSERT_LT(written, 200);
    EXPECT_TRUE(log.error().contains(disk.fullReason())) << log.error().toStdString();
    const QList<int> kept = lineNumbers(readFileBytes(disk.filePath(QStringLiteral("agent.log"))));
    EXPECT_EQ(kept.size(), written);
    EXPECT_EQ(disk.entries(), QStringList{QStringLiteral("agent.log")});
}

// "<log>.1" a link to a file on a small disk: the log is copied there through the checked writer.
// Where it does not fit, the file the link names and the log stay whole and the log says why.
TEST_F(AgentLogOnSmallDisk, ALogMovedAcrossVolumesIsCopiedWholeOrNotAtAll)
{
    constexpr qint64 kCap = 3000;
    const struct {
        qint64 room;
        bool moved;
    } cases[] = {{64 * 1024, true}, {4096, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.room);
        SmallDisk disk(c.room);
        if (!disk.mounted())
            GTEST_SKIP() << "needs a volume of its own (a tmpfs)";
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("agent.log")), older = disk.filePath(QStringLiteral("older"));
        writeFileBytes(older, "kept\n");
        ASSERT_TRUE(QFile::link(older, path + QStringLiteral(".1")));
        agent::AgentLog log;
        ASSERT_TRUE(log.open(path, kCap));
        int written = 0;
        for (; written < 45; ++written)
            ASSERT_TRUE(log.write(QString::fromUtf8(line(written)))) << written << log.error().toStdString();
        EXPECT_TRUE(QFileInfo(path + QStringLiteral(".1")).isSymLink());
        const QByteArray moved = readFileBytes(older);
        EXPECT_EQ(moved != "kept\n", c.moved);
        if (!c.moved) {
            EXPECT_TRUE(log.error().contains(disk.fullReason())) << log.error().toStdString();
        }
        const QList<int> kept = lineNumbers((c.moved ? moved : QByteArray()) + readFileBytes(path));
        ASSERT_EQ(kept.size(), written) << "none lost";
        for (int i = 0; i < kept.size(); ++i)
            EXPECT_EQ(kept.at(i), i);
        EXPECT_EQ(disk.entries(), QStringList{QStringLiteral("older")});
    }
}

TEST(AgentConfigTest, ACommandLineOptionOverridesTheFile)
{
    QTemporaryDir dir;
    const int port = freeUdpPort();
    const QString config = dir.filePath(QStringLiteral("agent.ini"));
    writeFileBytes(config, QStringLiteral("[AGENT]\r\nPORT=%1\r\nNAME=文件名\r\nKIND=2\r\nIP=10.0.0.7\r\n")
                               .arg(port)
                               .toLocal8Bit());
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
    const QString suffixedCap = dir.filePath(QStringLiteral("cap.ini"));
    writeFileBytes(suffixedCap, QByteArrayLiteral("[AGENT]\r\nLOGMAX=1M\r\n"));
    const QString fifo = dir.filePath(QStringLiteral("fifo.log"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case {
        QStringList arguments;
        QString message;
    };
    const Case cases[] = {
        {{QStringLiteral("--port"), QStringLiteral("0")}, QStringLiteral("the port must be a number from 1 to 65535")},
        {{QStringLiteral("--port"), QStringLiteral("15x")},
         QStringLiteral("the port must be a number from 1 to 65535")},
        {{QStringLiteral("--port"), QStringLiteral("70000")},
         QStringLiteral("the port must be a number from 1 to 65535")},
        {{QStringLiteral("--config"), dir.filePath(QStringLiteral("missing.ini"))},
         QStringLiteral("configuration file not found")},
        {{QStringLiteral("--bind"), QStringLiteral("station-one")}, QStringLiteral("not an address to listen on")},
        {{QStringLiteral("--allow-everything")}, QStringLiteral("Unknown option")},
        {{QStringLiteral("extra")}, QStringLiteral("unexpected argument: extra")},
        {{QStringLiteral("--program-dir"), QStringLiteral("programs")},
         QStringLiteral("a program folder must be an absolute path: programs")},
        {{QStringLiteral("--program-dir"), dir.path() + QStringLiteral(";") + log},
         QStringLiteral("not a program folder: ") + log},
        {{QStringLiteral("--console"), QStringLiteral("127.0.0.1"), QStringLiteral("--console"),
          QStringLiteral("console-one")},
         QStringLiteral("not a console address: console-one")},
        {{QStringLiteral("--log-max"), QStringLiteral("1k")}, QStringLiteral("the log cap must be a number of bytes")},
        {{QStringLiteral("--log-max"), QStringLiteral("-1")}, QStringLiteral("the log cap must be a number of bytes")},
        {{QStringLiteral("--config"), suffixedCap}, QStringLiteral("the log cap must be a number of bytes")},
        {{QStringLiteral("--bind"), QStringLiteral("127.0.0.1"), QStringLiteral("--port"),
          QString::number(taken.localPort())},
         QStringLiteral("cannot listen on 127.0.0.1")},
        {{QStringLiteral("--log"), QStringLiteral("/proc/dbkeel/agent.log")},
         QStringLiteral("cannot write the log file")},
        // Opening a FIFO for writing would wait for a reader for ever.
        {{QStringLiteral("--log"), fifo},
         QStringLiteral("cannot write the log file %1: %1 is not a regular file").arg(fifo)},
    };
    for (const Case &c : cases) {
        QProcess agent;
        QStringList arguments = c.arguments;
        if (!arguments.contains(QStringLiteral("--log")))
            arguments << QStringLiteral("--log") << log;
        agent.start(buildBinDir() + QStringLiteral("/dbkeel-agent"), arguments);
        ASSERT_TRUE(agent.waitForFinished(5000)) << c.message.toStdString();
        EXPECT_EQ(agent.exitCode(), 1) << c.message.toStdString();
        EXPECT_TRUE(QString::fromLocal8Bit(agent.readAllStandardError()).contains(c.message))
            << c.message.toStdString();
    }
}

}  // namespace
}  // namespace dbkeel::test
