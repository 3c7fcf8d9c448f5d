#include "core/AppState.h"
#include "maintenance/ItemParamCheckEditor.h"
#include "tests/maintenance/MaintenanceFixture.h"

namespace dbkeel::test {
namespace {

TEST(ItemParamCheckSql, Texts)
{
    EXPECT_EQ(itemParamLoadQuery(), QStringLiteral("select * from tb_id_param order by paramid ; "));
    EXPECT_EQ(itemParamDeleteStatement(QStringLiteral("12"), QStringLiteral("3"), QStringLiteral("左轮'重")),
              QStringLiteral(
                  "delete from tb_id_param  where paramid = 12 and itemid = 3 and paramname = '左轮''重' ;"));
}

class ItemParamCheckTest : public MaintenanceFixture {
protected:
    ItemParamCheckEditor check;

    void SetUp() override
    {
        MaintenanceFixture::SetUp();
        // 10 under item 1 on two devices (one pair, no fault); 20 under items 1 and 2; 30 under 1, 2 and 3.
        run(QStringLiteral("insert into tb_id_param(devId, ParamId, ItemId, ParamName) values "
                           "(1, 10, 1, '轴重'), (2, 10, 1, '轴重'), (1, 20, 1, '制动力'), (1, 20, 2, '制动力'), "
                           "(1, 30, 1, '灯光'), (1, 30, 2, '灯光'), (1, 30, 3, '灯光')"));
    }
    QString remarks()
    {
        QStringList all;
        for (int row = 0; row < check.list().rowCount(); ++row)
            all << check.list().itemText(row, ItemParamCheckEditor::RemarkColumn);
        return all.join(u'|');
    }
};

TEST_F(ItemParamCheckTest, MarksEveryRowOfAParameterUnderSeveralItems)
{
    check.load();
    EXPECT_EQ(check.status().left(), QStringLiteral("获取完毕"));
    ASSERT_EQ(check.list().rowCount(), 7);
    EXPECT_EQ(check.list().itemText(0, 0) + u',' + check.list().itemText(0, 1) + u',' + check.list().itemText(0, 3),
              QStringLiteral("轴重,10,1"));

    check.check();
    EXPECT_EQ(remarks(), QStringLiteral("||有重复|有重复|有重复|有重复|有重复"));
    EXPECT_EQ(check.list().textColor(0, 0), ReportListModel::systemTextColor());
    EXPECT_EQ(check.list().textColor(6, 2), listcolor::Red);
    EXPECT_EQ(check.status().left(), QStringLiteral("有重复内容,请处理"));
    EXPECT_EQ(check.status().progressMaximum(), 8);
    EXPECT_EQ(check.status().progress(), 8);

    check.load();  // marks last until the next load
    EXPECT_EQ(remarks(), QStringLiteral("||||||"));
}

TEST_F(ItemParamCheckTest, ALoadFailingPartWayKeepsTheRowsReadSoFar)
{
    // Rows come in index order, and the third row's parameter name cannot be computed.
    run(QStringLiteral("alter table tb_id_param rename to param_rows; create index param_order on param_rows(ParamId);"
                       "create view tb_id_param as select devId, ParamId, ItemId, case when ParamId = 30 then "
                       "json('broken') else ParamName end as ParamName from param_rows"));
    prompts.answer(PromptButton::Ok);
    check.load();
    EXPECT_TRUE(prompts.lastCall().text.contains(QStringLiteral("malformed JSON")))
        << prompts.lastCall().text.toStdString();
    ASSERT_EQ(check.list().rowCount(), 4);
    EXPECT_EQ(check.list().itemText(3, 0) + u',' + check.list().itemText(3, 1), QStringLiteral("制动力,20"));
}

TEST_F(ItemParamCheckTest, CheckingAnEmptyListOnlySetsTheProgress)
{
    check.check();
    EXPECT_EQ(check.status().progressMaximum(), 1);
    EXPECT_EQ(check.status().progress(), 1);
    EXPECT_EQ(check.status().left(), QStringLiteral("正在比较参数信息"));
}

TEST_F(ItemParamCheckTest, DeleteAsksThenRemovesTheRowFromListAndTable)
{
    check.load();
    prompts.answer(PromptButton::Cancel);
    check.deleteRow(2);
    EXPECT_EQ(check.list().rowCount(), 7);
    prompts.answer(PromptButton::Ok);
    check.deleteRow(2);
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("确定要删除该参数信息?"));
    EXPECT_EQ(prompts.lastCall().defaultButton, PromptButton::Cancel);
    EXPECT_EQ(check.list().rowCount(), 6);
    EXPECT_EQ(rows(QStringLiteral("select ItemId from tb_id_param where ParamId = 20")), QStringLiteral("2"));

    run(QStringLiteral("drop table tb_id_param"));
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    check.deleteRow(0);
    EXPECT_EQ(check.list().rowCount(), 5);  // gone from the list though the delete failed
    EXPECT_TRUE(prompts.lastCall().text.startsWith(QStringLiteral("删除参数记录失败[SQLite]no such table")));
    EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("Dbkeel"));
    EXPECT_EQ(prompts.lastCall().icon, PromptIcon::None);
    EXPECT_EQ(DbReady, 0);
}

}  // namespace
}  // namespace dbkeel::test
