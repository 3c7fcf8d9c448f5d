#include "core/AppState.h"
#include "maintenance/SqlWorkspaceEditor.h"
#include "tests/maintenance/MaintenanceFixture.h"

#include <QTimer>

namespace dbkeel::test {
namespace {

constexpr auto kLimit = std::chrono::seconds(60);

class SqlWorkspaceTest : public MaintenanceFixture {
protected:
    SqlWorkspaceEditor workspace;
    void SetUp() override
    {
        MaintenanceFixture::SetUp();
        workspace.setConnectString(jobConnectString());
    }
    void execute(const QString &text)
    {
        workspace.execute(text);
        ASSERT_TRUE(workspace.runner().wait(kLimit));
    }
};

TEST_F(SqlWorkspaceTest, ASelectSucceedsAndShowsItsRowsAndTwoRunsAppendTwoEntries)
{
    run(QStringLiteral("insert into tb_id_linetype(lintype, linename) values (1, '安检线'), (2, '环保线')"));
    execute(QStringLiteral("select lintype, linename from tb_id_linetype order by lintype"));
    EXPECT_EQ(workspace.log(), QStringLiteral("执行成功!\r\n\r\n"));
    EXPECT_EQ(workspace.result().column(1).title, QStringLiteral("linename"));
    EXPECT_EQ(listed(workspace.result()), QStringLiteral("1,安检线|2,环保线"));
    EXPECT_TRUE(workspace.status().left().startsWith(QStringLiteral("返回2行,用时")))
        << workspace.status().left().toStdString();

    // A batch of several statements runs statement by statement on the embedded database.
    execute(QStringLiteral("update tb_id_linetype set linename = 'x;y' where lintype = 1; "
                           "delete from tb_id_linetype where lintype = 2;"));
    EXPECT_EQ(workspace.log(), QStringLiteral("执行成功!\r\n\r\n执行成功!\r\n\r\n"));
    EXPECT_EQ(workspace.result().columnCount(), 0);
    EXPECT_TRUE(workspace.status().left().startsWith(QStringLiteral("影响2行,用时")));
    EXPECT_EQ(rows(QStringLiteral("select lintype, linename from tb_id_linetype")), QStringLiteral("1,x;y"));

    workspace.execute(QString());  // an empty text changes nothing
    EXPECT_FALSE(workspace.isRunning());
    EXPECT_EQ(workspace.log(), QStringLiteral("执行成功!\r\n\r\n执行成功!\r\n\r\n"));
    workspace.clearLog();
    EXPECT_EQ(workspace.log(), QString());
}

TEST_F(SqlWorkspaceTest, AnErrorGoesIntoTheLogAndMarksTheConnection)
{
    DbReady = 1;
    execute(QStringLiteral("select * from nowhere"));
    EXPECT_EQ(workspace.log(), QStringLiteral("[SQLite]no such table: nowhere (1)\r\n\r\n"));
    EXPECT_EQ(DbReady, 0);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(SqlWorkspaceTest, ListsTheFirstTenThousandRowsAndSaysHowManyWereLeftOut)
{
    execute(QStringLiteral("with recursive c(n) as (select 1 union all select n + 1 from c where n < 10005) "
                           "select n from c"));
    ASSERT_EQ(workspace.result().rowCount(), 10001);
    EXPECT_EQ(workspace.result().itemText(9999, 0), QStringLiteral("10000"));
    EXPECT_EQ(workspace.result().itemText(10000, 0), QStringLiteral("……其余5行未列出"));
    EXPECT_TRUE(workspace.status().left().startsWith(QStringLiteral("返回10005行")));
}

TEST_F(SqlWorkspaceTest, StopCancelsALongStatementOnTheDriver)
{
    bool ticked = false;
    QTimer::singleShot(300, &workspace, [&] {
        ticked = true;  // the window's thread runs while the statement does
        workspace.stop();
    });
    execute(QStringLiteral("with recursive c(n) as (select 1 union all select n + 1 from c) select count(*) from c"));
    EXPECT_TRUE(ticked);
    EXPECT_EQ(workspace.log(), QStringLiteral("执行已停止\r\n\r\n"));
    execute(QStringLiteral("select 1"));  // the workspace goes on
    EXPECT_EQ(workspace.log(), QStringLiteral("执行已停止\r\n\r\n执行成功!\r\n\r\n"));
}

// A stop while the first statement's rows are read ends the batch there: the insert after it never runs.
TEST_F(SqlWorkspaceTest, StopWhileRowsAreReadRunsNoLaterStatement)
{
    QObject::connect(&workspace.runner(), &JobRunner::rowsReady, &workspace, [&] { workspace.stop(); });
    execute(QStringLiteral("with recursive c(n) as (select 1 union all select n + 1 from c where n < 1000000) "
                           "select n from c; insert into tb_id_linetype(lintype, linename) values (9, '停止后');"));
    EXPECT_EQ(workspace.log(), QStringLiteral("执行已停止\r\n\r\n"));
    EXPECT_LT(workspace.result().rowCount(), 1000000);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_linetype where lintype = 9")), QStringLiteral("0"));
}

}  // namespace
}  // namespace dbkeel::test
