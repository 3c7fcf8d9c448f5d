#include "core/AppState.h"
#include "maintenance/ClearingEditor.h"
#include "tests/maintenance/MaintenanceFixture.h"

namespace dbkeel::test {
namespace {

TEST(ClearingSql, StepsRunInTheirOrderWithTheirTexts)
{
    const QList<ClearingStep> steps = clearingSteps(Dialect::SqlServer);
    ASSERT_EQ(steps.size(), 9);
    EXPECT_EQ(steps[0].text, QStringLiteral("正在清理项目表[tb_login_item]...9"));
    EXPECT_EQ(steps[0].statement,
              QStringLiteral("delete from tb_login_item where loginid in (select loginid  from tb_login_queu where "
                             "teststatus = 1 or  teststatus = 4 or teststatus = 5); "));
    EXPECT_EQ(steps[5].text, QStringLiteral("正在清理过度检测表[tb_per_check]...4"));
    EXPECT_EQ(steps[6].statement,
              QStringLiteral("update tb_login_queu set  teststatus = 4 where  teststatus = 1 or teststatus = 5 ; "));
    EXPECT_EQ(steps[7].statement, QStringLiteral("delete from tb_login_queu where  teststatus = 4 ; "));
    EXPECT_EQ(steps[8].text, QStringLiteral("正在清理复检表[tb_print_recheck_item]...1"));
    EXPECT_EQ(steps[8].statement, QStringLiteral("delete tb_print_recheck_item where status = 1 ; "));
    EXPECT_EQ(clearingSteps(Dialect::Sqlite)[8].statement,
              QStringLiteral("delete from tb_print_recheck_item where status = 1 ; "));
}

// A queue entry of every status 1 to 5, each with one row in every detail table, and re-check rows.
class ClearingTest : public MaintenanceFixture {
protected:
    ClearingEditor clearing;
    static inline const QStringList kDetailTables{"tb_login_item", "tb_login_info",  "tb_login_std",
                                                  "tb_login_task", "tb_login_check", "tb_per_check"};

    void SetUp() override
    {
        MaintenanceFixture::SetUp();
        for (int status = 1; status <= 5; ++status) {
            run(QStringLiteral("insert into tb_login_queu(loginid, teststatus) values ('L%1', %1)").arg(status));
            for (const QString &table : kDetailTables)
                run(QStringLiteral("insert into %1(loginid) values ('L%2')").arg(table).arg(status));
        }
        run(QStringLiteral(
            "insert into tb_print_recheck_item(loginid, status) values ('L1', 1), ('L2', 0), ('L3', 2)"));
    }
    // Every table's loginids (status for the re-check list), one table per entry.
    QStringList everything()
    {
        QStringList all{rows(QStringLiteral("select loginid, teststatus from tb_login_queu order by loginid"))};
        for (const QString &table : kDetailTables)
            all << rows(QStringLiteral("select loginid from %1 order by loginid").arg(table));
        all << rows(QStringLiteral("select status from tb_print_recheck_item order by status"));
        return all;
    }
};

TEST_F(ClearingTest, ClearsStatusesOneFourAndFiveAndKeepsTwoAndThree)
{
    EXPECT_EQ(clearing.status().left(), QStringLiteral("==执行清理垃圾数据=="));
    clearing.clear();
    const QStringList kept = everything();
    EXPECT_EQ(kept[0], QStringLiteral("L2,2|L3,3"));
    for (int table = 1; table <= 6; ++table)
        EXPECT_EQ(kept[table], QStringLiteral("L2|L3")) << kDetailTables[table - 1].toStdString();
    EXPECT_EQ(kept[7], QStringLiteral("0|2"));
    EXPECT_EQ(clearing.status().right(), QStringLiteral("清除结束"));
    EXPECT_EQ(clearing.status().left(), QStringLiteral("清除相关临时数据成功"));

    clearing.clear();  // again: nothing left to delete, success again
    EXPECT_EQ(everything(), kept);
    EXPECT_EQ(clearing.status().left(), QStringLiteral("清除相关临时数据成功"));
}

TEST_F(ClearingTest, AFailureAtStepFourLeavesEveryRow)
{
    const QStringList before = everything();
    run(QStringLiteral("create trigger refuse before delete on tb_login_task begin "
                       "select raise(abort, 'task rows are locked'); end;"));
    DbReady = 1;
    clearing.clear();
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(clearing.status().right(), QStringLiteral("异常[SQLite]task rows are locked (19)"));
    EXPECT_EQ(clearing.status().left(), QStringLiteral("正在清理请求表[tb_login_task]...6"));
    EXPECT_EQ(DbReady, 0);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(ClearingTest, WithoutAConnectionNothingRuns)
{
    sharedDb().close();
    clearing.clear();
    EXPECT_EQ(clearing.status().right(), QStringLiteral("数据库连接失败"));
    EXPECT_EQ(clearing.status().left(), QStringLiteral("==执行清理垃圾数据=="));
}

}  // namespace
}  // namespace dbkeel::test
