#include "core/AppState.h"
#include "maintenance/DebugQueryEditor.h"
#include "maintenance/ListedRows.h"
#include "tests/maintenance/MaintenanceFixture.h"

#include <QSignalSpy>

namespace dbkeel::test {
namespace {

constexpr auto kLimit = std::chrono::seconds(60);

TEST(DebugQuerySql, QueueStatementsByFilter)
{
    const QDate day(2026, 12, 11);
    EXPECT_EQ(queueQuery({QString(), true, false, false, day}),
              QStringLiteral(
                  "select  INFO_1001,INFO_1012,INFO_1004,loginid ,INFO_1031 from tb_vehicle_info \t\t\t\twhere "
                  "loginid in ( select distinct(loginid) from tb_login_queu ) and INFO_1031 like "
                  "'2026-12-11%'  order by INFO_1031 ;"));
    EXPECT_EQ(queueQuery({QStringLiteral("京A"), false, true, false, day}),
              QStringLiteral(
                  "select INFO_1001,INFO_1012,INFO_1004,loginid , INFO_1031 from tb_vehicle_info \t\t\t\twhere "
                  "loginid in ( select distinct(loginid) from tb_login_queu ) and INFO_1001 like '%京A%'  and "
                  "(INFO_1012 ='10120010' or INFO_1012 ='10120011' \t\t\tor INFO_1012 = '10120012' or "
                  "INFO_1012 = '10120013' )  order by INFO_1031 ;"));
    EXPECT_EQ(inspectionQuery(DebugList::Tasks, QStringLiteral("L'1")),
              QStringLiteral(
                  "select lineid,stationid,statusabout,status from tb_login_task  where loginid = 'L''1' order "
                  "by stationid ;"));
    EXPECT_EQ(browseQuery(QStringLiteral("tb_user"), QString()), QStringLiteral("select * from tb_user ;"));
    EXPECT_EQ(browseQuery(QStringLiteral("tb_user"), QStringLiteral("where id > 3")),
              QStringLiteral("select * from tb_user where id > 3 ;"));
}

TEST(DebugQuerySql, LongValuesShowAsBinaryBeyond120Bytes)
{
    EXPECT_EQ(listedValue(QString(120, u'x')), QString(120, u'x'));
    EXPECT_EQ(listedValue(QString(121, u'x')), QStringLiteral("二进制数据或长度较长"));
    EXPECT_EQ(listedValue(QString(60, u'车')), QString(60, u'车'));  // 120 bytes in GBK
    EXPECT_EQ(listedValue(QString(61, u'车')), QStringLiteral("二进制数据或长度较长"));
}

class DebugQueryTest : public MaintenanceFixture {
protected:
    DebugQueryEditor debug;
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));

    void SetUp() override
    {
        MaintenanceFixture::SetUp();
        run(QStringLiteral("insert into tb_login_ini(infoid, infosubid, infovalue_about) values "
                           "(1012, 10120010, '普通摩托车'), (1012, 1, '大型汽车')"));
        run(QStringLiteral(
                "insert into tb_vehicle_info(loginid, INFO_1001, INFO_1012, INFO_1004, INFO_1031) values "
                "('L1', '京A1', '10120010', 'VIN1', '%1 08:00:00'), ('L2', '沪B22', '1', 'VIN2', '2000-01-01'), "
                "('L3', '粤C3A', '99', 'VIN3', '%1 09:00:00'), ('L4', '京A4', '1', 'VIN4', '%1')")
                .arg(today));
        run(QStringLiteral("insert into tb_login_queu(loginid, teststatus, statusabout) values "
                           "('L1', 2, '检测中'), ('L2', 2, '等待'), ('L3', 1, '完成')"));
        debug.open();
    }
    QStringList queueIds(const QueueFilter &filter)
    {
        debug.refreshQueue(filter);
        QStringList ids;
        for (int row = 0; row < debug.list(DebugList::Queue).rowCount(); ++row)
            ids << debug.list(DebugList::Queue).itemText(row, 3);
        return ids;
    }
};

