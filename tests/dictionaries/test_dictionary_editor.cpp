#include "dictionaries/DictionaryEditor.h"
#include "dictionaries/DictionaryRowRecord.h"
#include "tests/support/DictionaryFixture.h"

namespace dbkeel::test {
namespace {

using namespace listcolor;

class DictionaryEditorTest : public DictionaryFixture {
protected:
    DictionaryEditor devices{deviceDictionary()};

    // Adds a device row to the table.
    static void storeDevice(int code, const QString &name, const QString &state = QStringLiteral("使用"))
    {
        run(QStringLiteral("insert into tb_id_devid(devid, devname, devkeychar, res) values (%1, '%2', 'K%1', '%3')")
                .arg(code)
                .arg(name, state));
    }
    // Adds a row to the list only, as the row editor does.
    static void addPending(DictionaryEditor &editor, const QString &code, const QString &name,
                           const QString &state = QStringLiteral("新建"))
    {
        ReportListModel &list = editor.list();
        const int row = list.appendRow(DictionaryEditor::kPending);
        list.setItemText(row, DictionaryVariant::NameColumn, name);
        list.setItemText(row, DictionaryVariant::CodeColumn, code);
        list.setItemText(row, editor.variant().stateColumn(), state);
    }
    // Opens the editor on `row`, chooses `operation` with the given code and name, and closes it with 确定.
    static void edit(DictionaryEditor &editor, int row, RowOperation operation, const QString &code,
                     const QString &name)
    {
        ASSERT_TRUE(editor.prepareEdit(row));
        DictionaryRowRecord &record = dictionaryRowRecord();
        const DictionaryRowFields fields = fieldsForOperation(operation, record);
        record.operation = operation;
        record.code = code;
        record.name = name;
        record.state = fields.state;
        record.remark = fields.remark;
        editor.finishEdit(row, true);
    }
    static QList<ListColor> colours(const DictionaryEditor &editor)
    {
        QList<ListColor> all;
        for (int row = 0; row < editor.list().rowCount(); ++row)
            all << editor.list().textColor(row, 1);
        return all;
    }
    QString table() { return rows(QStringLiteral("select devid, devname, res from tb_id_devid order by devid")); }
};

TEST_F(DictionaryEditorTest, CodesOutsideTheRangeAreRedOnLoadAndBlockTheStore)
{
    const struct {
        const DictionaryVariant &variant;
        int code;
        bool inRange;
    } cases[] = {
        {deviceDictionary(), 0, false},       {deviceDictionary(), 1, true},
        {deviceDictionary(), 199, true},      {deviceDictionary(), 200, false},
        {itemDictionary(), 199, false},       {itemDictionary(), 200, true},
        {itemDictionary(), 1000, true},       {itemDictionary(), 1001, false},
        {parameterDictionary(), 4999, false}, {parameterDictionary(), 5000, true},
        {parameterDictionary(), 10000, true}, {parameterDictionary(), 10001, false},
    };
    for (const auto &c : cases) {
        const DictionaryVariant &v = c.variant;
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(v.table).arg(c.code).toStdString());
        run(QStringLiteral("delete from %1").arg(v.table));
        run(QStringLiteral("insert into %1(%2, %3, res) values (%4, 'n', '使用')")
                .arg(v.table, v.codeColumn, v.nameColumn)
                .arg(c.code));
        DictionaryEditor editor(v);
        editor.load();
        ASSERT_EQ(editor.list().rowCount(), 1);
        EXPECT_EQ(editor.list().textColor(0, 3), c.inRange ? Blue : Red);
        EXPECT_EQ(editor.status().right(), v.largestCodeFormat.arg(c.code));
        if (!c.inRange)
            prompts.answer(PromptButton::Ok);
        editor.store();
        if (!c.inRange) {
            EXPECT_EQ(prompts.lastCall().text, v.storeRefused);
        }
        EXPECT_EQ(rows(QStringLiteral("select res from %1").arg(v.table)), QStringLiteral("使用"));
    }
}

TEST_F(DictionaryEditorTest, CheckMarksLiveDuplicatesByNameOrCodeTextIncludingWithdrawnPartners)
{
    addPending(devices, QStringLiteral("5"), QStringLiteral("甲"));
    addPending(devices, QStringLiteral("5"), QStringLiteral("乙"));  // same code text as 甲
    addPending(devices, QStringLiteral("6"), QStringLiteral("丙"), DictionaryEditor::kWithdrawn);
    addPending(devices, QStringLiteral("7"), QStringLiteral("丙"));  // a withdrawn row's name
    addPending(devices, QStringLiteral("012"), QStringLiteral("丁"));
    addPending(devices, QStringLiteral("12"), QStringLiteral("戊"));  // codes differ as texts
    EXPECT_FALSE(devices.check());
    EXPECT_EQ(colours(devices), (QList<ListColor>{Red, Red, Olive, Red, Blue, Blue}));

    prompts.answer(PromptButton::Ok);
    devices.checkCommand();
    EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("警告"));
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("有重复内容,请查看!"));
    EXPECT_EQ(devices.status().left(), QStringLiteral("测试结束,有重复字段"));

    devices.list().deleteRow(3);
    devices.list().deleteRow(1);
    devices.checkCommand();
    EXPECT_EQ(devices.status().left(), QStringLiteral("测试结束,无重复或异常情况字段"));
    EXPECT_EQ(devices.status().progressMaximum(), 4);
}

