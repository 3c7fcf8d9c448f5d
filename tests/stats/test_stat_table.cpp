// The statistics table builder: column names by attribute, planned fields, the guarded column
// statements, creating on an existing table, the script, and the statistics library's fill.

#include "components/daytally/StatTally.h"
#include "screens/ScreenStatus.h"
#include "stats/StatTableEditor.h"
#include "tests/stats/StatsFixture.h"

#include <QCoreApplication>
#include <QFile>

namespace dbkeel::test {
namespace {

class StatTableTest : public StatsFixture {
protected:
    StatTableEditor editor;

    void SetUp() override
    {
        StatsFixture::SetUp();
        prompts.answer(PromptButton::Ok);  // no statistics library at this path
        editor.load(path(QStringLiteral("missing/DayTally.so")));
    }
    QStringList fieldNames()
    {
        QStringList names;
        for (int row = 0; row < editor.fields().rowCount(); ++row)
            names << editor.fields().itemText(row, 0) + QLatin1Char(':') + editor.fields().itemText(row, 1);
        return names;
    }
    static QStringList statColumns()
    {
        return firstColumn(QStringLiteral("select name from pragma_table_info('tb_stat_all')"));
    }
};

TEST(StatTableNaming, EveryAttributeHasItsPrefixAndTable)
{
    const struct {
        const char *attribute, *prefix, *table;
    } cases[] = {
        {"基本信息", "INFO_", "tb_id_info"},         {"检测项目", "ITEM_", "tb_id_itemid"},
        {"项目判定", "ITEM_JUDGE_", "tb_id_itemid"}, {"项目次数", "ITEM_SUM_", "tb_id_itemid"},
        {"检测结果", "RESULT_", "tb_id_paramid"},    {"判定结论", "JUDGE_", "tb_id_paramid"},
        {"判定等级", "JUDGE_DJ_", "tb_id_paramid"},  {"检测标准", "STD_", "tb_id_paramid"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(statColumnPrefix(QString::fromUtf8(c.attribute)), QLatin1String(c.prefix)) << c.attribute;
        EXPECT_TRUE(statAttributes(QLatin1String(c.table)).contains(QString::fromUtf8(c.attribute))) << c.attribute;
    }
    EXPECT_EQ(statAttributes("tb_id_itemid"), (QStringList{"项目判定", "项目次数", "检测项目"}));
    EXPECT_EQ(statIdentifierColumn("tb_id_info"), 0);
    EXPECT_EQ(statIdentifierColumn("tb_id_paramid"), 1);
}

TEST(StatTableStatements, OnlyTheCharFamilyTakesALength)
{
    const struct {
        const char *type, *length;
        bool sized;
    } cases[] = {{"varchar", "50", true},
                 {"nchar", "10", true},
                 {"int", "4", false},
                 {"text", "16", false},
                 {"ntext", "16", false}};
    for (const auto &c : cases) {
        const QString type = QLatin1String(c.type);
        const QString text = statColumnStatement(Dialect::SqlServer, "ITEM_200", type, QLatin1String(c.length),
                                                 statCollation(type))
                                 .text;
        EXPECT_EQ(text.contains(QStringLiteral("add ITEM_200 %1(%2)").arg(type, QLatin1String(c.length))), c.sized)
            << c.type;
        EXPECT_EQ(text.contains(QStringLiteral("add ITEM_200 %1 \t").arg(type)), !c.sized) << c.type;
    }
    EXPECT_EQ(statColumnStatement(Dialect::SqlServer, "INFO_1001", "varchar", "50", kStatCollation).text,
              QStringLiteral(
                  "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[tb_stat_all]') and "
                  "OBJECTPROPERTY(id, N'IsUserTable') = 1) \t\t\t\t   BEGIN \t\t\t\t\t  IF not exists (SELECT "
                  "name FROM syscolumns WHERE (id = OBJECT_ID(N'tb_stat_all')) and  name = 'INFO_1001' ) "
                  "\t\t\t\t\t\t BEGIN alter table tb_stat_all add INFO_1001 varchar(50) \t\t\t\t\t  END\t\t\t\t   "
                  "END ;"));
    EXPECT_EQ(statTypeLength("varbinary"), QStringLiteral("100"));
    EXPECT_EQ(statTypes().size(), 24);
}

TEST(StatTableStatements, ScriptEndsTheTableWithoutATrailingComma)
{
    const QString script = statScriptText("tb_stat_all", {{"ID", "int", "4", "", false, true},
                                                          {"loginid", "varchar", "100", kStatCollation, false, false},
                                                          {"DataID", "int", "4", "", true, false}});
    EXPECT_EQ(script, QStringLiteral(
                          "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[tb_stat_all]') and "
                          "\t\t\t             OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[tb_stat_all] "
                          "CREATE TABLE [dbo].[tb_stat_all] ( [ID] [int] IDENTITY (1, 1) NOT NULL ,[loginid] [varchar] "
                          "(100) COLLATE Chinese_PRC_CI_AS NOT NULL ,[DataID] [int] NULL  ) ON [PRIMARY] ;"));
    EXPECT_EQ(statScriptText("tb_stat_all", {}), QString());
}

TEST_F(StatTableTest, AddingFromTheSourceListNamesByAttributeAndSkipsDuplicates)
{
    run(QStringLiteral(
        "insert into tb_id_paramid (paramid, paramname) values (3001, '左轮制动力'), (3002, '右轮制动力');"));
    editor.chooseSourceTable(QStringLiteral("tb_id_paramid"));
    ASSERT_EQ(editor.source().rowCount(), 2);
    EXPECT_EQ(editor.status().left(), QStringLiteral("共查询到[2]条记录"));
    EXPECT_EQ(editor.attributes(), (QStringList{"检测结果", "判定结论", "判定等级", "检测标准"}));
    const int existing = editor.fields().rowCount();

    prompts.answer(PromptButton::Ok);
    editor.addChecked();  // no attribute yet
    EXPECT_EQ(messages().last(), QStringLiteral("请选择字段属性!"));
    editor.setAttribute(QStringLiteral("判定等级"));
    editor.source().setChecked(1, true);
    editor.addChecked();
    editor.addChecked();  // the same name and type again: one row
    editor.chooseType(QStringLiteral("int"));
    EXPECT_EQ(editor.length(), QStringLiteral("4"));
    editor.addChecked();  // the same name with another type: a second row
    editor.setAttribute(QString());
    editor.addAll();  // no attribute: the bare identifiers
    EXPECT_EQ(fieldNames().mid(existing),
              (QStringList{"JUDGE_DJ_3002:varchar", "JUDGE_DJ_3002:int", "3001:int", "3002:int"}));
    EXPECT_EQ(editor.fields().itemText(existing, 3), kStatCollation);
    EXPECT_EQ(editor.fields().itemText(existing + 1, 3), QString());
}

// The source list shows a value of up to 120 GBK bytes as it is and a longer one as binary data.
TEST_F(StatTableTest, TheSourceListShowsValuesUpTo120Bytes)
{
    const QString chinese120(60, u'车'), ascii120(120, u'x');
    run(QStringLiteral("insert into tb_id_paramid (paramid, paramname) values (1, '%1'), (2, '%2'), (3, '%3'), "
                       "(4, '%4')")
            .arg(chinese120, chinese120 + u'x', ascii120, ascii120 + u'x'));
    editor.chooseSourceTable(QStringLiteral("tb_id_paramid"));
    ASSERT_EQ(editor.source().rowCount(), 4);
    int name = 0;
    while (editor.source().column(name).title != QStringLiteral("paramname"))
        ASSERT_LT(++name, editor.source().columnCount());
    const QString binary = QStringLiteral("二进制数据或长度较长");
    const QStringList shown{chinese120, binary, ascii120, binary};
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(editor.source().itemText(row, name), shown.at(row)) << row;
}

TEST_F(StatTableTest, CreateOnAnExistingTableAddsOnlyTheMissingColumns)
{
    run(QStringLiteral("insert into tb_stat_all (loginid, INFO_1001) values ('L1', '苏A12345');"));
    ASSERT_EQ(editor.fields().rowCount(), 11);  // the existing columns, in red
    EXPECT_EQ(editor.fields().textColor(0, 0), listcolor::Red);
    editor.addField(QStringLiteral("ITEM_200"), QStringLiteral("int"), QStringLiteral("4"), listcolor::Blue);
    editor.addField(QStringLiteral("STD_3001"), QStringLiteral("varchar"), QStringLiteral("50"), listcolor::Blue);
    prompts.answer(PromptButton::Ok);
    editor.create();
    EXPECT_EQ(messages().last(), QStringLiteral("创建成功!!"));
    EXPECT_EQ(editor.status().left(), QStringLiteral("创建成功"));
    EXPECT_EQ(statColumns().mid(11), (QStringList{"ITEM_200", "STD_3001"}));
    EXPECT_EQ(rows(QStringLiteral("select loginid, INFO_1001 from tb_stat_all")), QStringLiteral("L1,苏A12345"));
}

TEST_F(StatTableTest, DropThenCreateRebuildsTheTableFromThePlannedFields)
{
    editor.addField(QStringLiteral("ITEM_JUDGE_200"), QStringLiteral("varchar"), QStringLiteral("50"), listcolor::Blue);
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    editor.dropTable();
    EXPECT_EQ(statColumns(), QStringList());
    prompts.answer(PromptButton::Ok);
    editor.create();
    EXPECT_EQ(statColumns().size(), 12);
    EXPECT_EQ(statColumns().last(), QStringLiteral("ITEM_JUDGE_200"));
}

TEST_F(StatTableTest, AFailingColumnStopsTheCreateAndSaysSo)
{
    editor.removeAll();
    editor.addField(QStringLiteral("bad name"), QStringLiteral("int"), QStringLiteral("4"), listcolor::Blue);
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    editor.create();
    EXPECT_EQ(prompts.calls().at(1).caption, QStringLiteral("异常"));
    EXPECT_EQ(messages().last(), QStringLiteral("创建失败"));
    EXPECT_EQ(editor.status().left(), QStringLiteral("创建失败"));
    EXPECT_EQ(DbReady, 0);
}

TEST_F(StatTableTest, TheScriptRecreatesTheTableItDescribes)
{
    editor.addField(QStringLiteral("ITEM_SUM_200"), QStringLiteral("int"), QStringLiteral("4"), listcolor::Blue);
    prompts.answer(PromptButton::Ok);
    editor.create();
    const QString folder = dir.path() + QLatin1Char('/');  // a trailing separator gives no second one
    prompts.answerFolder(folder).answer(PromptButton::Ok);
    editor.exportScript();
    const QString script = path(QStringLiteral("tb_stat_all.mysql"));
    EXPECT_EQ(messages().last(), QStringLiteral("建立脚本成功,文件路径[%1]").arg(script));
    const QByteArray bytes = readFileBytes(script);
    EXPECT_FALSE(bytes.contains('\n'));
    run(QStringLiteral("drop table tb_stat_all;"));
    prompts.answerFile(script).answer(PromptButton::Ok).answer(PromptButton::Ok);
    editor.importScript();
    EXPECT_EQ(prompts.calls().at(prompts.calls().size() - 2).text,
              QStringLiteral("确定要建立数据表->tb_stat_all.mysql"));
    EXPECT_EQ(messages().last(), QStringLiteral("tb_stat_all.mysql数据表建立成功!"));
    EXPECT_EQ(statColumns().last(), QStringLiteral("ITEM_SUM_200"));
}

TEST_F(StatTableTest, WithoutTheLibraryTheBuildSaysSoAndEnds)
{
    editor.buildStatistics();
    EXPECT_TRUE(editor.isBuilding());
    ASSERT_TRUE(waitUntil([this] { return !editor.isBuilding(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(editor.status().left(), QStringLiteral("加载统计数据生成库失败或找不到该动态库!"));
    EXPECT_TRUE(editor.close());
}

class StatFillTest : public StatsFixture {
protected:
    QStringList progress;
    int fill()
    {
        return fillStatTable(sharedDb(), [this](const QString &text) { progress << text; });
    }
};

TEST_F(StatFillTest, FillsOneRowPerInspectionFromVehicleItemsAndStandardsAndRerunsWithoutDuplicates)
{
    run(QStringLiteral(
        "ALTER TABLE tb_stat_all ADD COLUMN ITEM_200 TEXT; ALTER TABLE tb_stat_all ADD COLUMN ITEM_JUDGE_200 TEXT;"
        "ALTER TABLE tb_stat_all ADD COLUMN ITEM_SUM_200 INTEGER; ALTER TABLE tb_stat_all ADD COLUMN STD_3001 TEXT;"
        "ALTER TABLE tb_stat_all ADD COLUMN RESULT_3001 TEXT; ALTER TABLE tb_stat_all ADD COLUMN INFO_9999 TEXT;"
        "insert into tb_vehicle_info (loginid, INFO_1001, INFO_1004) values ('L1', '苏A12345', 'VIN1');"
        "insert into tb_login_queu (loginid, statusabout) values ('L1', '检测完成'), ('L2', '等待检测'), ('L1', '重复');"
        "insert into tb_login_item (loginid, itemid, status, checkend) values ('L1', 200, 1, 0), ('L1', 200, 1, 1);"
        "insert into tb_login_std (loginid, paramid, paramlvalue, paramhvalue) values ('L1', 3001, '60', '100');"));
    const QString query = QStringLiteral(
        "select loginid, DataID, INFO_1001, INFO_1004, ITEM_200, ITEM_JUDGE_200, "
        "ITEM_SUM_200, STD_3001, RESULT_3001, INFO_9999, StatRemark from tb_stat_all order by loginid");
    EXPECT_EQ(fill(), 2);
    EXPECT_EQ(rows(query), QStringLiteral("L1,1,苏A12345,VIN1,1,1,2,60~100,,,检测完成|L2,,,,,,,,,,等待检测"));
    EXPECT_EQ(progress.first(), QStringLiteral("正在统计[1/2] L1"));
    EXPECT_EQ(progress.last(), QStringLiteral("统计完成,共2条检测记录"));
    EXPECT_EQ(fill(), 2);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_stat_all")), QStringLiteral("2"));
    EXPECT_FALSE(rows(QStringLiteral("select WriteDate from tb_stat_all")).isEmpty());
}

TEST_F(StatFillTest, AFillThatFailsLeavesTheTableAsItWas)
{
    // The second inspection's standard is text for a column designed as a number: its row is refused
    // after the first inspection's row was already replaced.
    run(QStringLiteral(
        "ALTER TABLE tb_stat_all ADD COLUMN STD_3001 INTEGER;"
        "insert into tb_stat_all (loginid, StatRemark) values ('L1', 'old');"
        "insert into tb_login_queu (loginid, statusabout) values ('L1', 'new'), ('L2', 'new');"
        "insert into tb_login_std (loginid, paramid, paramlvalue, paramhvalue) values ('L2', 3001, '60', '100');"));
    EXPECT_THROW(fill(), DbError);
    EXPECT_EQ(rows(QStringLiteral("select loginid, StatRemark from tb_stat_all")), QStringLiteral("L1,old"));
}

TEST_F(StatFillTest, WithoutTheTableTheFillFails)
{
    run(QStringLiteral("drop table tb_stat_all;"));
    EXPECT_THROW(fill(), DbError);
}

}  // namespace
}  // namespace dbkeel::test