TEST_F(DebugQueryTest, QueueFiltersByKindDayAndPlateAnywhere)
{
    const QDate day = QDate::currentDate();
    const struct {
        const char *name;
        QueueFilter filter;
        QStringList ids;
    } cases[] = {
        {"neither box", {QString(), false, false, false, day}, {"L2", "L1", "L3"}},
        {"both boxes", {QString(), false, true, true, day}, {"L2", "L1", "L3"}},
        {"motorcycles", {QString(), false, true, false, day}, {"L1"}},
        {"cars", {QString(), false, false, true, day}, {"L2", "L3"}},
        {"today", {QString(), true, false, false, day}, {"L1", "L3"}},
        {"plate anywhere", {QStringLiteral("A"), false, false, false, day}, {"L1", "L3"}},
        {"plate today cars", {QStringLiteral("2"), true, false, true, day}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(queueIds(c.filter), c.ids) << c.name;
}

TEST_F(DebugQueryTest, QueueShowsKindTextsOrTheRawCodeWithTheirColours)
{
    debug.refreshQueue({QString(), false, false, false, QDate::currentDate()});
    const ReportListModel &queue = debug.list(DebugList::Queue);
    EXPECT_EQ(listed(queue), QStringLiteral("沪B22,大型汽车,VIN2,L2,2000-01-01|京A1,普通摩托车,VIN1,L1,%1 08:00:00|"
                                            "粤C3A,99,VIN3,L3,%1 09:00:00")
                                 .arg(today));
    EXPECT_EQ(queue.backgroundColor(1, 0), rgb(150, 150, 150));
    EXPECT_EQ(queue.textColor(1, 4), rgb(255, 255, 255));
    EXPECT_EQ(queue.backgroundColor(0, 2), rgb(230, 230, 230));
    EXPECT_EQ(queue.textColor(0, 0), listcolor::Blue);
    EXPECT_EQ(queue.column(2).width, 0);  // the VIN is hidden with the display switch at 0
}

TEST_F(DebugQueryTest, InspectionViewsFollowTheChosenQueueRow)
{
    run(QStringLiteral(
        "insert into tb_id_info(infoid, infoname) values (1001, '号牌号码'), (1012, '号牌种类'), (1020, '其他')"));
    run(QStringLiteral("insert into tb_login_info(loginid, infoid, value) values ('L1', 1001, '京A1'), "
                       "('L1', 1012, '10120010'), ('L1', 1020, 'x')"));
    run(QStringLiteral(
        "insert into tb_id_itemid(itemid, itemname) values (1, '制动'), (2, '灯光'), (3, '侧滑'), (4, '速度')"));
    run(QStringLiteral(
        "insert into tb_login_item(loginid, lineid, stationid, devid, itemid, status, checkend) values "
        "('L1', 1, 1, 1, 1, 0, 0), ('L1', 1, 1, 1, 2, 1, 1), ('L1', 1, 2, 1, 3, 2, 1), ('L1', 1, 2, 1, 4, 7, 0)"));
    run(QStringLiteral("insert into tb_id_paramid(paramid, paramname) values (9, '制动率')"));
    run(QStringLiteral("insert into tb_login_std(loginid, lineid, stationid, devid, paramid, paramlvalue, paramhvalue) "
                       "values ('L1', 1, 1, 1, 9, '60', '100')"));
    run(QStringLiteral(
        "insert into tb_login_task(loginid, lineid, stationid, statusabout, status) values ('L1', 1, 2, '待检', 0)"));
    debug.refreshQueue({QString(), false, false, false, QDate::currentDate()});
    debug.setContinuous(true);
    debug.chooseQueueRow(1);

    EXPECT_FALSE(debug.isContinuous());  // a click stops the continuous display
    EXPECT_EQ(debug.loginId(), QStringLiteral("L1"));
    EXPECT_EQ(debug.queueStatus(), QStringLiteral("检测中"));
    const ReportListModel &info = debug.list(DebugList::Info);
    EXPECT_EQ(listed(info), QStringLiteral("1001,号牌号码,京A1|1012,号牌种类,普通摩托车|1020,其他,x"));
    EXPECT_EQ(info.textColor(1, 0), rgb(255, 0, 255));
    EXPECT_EQ(info.backgroundColor(0, 2), rgb(20, 20, 20));
    EXPECT_EQ(info.textColor(2, 0), ReportListModel::systemTextColor());
    const ReportListModel &items = debug.list(DebugList::Items);
    EXPECT_EQ(listed(items), QStringLiteral("1,2,1,4,速度,状态不明(7),0|1,2,1,3,侧滑,已提车(2),1|"
                                            "1,1,1,2,灯光,项目已检(1),1|1,1,1,1,制动,项目未检(0),0"));
    EXPECT_EQ(items.textColor(1, 0), listcolor::Red);
    EXPECT_EQ(items.textColor(3, 0), rgb(0, 255, 0));
    EXPECT_EQ(listed(debug.list(DebugList::Standards)), QStringLiteral("1,1,1,9,制动率,60,100"));
    EXPECT_EQ(listed(debug.list(DebugList::Tasks)), QStringLiteral("1,2,待检,0"));

    // A plate that matches nothing: the views run for the empty id, the item view keeps its rows.
    debug.inquire(QStringLiteral("无此车"), QStringLiteral("大型汽车"), QString());
    EXPECT_EQ(debug.loginId(), QString());
    EXPECT_EQ(debug.list(DebugList::Info).rowCount(), 0);
    EXPECT_EQ(items.rowCount(), 4);

    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    debug.inquire(QString(), QString(), QString());
    debug.inquire(QStringLiteral("京A1"), QString(), QString());
    EXPECT_EQ(messages(), (QStringList{"请输入车牌号码或Loginid", "请选择车牌颜色!"}));
    debug.inquire(QStringLiteral("京A1"), QStringLiteral("普通摩托车"), QString());
    EXPECT_EQ(debug.loginId(), QStringLiteral("L1"));

    run(QStringLiteral("update tb_login_item set status = 1 where itemid = 1"));
    debug.tick();  // not continuous: nothing
    EXPECT_EQ(items.itemText(3, 5), QStringLiteral("项目未检(0)"));
    debug.setContinuous(true);
    debug.tick();
    EXPECT_EQ(items.itemText(3, 5), QStringLiteral("项目已检(1)"));
}

TEST_F(DebugQueryTest, ResetNumberingAsksAndEmptiesTheNumbers)
{
    run(QStringLiteral("insert into tb_report_number(reportdate, reportnumber) values ('2026-12-11', 7)"));
    prompts.answer(PromptButton::Cancel);
    debug.resetNumbering();
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_report_number")), QStringLiteral("1"));
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    debug.resetNumbering();
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_report_number")), QStringLiteral("0"));
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("检测编号归零成功!"));
    EXPECT_EQ(prompts.lastCall().icon, PromptIcon::Information);
}

class TableBrowserTest : public MaintenanceFixture {
protected:
    TableBrowser browser;
    void SetUp() override
    {
        MaintenanceFixture::SetUp();
        browser.setConnectString(jobConnectString());
    }
    void browseAndWait(const QString &condition)
    {
        prompts.answer(PromptButton::Ok);
        browser.browse(condition);
        ASSERT_TRUE(browser.runner().wait(kLimit));
    }
};

TEST_F(TableBrowserTest, ListsTablesAndBrowsesWithTheLongValueRule)
{
    run(QStringLiteral("create table tb_long (id integer, note text)"));
    run(QStringLiteral("insert into tb_long values (1, '%1'), (2, '%2'), (3, 'short')")
            .arg(QString(200, u'a'), QString(120, u'b')));
    EXPECT_TRUE(TableBrowser::tables().contains(QStringLiteral("tb_long")));

    browser.browse(QString());  // no table yet: nothing, no question
    browser.chooseTable(QStringLiteral("tb_long"), 600);
    EXPECT_EQ(browser.columnCount(), 2);
    EXPECT_EQ(browser.list().column(1).title, QStringLiteral("note"));
    EXPECT_EQ(browser.list().column(1).width, 200);

    browseAndWait(QStringLiteral("where id < 3"));
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("确定要查询,如果该表数据较多,则会等待很久?确定(查询),取消"));
    EXPECT_EQ(listed(browser.list()), QStringLiteral("1,二进制数据或长度较长|2,%1").arg(QString(120, u'b')));
    EXPECT_EQ(browser.status().left(), QStringLiteral("共查询到[2]条记录"));

    browser.chooseTable(QStringLiteral("tb_long"), 300);  // the same table: its columns and rows stay
    EXPECT_EQ(browser.list().rowCount(), 2);
    EXPECT_EQ(browser.list().column(1).width, 200);

    DbReady = 1;
    prompts.answer(PromptButton::Ok);
    browseAndWait(QStringLiteral("where missing = 1"));
    EXPECT_EQ(browser.status().left(), QStringLiteral("查询异常"));
    EXPECT_TRUE(prompts.lastCall().text.startsWith(QStringLiteral("查询线异常[SQLite]no such column")))
        << prompts.lastCall().text.toStdString();
    EXPECT_EQ(DbReady, 0);
}

