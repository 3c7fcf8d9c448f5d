#include "tests/mainwindow/ProgramFixture.h"
#include "tests/support/DbTestSupport.h"

#include "app/CommandTable.h"
#include "app/MainWindowPanel.h"
#include "console/ConsoleState.h"
#include "console/ConsoleThreads.h"
#include "console/ConsoleWorker.h"
#include "core/AppLog.h"
#include "core/AppState.h"
#include "core/SharedDb.h"
#include "core/StationRecord.h"
#include "tests/support/TestSupport.h"
#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QUdpSocket>

using namespace dbkeel;
using dbkeel::test::firstColumn;
using dbkeel::test::ProgramFixture;

namespace {

const QString kExitQuestion = QStringLiteral("确定要退出数据库管理工具?确定(退出),取消");

QTreeWidgetItem *findNode(QTreeWidget *tree, const QString &text)
{
    const QList<QTreeWidgetItem *> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

void pressEscape(QWidget *window)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window->focusWidget() ? window->focusWidget() : window, &press);
}

}  // namespace

TEST_F(ProgramFixture, StartsOnTheDemoWithTheTreeAndTheStartupLog)
{
    makeDemo();
    startProgram();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("数据库管理工具"));
    // The watchdog begins by checking the connection again (DbReady 0 until it has): ready soon after.
    EXPECT_TRUE(waitFor([] { return DbReady.load() == 1; }));
    EXPECT_EQ(treeTexts(), (QStringList{
                               QStringLiteral("系统检测线关系信息"),
                               QStringLiteral("  [1]安检线"),
                               QStringLiteral("    [1]工位(127.0.0.1->15011)"),
                               QStringLiteral("    [2]工位(127.0.0.1->15012)"),
                               QStringLiteral("    [3]工位(127.0.0.1->15013)"),
                               QStringLiteral("  [2]综检线"),
                               QStringLiteral("    [1]工位(127.0.0.1->15021)"),
                               QStringLiteral("    [2]工位(127.0.0.1->15022)"),
                               QStringLiteral("    [3]工位(127.0.0.1->15023)"),
                           }));
    EXPECT_EQ(window->panel()->lineTree()->currentItem()->text(0), QStringLiteral("[2]综检线"));
    const QString log = logText();
    for (const QString &line : {QStringLiteral("总共有6工位或计算机\r\n"),
                                QStringLiteral("当前系统含有:2条线 , 3个工位 , 12个设备 ;(仅统计不重复数量)\r\n"),
                                QStringLiteral("本系统使用的IP:127.0.0.1 端口号:15000\r\n")})
        EXPECT_TRUE(log.contains(line)) << line.toStdString();
    EXPECT_EQ(window->panel()->logBox()->toPlainText().left(7), QStringLiteral("======="));
    EXPECT_FALSE(window->panel()->processList()->isVisibleTo(window.get()));
    EXPECT_EQ(window->panel()->deviceList()->reportModel()->columnCount(), 7);
    const QFont buttonFont = consoleButtonFont(QFontDatabase::families(), DialogFontSettings::read().font());
    const ConsoleWidgets &console = window->panel()->console();
    for (const QPushButton *button : {console.restart, console.syncTime, console.shutdown}) {
        EXPECT_EQ(button->font().family(), buttonFont.family());
        EXPECT_EQ(button->font().weight(), buttonFont.weight());
    }
}

// The log box takes new entries in above the shown ones, and is drawn anew when the log dropped its
// earlier entries.
TEST_F(ProgramFixture, TheLogBoxShowsTheLogAsEntriesComeAndGo)
{
    makeDemo();
    startProgram();
    const auto boxShowsTheLog = [this] {
        QString text = window->log().text();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        return window->panel()->logBox()->toPlainText() == text;
    };
    for (int i = 0; i < 3; ++i)
        AddLog(QStringLiteral("条目%1").arg(i), i % 2 == 0);
    EXPECT_TRUE(waitFor(boxShowsTheLog));

    const QString tenThousandBytes(5000, u'长');
    int droppedAt = -1;
    for (int i = 0; i < 12 && droppedAt < 0; ++i) {
        const int before = window->log().counter();
        AddLog(tenThousandBytes, true);
        if (window->log().counter() < before)
            droppedAt = i;
        ASSERT_TRUE(waitFor(boxShowsTheLog)) << "entry " << i;
    }
    EXPECT_GE(droppedAt, 0) << "the log never dropped its earlier entries";
    AddLog(QStringLiteral("之后"), false);
    EXPECT_TRUE(waitFor(boxShowsTheLog));
}

