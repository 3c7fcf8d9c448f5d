#include "dictionaries/DictionaryRowRecord.h"
#include "dictionaries/LineTypeEditor.h"
#include "tests/support/DictionaryFixture.h"

namespace dbkeel::test {
namespace {

TEST(LineTypeSql, SqlServerTexts)
{
    EXPECT_EQ(lineTypeLoadQuery(), QStringLiteral("select * from tb_id_linetype order by lintype ;"));
    EXPECT_EQ(lineTypeStoreStatement(Dialect::SqlServer, QStringLiteral("3"), QStringLiteral("安检线")),
              QStringLiteral(
                  "IF NOT EXISTS (SELECT * FROM tb_id_linetype WHERE lintype = 3 and linename = '安检线' )BEGIN "
                  "Insert \t\tinto tb_id_linetype( lintype,linename)values( 3,'安检线') END ;"));
    EXPECT_EQ(lineTypeRenameStatement(QStringLiteral("新"), QStringLiteral("3"), QStringLiteral("旧")),
              QStringLiteral(
                  "update  tb_id_linetype set linename ='新'  \t\t\t\t\t\t\t where lintype = 3 and linename = '旧' ;"));
    EXPECT_EQ(lineTypeDeleteStatement(QStringLiteral("3"), QStringLiteral("O'K")),
              QStringLiteral("delete from tb_id_linetype where lintype = 3 and linename = 'O''K' ;"));
}

class LineTypeTest : public DictionaryFixture {
protected:
    LineTypeEditor lines;

    void SetUp() override
    {
        DictionaryFixture::SetUp();
        run(QStringLiteral("insert into tb_id_linetype(lintype, linename) values (1, '安检线'), (2, '环保线')"));
        lines.load();
    }
    void edit(int row, RowOperation operation, const QString &code, const QString &name)
    {
        ASSERT_TRUE(lines.prepareEdit(row));
        DictionaryRowRecord &record = dictionaryRowRecord();
        record.operation = operation;
        record.code = code;
        record.name = name;
        lines.finishEdit(row, true);
    }
    QString table()
    {
        return rows(QStringLiteral("select lintype, linename from tb_id_linetype order by lintype, linename"));
    }
    QString listed() const
    {
        QStringList all;
        for (int row = 0; row < lines.list().rowCount(); ++row)
            all << lines.list().itemText(row, 0) + u',' + lines.list().itemText(row, 1);
        return all.join(u'|');
    }
};

TEST_F(LineTypeTest, InsertWaitsForStoreWhileRenameAndDeleteAreWrittenAtOnce)
{
    EXPECT_EQ(lines.status().right(), QStringLiteral("当前最大线代号为:2"));
    edit(0, RowOperation::Insert, QStringLiteral("3"), QStringLiteral("综合线"));
    edit(1, RowOperation::Modify, QStringLiteral("9"), QStringLiteral("尾气线"));  // the code cannot change
    EXPECT_EQ(dictionaryRowRecord().suggestedCode, QStringLiteral("4"));
    EXPECT_EQ(listed(), QStringLiteral("1,安检线|2,尾气线|3,综合线"));
    EXPECT_EQ(lines.list().textColor(2, 0), listcolor::Teal);
    EXPECT_EQ(table(), QStringLiteral("1,安检线|2,尾气线"));

    lines.store();
    EXPECT_EQ(table(), QStringLiteral("1,安检线|2,尾气线|3,综合线"));
    EXPECT_EQ(lines.status().left(), withHistoryNote(QStringLiteral("更新结束")));

    prompts.answer(PromptButton::Ok);
    edit(0, RowOperation::Delete, QString(), QString());
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("注意:若删除以后将无法恢复,确定要删除?确定(删除),取消"));
    EXPECT_EQ(table(), QStringLiteral("2,尾气线|3,综合线"));
    EXPECT_EQ(listed(), QStringLiteral("2,尾气线|3,综合线"));
}

TEST_F(LineTypeTest, AFailedStoreKeepsTheUnwrittenRowsAndSaysSo)
{
    edit(0, RowOperation::Insert, QStringLiteral("3"), QStringLiteral("综合线"));
    edit(0, RowOperation::Insert, QStringLiteral("4"), QStringLiteral("摩托车线"));
    edit(0, RowOperation::Insert, QStringLiteral("5"), QStringLiteral("尾气线"));
    run(QStringLiteral("create trigger refuse_four before insert on tb_id_linetype when new.lintype = 4 "
                       "begin select raise(abort, 'four refused'); end;"));
    prompts.answer(PromptButton::Ok);
    lines.store();
    EXPECT_TRUE(prompts.lastCall().text.contains(QStringLiteral("four refused")));
    EXPECT_EQ(table(), QStringLiteral("1,安检线|2,环保线|3,综合线"));
    EXPECT_EQ(listed(), QStringLiteral("1,安检线|2,环保线|3,综合线|4,摩托车线|5,尾气线"));
    EXPECT_EQ(lines.list().textColor(4, 0), listcolor::Teal);
    EXPECT_EQ(lines.status().left(), withHistoryNote(QStringLiteral("更新未完成,未写入的修改仍在列表中")));

    run(QStringLiteral("drop trigger refuse_four;"));
    lines.store();
    EXPECT_EQ(table(), QStringLiteral("1,安检线|2,环保线|3,综合线|4,摩托车线|5,尾气线"));
    EXPECT_EQ(lines.status().left(), withHistoryNote(QStringLiteral("更新结束")));
}

TEST_F(LineTypeTest, InsertIsRefusedForAKnownNameOrCode)
{
    const struct {
        const char *code, *name;
    } refused[] = {{"5", "安检线"}, {"02", "新线"}};
    for (const auto &c : refused) {
        prompts.answer(PromptButton::Ok);
        edit(0, RowOperation::Insert, QString::fromUtf8(c.code), QString::fromUtf8(c.name));
        EXPECT_EQ(prompts.lastCall().text, QStringLiteral("新建内容已经存在,请仔细核实!!")) << c.code;
    }
    prompts.answer(PromptButton::Ok);
    edit(1, RowOperation::Modify, QString(), QStringLiteral("安检线"));
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("修改名称已经存在,请仔细核实!!"));
    EXPECT_EQ(listed(), QStringLiteral("1,安检线|2,环保线"));
}