TEST_F(DictionaryEditorTest, EditorInsertComparesCodesAsNumbersAndModifyOnlyNames)
{
    storeDevice(7, QStringLiteral("灯光仪"));
    storeDevice(9, QStringLiteral("侧滑台"));
    devices.load();

    prompts.answer(PromptButton::Ok);
    edit(devices, 0, RowOperation::Insert, QStringLiteral("07"), QStringLiteral("新设备"));
    EXPECT_EQ(messages(), QStringList{QStringLiteral("新建内容已经存在,请仔细核实!!")});
    EXPECT_EQ(devices.list().rowCount(), 2);

    edit(devices, 0, RowOperation::Insert, QStringLiteral("10"), QStringLiteral("新设备"));
    ASSERT_EQ(devices.list().rowCount(), 3);
    EXPECT_EQ(devices.row(2).id, DictionaryEditor::kPending);
    EXPECT_EQ(devices.row(2).state, QStringLiteral("新建"));
    EXPECT_EQ(devices.row(2).remark, QStringLiteral("新插入"));
    EXPECT_EQ(devices.list().textColor(2, 0), Teal);
    EXPECT_EQ(devices.status().right(), QStringLiteral("当前最大设备代号为:10"));
    EXPECT_EQ(dictionaryRowRecord().suggestedCode, QStringLiteral("10"));  // largest + 1 when opened

    prompts.answer(PromptButton::Ok);
    edit(devices, 1, RowOperation::Modify, QStringLiteral("7"), QStringLiteral("灯光仪"));  // another row's name
    EXPECT_EQ(messages().last(), QStringLiteral("修改名称已经存在,请仔细核实!!"));
    edit(devices, 1, RowOperation::Modify, QStringLiteral("7"),
         QStringLiteral("侧滑检验台"));  // a code in use: allowed
    EXPECT_EQ(devices.row(1).name, QStringLiteral("侧滑检验台"));
    EXPECT_EQ(devices.row(1).code, QStringLiteral("7"));
    EXPECT_EQ(devices.row(1).remark, QStringLiteral("被修改"));
}

TEST_F(DictionaryEditorTest, WhatTheEditorLetsThroughTheStoreStillChecksOrMisses)
{
    storeDevice(7, QStringLiteral("灯光仪"));
    devices.load();
    edit(devices, 0, RowOperation::Modify, QStringLiteral("8"),
         QStringLiteral("前照灯仪"));  // a new code for a stored row
    edit(devices, 0, RowOperation::Insert, QStringLiteral("9"), QString());
    edit(devices, 0, RowOperation::Insert, QStringLiteral("10"), QString());  // the empty name passes the editor
    EXPECT_EQ(devices.list().rowCount(), 3);

    prompts.answer(PromptButton::Ok);
    devices.store();
    EXPECT_EQ(prompts.lastCall().text, deviceDictionary().storeRefused);
    devices.list().deleteRow(2);
    prompts.answer(PromptButton::Ok);
    devices.store();
    // The update addresses the row by ID and the new code: it matches nothing, which is reported
    // instead of passing for success, and the store stops there.
    EXPECT_EQ(table(), QStringLiteral("7,灯光仪,使用"));
    EXPECT_TRUE(prompts.lastCall().text.startsWith(QStringLiteral("修改异常:没有找到ID为")))
        << prompts.lastCall().text.toStdString();
    EXPECT_EQ(DbReady, 1);
}