TEST_F(ProgramFixture, SelectingAStationListsItsDevicesAndALineListsNothing)
{
    makeDemo();
    startProgram();
    QTreeWidget *tree = window->panel()->lineTree();
    ReportListModel *devices = window->panel()->deviceList()->reportModel();

    tree->setCurrentItem(findNode(tree, QStringLiteral("[2]工位(127.0.0.1->15012)")));
    ASSERT_EQ(devices->rowCount(), 2);
    EXPECT_EQ(devices->itemText(0, 0), QStringLiteral("2"));
    EXPECT_EQ(devices->itemText(0, 1), QStringLiteral("侧滑检验台"));
    EXPECT_EQ(devices->itemText(1, 1), QStringLiteral("车速表检验台"));
    EXPECT_TRUE(logText().contains(QStringLiteral("[1]安检线[2]工位(127.0.0.1->15012)\r\n")));

    tree->setCurrentItem(findNode(tree, QStringLiteral("[1]安检线")));
    EXPECT_EQ(devices->rowCount(), 0);
}

TEST_F(ProgramFixture, ProtectedCommandsStayGreyedBeforeLogin)
{
    makeDemo();
    startProgram();
    for (int id : protectedCommands(true))
        EXPECT_FALSE(isEnabled(id)) << id;
    for (int id : {32771, 32791, command::About})
        EXPECT_TRUE(isEnabled(id)) << id;
}

TEST_F(ProgramFixture, LoginWithoutItsComponentSaysSoAndChangesNothing)
{
    makeDemo({{120, demoFolder() + QStringLiteral("/components/missing-login.so")}});
    startProgram();
    prompt.answer(PromptButton::Ok);
    window->commands().trigger(command::Login);
    EXPECT_EQ(prompt.lastCall().caption, QStringLiteral("Dbkeel"));
    EXPECT_EQ(prompt.lastCall().text,
              QStringLiteral("密码框组件不存在:") + demoFolder() + QStringLiteral("/components/missing-login.so"));
    EXPECT_EQ(prompt.lastCall().icon, PromptIcon::Exclamation);
    EXPECT_FALSE(isEnabled(32772));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("数据库管理工具"));
}

// A first start before any installation: one message that leads somewhere, then login says what is missing.
TEST_F(ProgramFixture, WithoutAHostConfigurationOneMessageNamesTheDirectoryAndTheDemoMaker)
{
    makeDemo();
    const QString hostConfig = demoFolder() + QStringLiteral("/system/HostCfg.ini");
    const QString kept = hostConfig + QStringLiteral(".kept");
    QFile::remove(kept);
    ASSERT_TRUE(QFile::rename(hostConfig, kept));
    prompt.answer(PromptButton::Ok);
    startProgram();
    QFile::rename(kept, hostConfig);
    ASSERT_EQ(prompt.calls().size(), 1u);
    const QString text = prompt.lastCall().text;
    for (const QString &part : {hostConfig, QStringLiteral("ODBC数据源"), QStringLiteral("DbkeelDemo"),
                                QStringLiteral("dbkeel-make-demo --user-dsn ~/.local/share/dbkeel")})
        EXPECT_TRUE(text.contains(part)) << part.toStdString() << '\n' << text.toStdString();

    prompt.answer(PromptButton::Ok);
    window->commands().trigger(command::Login);
    EXPECT_EQ(prompt.lastCall().text, QStringLiteral("主机配置中没有密码框组件的路径(第120项)"));
}

TEST_F(ProgramFixture, EscapeAsksAndCancelKeepsRunning)
{
    makeDemo();
    startProgram();
    prompt.answer(PromptButton::Cancel);
    pressEscape(window.get());
    const PromptCall &asked = prompt.lastCall();
    EXPECT_EQ(asked.caption, QStringLiteral("提示"));
    EXPECT_EQ(asked.text, kExitQuestion);
    EXPECT_EQ(asked.icon, PromptIcon::Question);
    EXPECT_EQ(asked.buttons, PromptButtons::OkCancel);
    EXPECT_EQ(asked.defaultButton, PromptButton::Cancel);
    EXPECT_FALSE(window->exited());
    EXPECT_EQ(ExitRequested.load(), 0);
    EXPECT_TRUE(consoleThreads().isReceiveLoopRunning());

    prompt.answer(PromptButton::Ok);
    window->close();  // the close box asks the same question
    EXPECT_EQ(prompt.lastCall().text, kExitQuestion);
    EXPECT_TRUE(window->exited());
}

TEST_F(ProgramFixture, ExitButtonEndsWithoutAskingAndStopsTheThreadsInTime)
{
    makeDemo();
    startProgram();
    ASSERT_TRUE(consoleThreads().isReceiveLoopRunning());
    QElapsedTimer clock;
    clock.start();
    window->panel()->exitButton()->click();
    const qint64 elapsed = clock.elapsed();
    EXPECT_TRUE(window->exited());
    EXPECT_TRUE(prompt.calls().empty());
    EXPECT_EQ(ExitRequested.load(), 1);
    EXPECT_FALSE(consoleThreads().isReceiveLoopRunning());
    EXPECT_FALSE(consoleThreads().isWorkerRunning());
    EXPECT_LT(elapsed, 10000);  // the threads see their flags within 100 ms; far inside the 60 s and 10 s bounds
    EXPECT_FALSE(window->isVisible());
}

