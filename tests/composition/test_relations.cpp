// The relation screens without their windows: the built-in defaults, loading, the list commands
// and the all-or-nothing write.

#include "composition/RelationEditor.h"
#include "tests/composition/CompositionFixture.h"

namespace dbkeel::test {
namespace {

QList<int> codesOf(const DefaultAssignment &assignment)
{
    QList<int> codes;
    for (const DefaultAssignment::Range &range : assignment.ranges)
        for (int code = range.first; code <= range.last; ++code)
            codes << code;
    return codes;
}

TEST(RelationDefaults, EntriesAsTheInstallationHasThem)
{
    const auto codes = [](int first, int last) {
        QList<int> list;
        for (int code = first; code <= last; ++code)
            list << code;
        return list;
    };
    struct Case {
        const RelationVariant &variant;
        int owner;
        QList<int> members;
        bool firstOnly;
    } cases[] = {
        {deviceItemRelation(), 12, codes(208, 215) + codes(200, 203), false},
        {deviceItemRelation(), 25, codes(217, 229) + codes(246, 249) + QList<int>{252, 255}, false},
        {deviceItemRelation(), 2, {205}, true},
        {itemParameterRelation(), 207, codes(5018, 5022) + codes(5028, 5033) + QList<int>{7010, 7011}, false},
        {itemParameterRelation(), 246, {5070}, true},
        {itemParameterRelation(), 215, codes(9078, 9085), false},
        {itemParameterRelation(), 216, codes(5046, 5051) + codes(9083, 9085), false},
        {itemParameterRelation(), 244, codes(5210, 5218) + codes(9083, 9085), false},
        {itemParameterRelation(), 276, codes(7001, 7004) + codes(9083, 9085), false},
    };
    for (const Case &c : cases) {
        const DefaultAssignment *assignment = c.variant.defaultFor(c.owner);
        ASSERT_NE(assignment, nullptr) << c.owner;
        EXPECT_EQ(codesOf(*assignment), c.members) << c.owner;
        EXPECT_EQ(assignment->firstOnly, c.firstOnly) << c.owner;
    }
    for (int owner : {1, 24, 29, 31, 33, 37, 200})
        EXPECT_EQ(deviceItemRelation().defaultFor(owner), nullptr) << owner;
    for (int owner : {206, 213, 243, 251, 253, 275, 277, 199, 279})
        EXPECT_EQ(itemParameterRelation().defaultFor(owner), nullptr) << owner;
}

class Relations : public CompositionFixture {
protected:
    void SetUp() override
    {
        CompositionFixture::SetUp();
        seedDictionaries();
        editor.load();
    }
    static QStringList codes(const ReportListModel &list)
    {
        QStringList texts;
        for (int row = 0; row < list.rowCount(); ++row)
            texts << list.itemText(row, RelationEditor::Code);
        return texts;
    }
    static QStringList ticked(const ReportListModel &list)
    {
        QStringList texts;
        for (int row = 0; row < list.rowCount(); ++row)
            if (list.isChecked(row))
                texts << list.itemText(row, RelationEditor::Code);
        return texts;
    }
    RelationEditor editor{deviceItemRelation()};
};

TEST_F(Relations, LoadsLiveOwnersAndMembers)
{
    EXPECT_EQ(editor.ownerNames(), (QStringList{"灯光仪", "侧滑台", "底盘测功机"}));
    EXPECT_EQ(codes(editor.available()), (QStringList{"200", "201", "202", "203", "208", "217"}));
    EXPECT_EQ(editor.available().textColor(0, 0), listcolor::Blue);
    EXPECT_TRUE(editor.assigned().rowCount() == 0);
}

TEST_F(Relations, SelectingAnOwnerShowsItsStoredMembersOrItsDefault)
{
    run(QStringLiteral(
        "insert into tb_id_dev_item values (4,'侧滑台',250,'作废项目'),(1,'灯光仪',203,'右外灯'),(1,'灯光仪',201,'左内灯');"));
    struct Case {
        QString device;
        QStringList assigned;
    } cases[] = {
        {"灯光仪", {"203", "201"}},                           // stored, in stored order
        {"侧滑台", {}},                                       // stored rows all withdrawn: no defaults
        {"底盘测功机", {"200", "201", "202", "203", "208"}},  // nothing stored: the default, in list order
    };
    for (const Case &c : cases) {
        editor.selectOwner(c.device);
        EXPECT_EQ(codes(editor.assigned()), c.assigned) << c.device.toStdString();
        EXPECT_EQ(ticked(editor.available()).size(), c.assigned.size()) << c.device.toStdString();
        if (!c.assigned.isEmpty()) {
            EXPECT_EQ(editor.assigned().textColor(0, 0), listcolor::Green);
        }
    }
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_dev_item where devid = 12")), QStringLiteral("0"));
}

TEST_F(Relations, ADeviceWithoutDefaultStartsEmpty)
{
    run(QStringLiteral("delete from tb_id_dev_item"));
    editor.selectOwner(QStringLiteral("灯光仪"));  // device 1
    EXPECT_EQ(editor.assigned().rowCount(), 0);
}

TEST_F(Relations, ListCommandsReplaceTheAssignedList)
{
    editor.selectOwner(QStringLiteral("底盘测功机"));
    editor.available().setAllChecked(false);
    editor.available().setChecked(5, true);
    editor.addTicked();
    EXPECT_EQ(codes(editor.assigned()), QStringList{"217"});
    editor.addAll();
    EXPECT_EQ(codes(editor.assigned()), codes(editor.available()));
    prompts.answer(PromptButton::Cancel).answer(PromptButton::Ok);
    editor.removeOne(0);
    EXPECT_EQ(editor.assigned().rowCount(), 6);
    editor.removeOne(0);
    EXPECT_EQ(codes(editor.assigned()).first(), QStringLiteral("201"));
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("确定要删除该项?确定(删除),取消"));
    EXPECT_EQ(prompts.lastCall().defaultButton, PromptButton::Cancel);
    editor.removeAll();
    EXPECT_EQ(editor.assigned().rowCount(), 0);
}

TEST_F(Relations, WriteIsRefusedWithoutOwnerOrMembers)
{
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    EXPECT_FALSE(editor.write());
    editor.selectOwner(QStringLiteral("底盘测功机"));
    editor.available().setAllChecked(false);
    editor.addTicked();  // nothing ticked: the assigned list is emptied
    EXPECT_FALSE(editor.write());
    EXPECT_EQ(messages(), (QStringList{"请选择设备!", "请给该设备分配项目!"}));
}

TEST_F(Relations, WriteReplacesTheOwnersRowsAndIsRepeatable)
{
    run(QStringLiteral("update tb_id_itemid set itemname = 'O''Brien灯' where itemid = 201;"));
    editor.load();
    editor.selectOwner(QStringLiteral("底盘测功机"));
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    ASSERT_TRUE(editor.write());
    ASSERT_TRUE(editor.write());
    EXPECT_EQ(rows(QStringLiteral(
                  "select devid,devname,itemid,itemname from tb_id_dev_item where devid = 12 order by rowid")),
              QStringLiteral("12,底盘测功机,200,左外灯|12,底盘测功机,201,O'Brien灯|12,底盘测功机,202,右内灯|"
                             "12,底盘测功机,203,右外灯|12,底盘测功机,208,功率"));
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("建立成功!"));
    EXPECT_EQ(prompts.lastCall().icon, PromptIcon::Information);
    EXPECT_TRUE(ticked(editor.available()).isEmpty());
}

