#include "core/AppState.h"
#include "core/Database.h"
#include "core/LineTree.h"
#include "core/SharedDb.h"
#include "core/StationRegistry.h"
#include "platform/ScriptedPrompt.h"
#include "tests/support/StartupFixture.h"
#include "widgets/ReportListModel.h"

#include <QAbstractItemModelTester>

namespace dbkeel::test {
namespace {

class LineTreeTest : public StartupFixture {
protected:
    ScriptedPrompt prompts;

    void SetUp() override
    {
        StartupFixture::SetUp();
        resetDemoDatabase();
        openSharedDb();
    }
    void run(const QString &batch) { sharedDb().exec(batch); }
    LineTree load()
    {
        std::optional<LineTree> tree = LoadLineTree(sharedDb());
        EXPECT_TRUE(tree.has_value());
        return tree.value_or(LineTree{});
    }
    static QStringList texts(const LineTree &tree)
    {
        QStringList texts;
        for (const TreeNode &node : tree.nodes)
            texts << QString(node.parent < 0 ? QString() : QStringLiteral("%1>").arg(node.parent)) + node.text;
        return texts;
    }
    void addComputers()
    {
        runUpgradeTables();
        run(QStringLiteral(
            "insert into tb_login_ip_info (PCType, LoginPCid, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr) "
            "values (3, 1, '打印机', '10.0.0.9', 16000, 'P1', '其他计算机'),"
            "(0, 2, '登录机A', '10.0.0.7', 15100, 'D1', '登录计算机'),"
            "(0, 3, '登录机B', '127.0.0.1', 15011, 'D2', '不显示')"));
    }
    void runUpgradeTables() { EXPECT_TRUE(LoadLineTree(sharedDb()).has_value()); }
};

TEST_F(LineTreeTest, DemoLayoutGivesTwoLinesAndTheirStations)
{
    const LineTree tree = load();
    EXPECT_EQ(texts(tree), (QStringList{
                               QStringLiteral("系统检测线关系信息"),
                               QStringLiteral("0>[1]安检线"),
                               QStringLiteral("1>[1]工位(127.0.0.1->15011)"),
                               QStringLiteral("1>[2]工位(127.0.0.1->15012)"),
                               QStringLiteral("1>[3]工位(127.0.0.1->15013)"),
                               QStringLiteral("0>[2]综检线"),
                               QStringLiteral("5>[1]工位(127.0.0.1->15021)"),
                               QStringLiteral("5>[2]工位(127.0.0.1->15022)"),
                               QStringLiteral("5>[3]工位(127.0.0.1->15023)"),
                           }));
    EXPECT_EQ(tree.nodes[0].bitmap, 178);
    EXPECT_EQ(tree.nodes[5].bitmap, 173);
    EXPECT_EQ(tree.nodes[6].bitmap, 174);
    EXPECT_EQ(tree.visibleRoot, 0);
    EXPECT_EQ(tree.selected, 5);  // the last line

    ASSERT_EQ(stationRegistry().count(), 6);
    const RegistryEntry last = stationRegistry().entry(5);
    EXPECT_EQ(last.station.name, QStringLiteral("[2]线,[3]工位"));
    EXPECT_EQ(last.station.port, QStringLiteral("15023"));
    EXPECT_EQ(last.treeNode, tree.nodes[8].id);
    EXPECT_EQ(stationRegistry().indexOfNode(tree.nodes[8].id), 5);
    EXPECT_EQ(last.lineId, 2);
    EXPECT_EQ(last.stationId, 3);
    EXPECT_EQ(last.kind, 0);
    EXPECT_EQ(log.last(), (LogEntry{QStringLiteral("总共有6工位或计算机"), true}));
    EXPECT_TRUE(prompts.calls().empty());

    ShowCounts(sharedDb());  // distinct lines, station numbers and devices of the demo index
    EXPECT_EQ(log.last(),
              (LogEntry{QStringLiteral("当前系统含有:2条线 , 3个工位 , 12个设备 ;(仅统计不重复数量)"), true}));
}

TEST_F(LineTreeTest, RegisteredComputersGoUnderTheSecondRoot)
{
    addComputers();
    log.clear();
    const LineTree tree = load();
    const QStringList all = texts(tree);
    EXPECT_EQ(all.mid(9), (QStringList{
                              QStringLiteral("登录机及其他"),
                              QStringLiteral("9>登录计算机"),  // the first row of kind 0 names its group
                              QStringLiteral("10>[D1]登录机A(10.0.0.7->15100)"),
                              QStringLiteral("10>[D2]登录机B(127.0.0.1->15011)"),
                              QStringLiteral("9>其他计算机"),
                              QStringLiteral("13>[P1]打印机(10.0.0.9->16000)"),
                          }));
    EXPECT_EQ(tree.visibleRoot, 9);
    EXPECT_EQ(tree.selected, 13);  // the last group
    ASSERT_EQ(stationRegistry().count(), 9);
    const RegistryEntry printer = stationRegistry().entry(8);
    EXPECT_EQ(printer.kind, 1);
    EXPECT_EQ(printer.stationId, 3);
    EXPECT_EQ(printer.station.name, QStringLiteral("打印机"));
    // 127.0.0.1 15011 is both a station and 登录机B: one address.
    EXPECT_EQ(log.last(), (LogEntry{QStringLiteral("总共有8工位或计算机"), true}));
}

TEST_F(LineTreeTest, MissingPortsDefaultFromLineAndStation)
{
    run(QStringLiteral("update tb_line_info set stationport = NULL where lineid = 1"));
    load();
    QStringList ports;
    for (const RegistryEntry &entry : stationRegistry().entries())
        ports << entry.station.port;
    EXPECT_EQ(ports.join(QLatin1Char(' ')), QStringLiteral("10100 10200 10300 15021 15022 15023"));
}

TEST_F(LineTreeTest, LineWithoutStationRowsGetsNoNode)
{
    run(QStringLiteral("insert into tb_line_info (lineid, stationid, linename) values (NULL, 1, '无编号线')"));
    EXPECT_FALSE(texts(load()).join(QLatin1Char('|')).contains(QStringLiteral("无编号线")));
}

TEST_F(LineTreeTest, ThirtyLinesAndThreeHundredComputersAtMost)
{
    run(QStringLiteral("delete from tb_line_info"));
    QStringList values;
    for (int line = 1; line <= 35; ++line)
        for (int station = 1; station <= 10; ++station)
            values << QStringLiteral("(%1, %2, '线%1', '10.1.%1.%2', %3)").arg(line).arg(station).arg(20000 + station);
    run(QStringLiteral("insert into tb_line_info (lineid, stationid, linename, stationip, stationport) values ")
        + values.join(QLatin1Char(',')));
    addComputers();
    log.clear();
    const LineTree tree = load();
    int lines = 0;
    for (const TreeNode &node : tree.nodes)
        lines += node.kind == TreeNode::Line;
    EXPECT_EQ(lines, kMaxLines);
    EXPECT_EQ(tree.nodes.size(), 1 + 30 * 11 + 1 + 2 + 3);  // every computer still shown
    EXPECT_EQ(stationRegistry().count(), StationRegistry::kCapacity);
    EXPECT_EQ(log.size(), 3);
    EXPECT_FALSE(log[0].plain);  // lines beyond 30
    EXPECT_FALSE(log[1].plain);  // computers beyond the registry
    EXPECT_EQ(log[2], (LogEntry{QStringLiteral("总共有303工位或计算机"), true}));
}

TEST_F(LineTreeTest, FailuresEndTheLoadEarly)
{
    struct Case {
        const char *damage;
        const char *starredLog;  // empty: the failure shows a message box instead
        int nodes;
        int registryCount;  // 1: the fallback entry is still there
    };
    const Case cases[] = {
        {"drop table tb_line_info", "", 1, 1},
        {"alter table tb_line_info rename column linename to x", "查询线异常", 1, 1},
        {"delete from tb_line_info", nullptr, 1, 1},  // no lines: no failure, but nothing replaces the list
        {"alter table tb_line_info rename column stationid to y", "查询线异常", 1, 0},
        // The computer query's failure keeps the stations in the registry and writes no summary.
        {"create table tb_login_ip_info (ID INTEGER PRIMARY KEY)", "查询登录异常", 9, 6},
    };
    for (const Case &c : cases) {
        resetDemoDatabase();
        openSharedDb();
        run(QString::fromUtf8(c.damage));
        stationRegistry().clear();
        RegistryEntry fallback;
        fallback.station.ip = QStringLiteral("10.9.9.9");
        stationRegistry().add(fallback);
        log.clear();
        const bool messageBox = c.starredLog && !*c.starredLog;
        if (messageBox)
            prompts.answer(PromptButton::Ok);
        const LineTree tree = load();
        EXPECT_EQ(tree.nodes.size(), c.nodes) << c.damage;
        EXPECT_EQ(tree.nodes[0].text, QStringLiteral("系统检测线关系信息"));
        EXPECT_EQ(prompts.pendingAnswers(), 0) << c.damage;
        EXPECT_EQ(stationRegistry().count(), c.registryCount) << c.damage;
        if (!c.starredLog) {
            EXPECT_TRUE(log.isEmpty()) << c.damage;
        } else if (!messageBox) {
            ASSERT_EQ(log.size(), 1) << c.damage;
            EXPECT_FALSE(log.last().plain);
            EXPECT_TRUE(log.last().text.startsWith(QString::fromUtf8(c.starredLog) + QStringLiteral("[SQLite]")))
                << log.last();
        }
        CloseDb();
    }
}

TEST_F(LineTreeTest, ClosedConnectionLeavesTheTreeAlone)
{
    CloseDb();
    EXPECT_FALSE(LoadLineTree(sharedDb()).has_value());
}

TEST(TreeSelection, IdsFromTheBracketsOfNodeAndParent)
{
    struct Case {
        const char *selected, *parent;
        int line, station;
    };
    const Case cases[] = {
        {"[2]工位(127.0.0.1->15012)", "[1]安检线", 1, 2},
        {"[12]安检线", "系统检测线关系信息", 0, 12},  // a line node: no line id
        {"[D1]登录机A(10.0.0.7->15100)", "登录计算机", 0, 0},
        {"[7", "", 0, 0},
        {"系统检测线关系信息", "", 0, 0},
    };
    for (const Case &c : cases) {
        const TreeSelection ids = selectionIds(QString::fromUtf8(c.selected), QString::fromUtf8(c.parent));
        EXPECT_EQ(ids.lineId, c.line) << c.selected;
        EXPECT_EQ(ids.stationId, c.station) << c.selected;
    }
}

TEST(MainListColumns, WidthsFollowTheClientWidth)
{
    EXPECT_EQ(deviceListColumns(400),
              QStringLiteral("设备号,85;设备名称,130;启动顺序,85;端口,0;工位组件路径,300;备注,300;工位计算机IP,0"));
    EXPECT_EQ(itemListColumns(300), QStringLiteral("项目号,140;项目名称,190;备注,0"));
    EXPECT_EQ(processListColumns(300), QStringLiteral("进程名称,150;计算机名称,150;IP,150;端口,0"));
    EXPECT_EQ(computerListColumns(400), QStringLiteral("计算机名称,110;IP地址,110;端口,70;连接状态,100"));
    EXPECT_EQ(computerListColumns(40), QStringLiteral("计算机名称,20;IP地址,20;端口,0;连接状态,10"));
}

class MainListsTest : public LineTreeTest {
protected:
    ReportListModel devices, items, computers;
    QAbstractItemModelTester deviceTester{&devices}, itemTester{&items}, computerTester{&computers};