TEST_F(DictionaryEditorTest, EditorDeleteRemovesAPendingRowAtOnceAndAsksForAStoredOne)
{
    storeDevice(3, QStringLiteral("制动台"));
    devices.load();
    edit(devices, 0, RowOperation::Insert, QStringLiteral("4"), QStringLiteral("速度台"));
    edit(devices, 1, RowOperation::Delete, QStringLiteral("4"), QStringLiteral("速度台"));
    EXPECT_EQ(devices.list().rowCount(), 1);
    EXPECT_TRUE(prompts.calls().empty());

    prompts.answer(PromptButton::Cancel);
    edit(devices, 0, RowOperation::Delete, QStringLiteral("3"), QStringLiteral("制动台"));
    EXPECT_EQ(devices.row(0).state, QStringLiteral("使用"));
    const PromptCall question = prompts.lastCall();
    EXPECT_EQ(question.text, deviceDictionary().deleteQuestion);
    EXPECT_EQ(question.buttons, PromptButtons::OkCancel);
    EXPECT_EQ(question.defaultButton, PromptButton::Cancel);

    prompts.answer(PromptButton::Ok);
    edit(devices, 0, RowOperation::Delete, QStringLiteral("3"), QStringLiteral("制动台"));
    EXPECT_EQ(devices.row(0).state, DictionaryEditor::kWithdrawn);
    EXPECT_EQ(devices.list().textColor(0, 0), Olive);
}

TEST_F(DictionaryEditorTest, EditorCancelledOrWithoutOperationChangesNothing)
{
    storeDevice(3, QStringLiteral("制动台"));
    devices.load();
    EXPECT_FALSE(devices.prepareEdit(1));
    ASSERT_TRUE(devices.prepareEdit(0));
    dictionaryRowRecord().operation = RowOperation::Insert;
    dictionaryRowRecord().code = QStringLiteral("5");
    dictionaryRowRecord().name = QStringLiteral("别的");
    devices.finishEdit(0, false);
    dictionaryRowRecord().operation = RowOperation::None;
    devices.finishEdit(0, true);
    EXPECT_EQ(devices.list().rowCount(), 1);
    EXPECT_EQ(devices.row(0).name, QStringLiteral("制动台"));
}

TEST_F(DictionaryEditorTest, DeleteKeyWithdrawsStoredAndPendingRowsAndTwoStoresRemoveBoth)
{
    storeDevice(5, QStringLiteral("烟度计"));
    devices.load();
    edit(devices, 0, RowOperation::Insert, QStringLiteral("6"), QStringLiteral("声级计"));

    prompts.answer(PromptButton::No);
    devices.markWithdrawn({0, 1});
    EXPECT_EQ(colours(devices), (QList<ListColor>{Blue, Teal}));
    EXPECT_EQ(prompts.lastCall().defaultButton, PromptButton::No);

    prompts.answer(PromptButton::Yes);
    devices.markWithdrawn({0, 1});
    EXPECT_EQ(colours(devices), (QList<ListColor>{Olive, Olive}));

    devices.store();
    EXPECT_EQ(table(), QStringLiteral("6,声级计,无效"));
    ASSERT_EQ(devices.list().rowCount(), 1);
    EXPECT_NE(devices.row(0).id, DictionaryEditor::kPending);
    EXPECT_EQ(devices.status().left(), withHistoryNote(QStringLiteral("更新结束")));

    devices.store();
    EXPECT_EQ(table(), QString());
    EXPECT_EQ(devices.list().rowCount(), 0);
}