TEST_F(Relations, AFailingInsertKeepsEveryOldRow)
{
    seedRelations();
    const QString before = rows(QStringLiteral("select * from tb_id_dev_item order by rowid"));
    editor.selectOwner(QStringLiteral("灯光仪"));
    editor.addAll();
    editor.assigned().setItemText(3, RelationEditor::Code, QStringLiteral("20x"));  // refused by the column's type
    prompts.answer(PromptButton::Ok);
    EXPECT_FALSE(editor.write());
    EXPECT_TRUE(prompts.lastCall().text.startsWith(QStringLiteral("异常"))) << prompts.lastCall().text.toStdString();
    EXPECT_EQ(rows(QStringLiteral("select * from tb_id_dev_item order by rowid")), before);
}

TEST_F(Relations, ItemParameterVariant)
{
    seedRelations();
    RelationEditor items(itemParameterRelation());
    items.load();
    EXPECT_EQ(items.ownerNames().size(), 6);
    items.selectOwner(QStringLiteral("左外灯"));
    EXPECT_EQ(codes(items.assigned()), (QStringList{"5000", "5001"}));
    items.selectOwner(QStringLiteral("右内灯"));  // item 202: default 5004, 5005, not in the dictionary
    EXPECT_EQ(items.assigned().rowCount(), 0);
    items.selectOwner(QStringLiteral("右外灯"));  // item 203: nothing stored, no live default either
    items.addAll();
    prompts.answer(PromptButton::Ok);
    ASSERT_TRUE(items.write());
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_item_param where itemid = 203 and itemname = '右外灯'")),
              QStringLiteral("6"));
}

}  // namespace
}  // namespace dbkeel::test