TEST_F(ProgramFixture, ComputerListShowsTheRegistryOnceTheStartupSweepsAreDone)
{
    makeDemo();
    StartupSweepDone = 0;
    setSweepPause(std::chrono::milliseconds(5));
    startProgram();
    ReportListModel *computers = window->panel()->computerList()->reportModel();
    ASSERT_TRUE(waitFor([&] { return computers->rowCount() == 6; }, 20000));
    EXPECT_EQ(computers->itemText(0, 0), QStringLiteral("[1]线,[1]工位"));
    EXPECT_EQ(computers->itemText(0, 1), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(computers->itemText(0, 2), QStringLiteral("15011"));
    EXPECT_EQ(computers->itemText(0, 3), QStringLiteral("断开"));  // no station answers here
    EXPECT_EQ(computers->textColor(0, 3), listcolor::Red);
    EXPECT_TRUE(computers->hasCheckBoxes());
    setSweepPause(std::chrono::milliseconds(1000));
}

// A station's 1004 reply shows in its row at once, without the worker's start-up sweeps (done here);
// the rows ticked stay ticked.
TEST_F(ProgramFixture, AConnectReplyTurnsItsRowConnectedAtOnce)
{
    makeDemo();
    StartupSweepDone = 1;
    startProgram();
    ReportListModel *computers = window->panel()->computerList()->reportModel();
    window->reloadLineLayout();  // the list drawn before the reply
    ASSERT_EQ(computers->rowCount(), 6);
    computers->setChecked(1, true);
    const CommandPacket reply = CommandPacket::withRecord(stationcode::Connect,
                                                          StationRecord{0, QStringLiteral("127.0.0.1"),
                                                                        QStringLiteral("15011"),
                                                                        QStringLiteral("工位")});
    QUdpSocket station;
    ASSERT_EQ(station.writeDatagram(reply.toBytes(), QHostAddress::LocalHost, 15000), CommandPacket::kSize);
    ASSERT_TRUE(waitFor([&] { return computers->itemText(0, 3) == "已连接"; }, 5000));
    EXPECT_EQ(computers->textColor(0, 3), listcolor::Green);
    EXPECT_EQ(computers->itemText(1, 3), QStringLiteral("断开"));
    EXPECT_TRUE(computers->isChecked(1));
    EXPECT_FALSE(computers->isChecked(0));

    window->reloadLineLayout();  // a build keeps what answered
    EXPECT_EQ(computers->itemText(0, 3), QStringLiteral("已连接"));
}

TEST_F(ProgramFixture, ExitDuringTheStartupSweepsStopsTheWorkerAtOnce)
{
    makeDemo();
    StartupSweepDone = 0;
    startProgram();
    ASSERT_TRUE(consoleThreads().isWorkerRunning());  // a sweep pauses a second per station
    QElapsedTimer clock;
    clock.start();
    window->exitProgram();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_FALSE(consoleThreads().isWorkerRunning());
    EXPECT_EQ(window->panel()->exitButton()->text(), QStringLiteral("正在退出"));
    EXPECT_FALSE(window->panel()->exitButton()->isEnabled());
}

TEST_F(ProgramFixture, StartingOnAnEmptyInstallationBringsItsSchemaUp)
{
    makeDemo();
    replaceDatabase(true);
    startProgram();
    EXPECT_TRUE(prompt.calls().empty());
    EXPECT_EQ(firstColumn(QStringLiteral("select count(*) from tb_id_info")), QStringList{"37"});
    EXPECT_EQ(firstColumn(QStringLiteral("select reserved from tb_id_info where infoid = 1095")),
              QStringList{"INFO_1095"});
    for (const char *table : {"tb_sys_log", "tb_status_memstd", "tb_login_ip_info", "tb_login_lineindex"})
        EXPECT_EQ(firstColumn(QStringLiteral("select count(*) from sqlite_master where type = 'table' and name = '%1'")
                                  .arg(table)),
                  QStringList{"1"})
            << table;
    const QStringList columns = firstColumn(QStringLiteral("select name from pragma_table_info('tb_line_info')"));
    for (const char *column :
         {"BrakeType", "LineCode", "stationip", "stationport", "jcjgid", "netid", "devPath", "devRemark"})
        EXPECT_TRUE(columns.contains(QLatin1String(column))) << column;
    EXPECT_TRUE(
        firstColumn(QStringLiteral("select name from pragma_table_info('tb_login_lineindex')")).contains("devRemark"));
    EXPECT_EQ(treeTexts(), QStringList{QStringLiteral("系统检测线关系信息")});
}

TEST_F(ProgramFixture, ADatabaseWithoutTheLineTableShowsTheErrorAndTheRootAlone)
{
    makeDemo();
    replaceDatabase(false);
    prompt.answer(PromptButton::Ok);  // group 2 cannot add the station columns
    startProgram();
    ASSERT_EQ(prompt.calls().size(), 1u);
    EXPECT_EQ(prompt.lastCall().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompt.lastCall().icon, PromptIcon::Exclamation);
    EXPECT_EQ(treeTexts(), QStringList{QStringLiteral("系统检测线关系信息")});
    EXPECT_FALSE(logText().contains(QStringLiteral("总共有")));
}

TEST_F(ProgramFixture, ReloadingTheLayoutShowsANewLineAndClearsTheLists)
{
    makeDemo();
    startProgram();
    QTreeWidget *tree = window->panel()->lineTree();
    tree->setCurrentItem(findNode(tree, QStringLiteral("[1]工位(127.0.0.1->15011)")));
    ASSERT_GT(window->panel()->deviceList()->reportModel()->rowCount(), 0);
    sharedDb().exec(QStringLiteral(
        "insert into tb_line_info (linetype, lineid, stationid, devid, runorder, linename, devname, stationip) "
        "values (1, 3, 1, 3, 1, '摩托车线', '滚筒制动检验台', '127.0.0.1')"));
    window->reloadLineLayout();
    EXPECT_TRUE(treeTexts().contains(QStringLiteral("  [3]摩托车线")));
    EXPECT_TRUE(treeTexts().contains(QStringLiteral("    [1]工位(127.0.0.1->30100)")));  // no port: 3 × 10000 + 1 × 100
    EXPECT_EQ(window->panel()->itemList()->reportModel()->rowCount(), 0);
}

// The load selects the last line, then the last computer group, each logged as it is selected, and
// sums up after them.
TEST_F(ProgramFixture, TheTreeSelectsTheLastLineThenTheLastGroupBeforeTheSummary)
{
    makeDemo();
    startProgram();
    sharedDb().exec(QStringLiteral(
        "insert into tb_login_ip_info (PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr) values "
        "(0, '其他一', '127.0.0.1', 16001, '1', '其他计算机'), (1, '登录一', '127.0.0.1', 16002, '2', '登录机')"));
    window->reloadLineLayout();
    EXPECT_EQ(window->panel()->lineTree()->currentItem()->text(0), QStringLiteral("登录机"));
    const QString log = logText();  // the newest entry on top
    const qsizetype summary = log.indexOf(QStringLiteral("总共有8工位或计算机\r\n")),
                    group = log.indexOf(QStringLiteral("登录机及其他登录机\r\n")),
                    line = log.indexOf(QStringLiteral("系统检测线关系信息[2]综检线\r\n"));
    ASSERT_GE(summary, 0);
    EXPECT_LT(summary, group);
    EXPECT_LT(group, line);
}

// A library that is missing, or that lacks an export, is reported; the program runs on degraded.
TEST_F(ProgramFixture, WithoutAWholeHostLibraryTheProgramSaysSoAndRunsDegraded)
{
    for (const char *replacement : {"", "libhostcfg_partial.so"}) {
        SCOPED_TRACE(replacement);
        makeDemo();
        const QString library = demoFolder() + QStringLiteral("/system/libHostCfg.so");
        QFile::remove(library);
        if (*replacement) {
            ASSERT_TRUE(QFile::copy(test::buildBinDir() + QLatin1Char('/') + QLatin1String(replacement), library));
        }
        prompt.answer(PromptButton::Ok).answer(PromptButton::Ok);
        const size_t first = prompt.calls().size();
        startProgram();
        ASSERT_EQ(prompt.calls().size(), first + 2);
        EXPECT_EQ(prompt.calls()[first].caption, QStringLiteral("Dbkeel"));
        EXPECT_EQ(prompt.calls()[first].text, QStringLiteral("HostCfg.dll 加载错误或者没有该文件！"));
        EXPECT_EQ(prompt.calls()[first + 1].caption, QStringLiteral("提示"));  // no configuration record: no database
        EXPECT_EQ(prompt.calls()[first + 1].icon, PromptIcon::Exclamation);
        EXPECT_TRUE(logText().contains(QStringLiteral("★连接数据库失败!!!\r\n")));
        EXPECT_EQ(DbReady.load(), 0);
        EXPECT_TRUE(treeTexts().isEmpty());
        EXPECT_FALSE(isEnabled(command::StationConfigManager));
        TearDown();
    }
}

TEST_F(ProgramFixture, BringingForwardRestoresAMinimisedWindow)
{
    makeDemo();
    startProgram();
    window->showMinimized();
    window->bringForward();
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
}