TEST_F(TableBrowserTest, ListsAtMostTheBoundAndCountsTheRest)
{
    const int rows = kListedRows + 50;
    run(QStringLiteral("create table tb_big (n integer)"));
    run(QStringLiteral("insert into tb_big with recursive c(n) as (select 1 union all select n + 1 from c "
                       "where n < %1) select n from c")
            .arg(rows));
    browser.chooseTable(QStringLiteral("tb_big"), 600);
    browseAndWait(QString());
    ASSERT_EQ(browser.list().rowCount(), kListedRows + 1);
    EXPECT_EQ(browser.list().itemText(kListedRows - 1, 0), QString::number(kListedRows));
    EXPECT_EQ(browser.list().itemText(kListedRows, 0), QStringLiteral("……其余50行未列出"));
    EXPECT_EQ(browser.status().left(), QStringLiteral("共查询到[%1]条记录").arg(rows));
}

TEST_F(TableBrowserTest, ABrowseStopsHalfWayWithWhatItRead)
{
    run(QStringLiteral("create table tb_big (n integer, name text)"));
    run(QStringLiteral("insert into tb_big with recursive c(n) as (select 1 union all select n + 1 from c "
                       "where n < 100000) select n, '车辆' || n from c"));
    browser.chooseTable(QStringLiteral("tb_big"), 600);
    QObject::connect(&browser.runner(), &JobRunner::rowsReady, &browser, [this] { browser.stop(); });
    QSignalSpy running(&browser, &TableBrowser::running);
    browseAndWait(QString());
    const int read = browser.list().rowCount();
    EXPECT_GT(read, 0);
    EXPECT_LT(read, 100000);
    EXPECT_EQ(browser.list().itemText(0, 1), QStringLiteral("车辆1"));
    EXPECT_EQ(browser.status().left(), QStringLiteral("查询已停止,共查询到[%1]条记录").arg(read));
    ASSERT_EQ(running.size(), 2);
    EXPECT_FALSE(running.at(1).at(0).toBool());
}

}  // namespace
}  // namespace dbkeel::test