    void SetUp() override
    {
        LineTreeTest::SetUp();
        load();
        devices.setColumns(deviceListColumns(400));
        items.setColumns(itemListColumns(300));
        run(QStringLiteral("delete from tb_login_lineindex"));  // the fixture's own index, not the demo's
        run(QStringLiteral(
            "insert into tb_login_lineindex (lineid, stationid, devid, itemid, itemname) values "
            "(1, 1, 3, 201, '制动'), (1, 1, 3, 200, '轴重'), (1, 1, 3, 201, '制动'), (2, 1, 5, 200, '轴重')"));
        log.clear();
    }
    QString row(const ReportListModel &list, int row)
    {
        QStringList cells;
        for (int column = 0; column < list.columnCount(); ++column)
            cells << list.itemText(row, column);
        return cells.join(QLatin1Char('|'));
    }
};

TEST_F(MainListsTest, StationDevicesThenDeviceItems)
{
    LoadStationDevices(sharedDb(), 1, 1, devices, items);
    ASSERT_EQ(devices.rowCount(), 2);
    EXPECT_EQ(row(devices, 0), QStringLiteral("3|滚筒制动检验台|1|15011|DEVBIN/Dev03.dll|1.0.0|127.0.0.1"));
    EXPECT_EQ(row(devices, 1), QStringLiteral("14|驻车制动检验台|2|15011|DEVBIN/Dev14.dll|1.0.0|127.0.0.1"));
    EXPECT_EQ(devices.textColor(1, 3), listcolor::Blue);
    EXPECT_EQ(devices.backgroundColor(1, 3), listcolor::PaleGreen);

    LoadDeviceItems(sharedDb(), deviceIdOfRow(devices, 0), items);
    ASSERT_EQ(items.rowCount(), 2);
    EXPECT_EQ(row(items, 0), QStringLiteral("200|轴重|备注"));
    EXPECT_EQ(row(items, 1), QStringLiteral("201|制动|备注"));

    // Another station replaces both lists; a line node (line id 0) empties them.
    LoadStationDevices(sharedDb(), 2, 3, devices, items);
    EXPECT_EQ(devices.rowCount(), 2);
    EXPECT_EQ(items.rowCount(), 0);
    LoadStationDevices(sharedDb(), 0, 2, devices, items);
    EXPECT_EQ(devices.rowCount(), 0);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(MainListsTest, QueryFailuresAreLogged)
{
    run(QStringLiteral("drop table tb_login_lineindex"));
    LoadDeviceItems(sharedDb(), 3, items);
    ShowCounts(sharedDb());
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].text.startsWith(QStringLiteral("查询项目异常[SQLite]")));
    EXPECT_TRUE(log[1].text.startsWith(QStringLiteral("查询线异常[SQLite]")));
    EXPECT_FALSE(log[1].plain);
    EXPECT_EQ(DbReady, 0);
}

TEST_F(MainListsTest, CountsOfDistinctLinesStationsAndDevices)
{
    ShowCounts(sharedDb());
    EXPECT_EQ(log.last(),
              (LogEntry{QStringLiteral("当前系统含有:2条线 , 1个工位 , 2个设备 ;(仅统计不重复数量)"), true}));
}

TEST_F(MainListsTest, ComputerListShowsTheRegistryWithItsState)
{
    stationRegistry().markConnected(QStringLiteral("127.0.0.1"), QStringLiteral("15012"));
    RefreshComputerList(computers, 400);
    EXPECT_EQ(computers.column(3).title, QStringLiteral("连接状态"));
    EXPECT_TRUE(computers.hasCheckBoxes());
    ASSERT_EQ(computers.rowCount(), 6);
    EXPECT_EQ(row(computers, 0), QStringLiteral("[1]线,[1]工位|127.0.0.1|15011|断开"));
    EXPECT_EQ(computers.textColor(0, 3), listcolor::Red);
    EXPECT_EQ(row(computers, 1), QStringLiteral("[1]线,[2]工位|127.0.0.1|15012|已连接"));
    EXPECT_EQ(computers.textColor(1, 3), listcolor::Green);
    EXPECT_EQ(computers.textColor(1, 0), listcolor::Blue);
    RefreshComputerList(computers, 400);
    EXPECT_EQ(computers.rowCount(), 6);
}

}  // namespace
}  // namespace dbkeel::test