TEST_F(DictionaryEditorTest, StoreWritesEveryRowAndStopsAtTheFirstFailingOne)
{
    storeDevice(1, QStringLiteral("旧名"));
    devices.load();
    devices.list().setItemText(0, DictionaryVariant::NameColumn, QStringLiteral("O'Brien's"));
    addPending(devices, QStringLiteral("2"), QStringLiteral("二"));
    addPending(devices, QStringLiteral("3x"),
               QStringLiteral("三"));  // in range for the check, not a number for the table
    addPending(devices, QStringLiteral("4"), QStringLiteral("四"));
    prompts.answer(PromptButton::Ok);
    devices.store();
    EXPECT_EQ(table(), QStringLiteral("1,O'Brien's,使用|2,二,新建"));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages().first(),
              QStringLiteral(
                  "新增异常:[Dbkeel]Conversion failed when converting the varchar value '3x' to data type int."));
    EXPECT_EQ(DbReady, 0);
    // Reloaded, with the rows it did not write kept for another try: nothing typed is lost, and the
    // row already written is not written twice.
    EXPECT_EQ(devices.status().left(), withHistoryNote(QStringLiteral("更新未完成,未写入的修改仍在列表中")));
    ASSERT_EQ(devices.list().rowCount(), 4);
    EXPECT_EQ(devices.row(1).id, QStringLiteral("2"));
    EXPECT_EQ(devices.row(2).id, DictionaryEditor::kPending);
    EXPECT_EQ(devices.row(2).code, QStringLiteral("3x"));
    EXPECT_EQ(devices.row(3).code, QStringLiteral("4"));

    devices.list().setItemText(2, DictionaryVariant::CodeColumn, QStringLiteral("3"));
    DbReady = 1;
    devices.store();
    EXPECT_EQ(table(), QStringLiteral("1,O'Brien's,使用|2,二,新建|3,三,新建|4,四,新建"));
    EXPECT_EQ(devices.status().left(), withHistoryNote(QStringLiteral("更新结束")));
}

TEST_F(DictionaryEditorTest, AStoreThatStopsAtAnUpdateKeepsTheEditOverItsStoredRow)
{
    storeDevice(1, QStringLiteral("甲"));
    storeDevice(2, QStringLiteral("乙"));
    devices.load();
    devices.list().setItemText(0, DictionaryVariant::CodeColumn, QStringLiteral("5"));  // matches no stored row
    devices.list().setItemText(1, DictionaryVariant::NameColumn, QStringLiteral("乙改"));
    prompts.answer(PromptButton::Ok);
    devices.store();
    EXPECT_EQ(table(), QStringLiteral("1,甲,使用|2,乙,使用"));
    ASSERT_EQ(devices.list().rowCount(), 2);  // over their stored rows, not appended
    EXPECT_EQ(devices.row(0).code, QStringLiteral("5"));
    EXPECT_EQ(devices.row(1).name, QStringLiteral("乙改"));
    EXPECT_NE(devices.status().left(), QStringLiteral("更新结束"));
}

TEST_F(DictionaryEditorTest, SearchComparesCodeOrNameExactly)
{
    storeDevice(12, QStringLiteral("底盘测功机"));
    devices.load();
    const struct {
        bool byName;
        const char *text;
        bool found;
        const char *message;
        PromptIcon icon;
    } cases[] = {
        {false, "12", true, "设备代号:12\r\n设备名称:底盘测功机\r\n", PromptIcon::Information},
        {true, "底盘测功机", true, "设备代号:12\r\n设备名称:底盘测功机\r\n", PromptIcon::Information},
        {false, "012", true, "没有查询到该代号信息!", PromptIcon::Exclamation},
        {true, "底盘", true, "没有查询到该代号信息!", PromptIcon::Exclamation},
        {false, "", false, "请输入设备号!", PromptIcon::Exclamation},
    };
    for (const auto &c : cases) {
        prompts.answer(PromptButton::Ok);
        EXPECT_EQ(devices.search(c.byName, QString::fromUtf8(c.text)), c.found) << c.text;
        EXPECT_EQ(prompts.lastCall().text, QString::fromUtf8(c.message)) << c.text;
        EXPECT_EQ(prompts.lastCall().icon, c.icon) << c.text;
    }
}

TEST_F(DictionaryEditorTest, LoadErrorShowsTheDriversTextAndClosedDatabaseReadsNothing)
{
    storeDevice(12, QStringLiteral("底盘测功机"));
    run(QStringLiteral("drop table tb_id_devid"));
    prompts.answer(PromptButton::Ok);
    devices.load();
    EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("操作数据库异常"));
    EXPECT_TRUE(prompts.lastCall().text.contains(QStringLiteral("tb_id_devid")));
    EXPECT_EQ(DbReady, 0);

    addPending(devices, QStringLiteral("5"), QStringLiteral("五"));
    sharedDb().close();
    devices.store();  // writes nothing and keeps the row that was not written
    ASSERT_EQ(devices.list().rowCount(), 1);
    EXPECT_EQ(devices.row(0).code, QStringLiteral("5"));
    EXPECT_NE(devices.status().left(), QStringLiteral("更新结束"));
    devices.importFile(false);  // no file dialog: the scripted prompt would throw
}

}  // namespace
}  // namespace dbkeel::test