TEST_F(LineTypeTest, StoreKeepsStoredPairsAndAddsAPairWhoseCodeHasAnotherName)
{
    run(QStringLiteral(
        "insert into tb_id_linetype(lintype, linename) values (1, '旧安检线')"));  // another program's row
    const int row = lines.list().appendRow(QStringLiteral("2"));
    lines.list().setItemText(row, 1, QStringLiteral("新环保线"));
    lines.store();
    lines.store();
    EXPECT_EQ(table(), QStringLiteral("1,安检线|1,旧安检线|2,新环保线|2,环保线"));
}

TEST_F(LineTypeTest, DeletingAnUnstoredRowOnlyRemovesItAndFailedStatementsLeaveTheRow)
{
    edit(0, RowOperation::Insert, QStringLiteral("3"), QStringLiteral("综合线"));
    prompts.answer(PromptButton::Ok);
    edit(2, RowOperation::Delete, QString(), QString());
    EXPECT_EQ(listed(), QStringLiteral("1,安检线|2,环保线"));

    sharedDb().close();  // the rename fails
    edit(0, RowOperation::Modify, QString(), QStringLiteral("改名"));
    EXPECT_EQ(listed(), QStringLiteral("1,安检线|2,环保线"));
    EXPECT_EQ(DbReady, 1);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("注意:若删除以后将无法恢复,确定要删除?确定(删除),取消")});
}

TEST_F(LineTypeTest, StoreErrorIsShownAndEndsTheLoop)
{
    for (const char *code : {"3", "4x", "5"}) {
        const int row = lines.list().appendRow(QString::fromLatin1(code));
        lines.list().setItemText(row, 1, QStringLiteral("线") + QString::fromLatin1(code));
    }
    prompts.answer(PromptButton::Ok);
    lines.store();
    EXPECT_TRUE(prompts.lastCall().text.startsWith(QStringLiteral("修改异常:")));
    EXPECT_EQ(DbReady, 0);
    EXPECT_EQ(table(), QStringLiteral("1,安检线|2,环保线|3,线3"));
}

// SQL Server would store a cleared code box as code 0 without a word.
TEST_F(LineTypeTest, ACodeLeftEmptyIsRefusedInsteadOfStoredAsZero)
{
    lines.list().setItemText(lines.list().appendRow(QString()), 1, QStringLiteral("无代号线"));
    prompts.answer(PromptButton::Ok);
    lines.store();
    EXPECT_EQ(prompts.lastCall().text,
              QStringLiteral(
                  "修改异常:[Dbkeel]Conversion failed when converting the varchar value '' to data type int."));
    EXPECT_EQ(table(), QStringLiteral("1,安检线|2,环保线"));
}

}  // namespace
}  // namespace dbkeel::test
