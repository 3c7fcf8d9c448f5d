// The vehicle-type table design: adding and storing definitions, deleting, the structure check on
// both tables, the structure file; and the output field matching file.

#include "platform/Profile.h"
#include "stats/OutputFieldEditor.h"
#include "stats/VehicleDesignEditor.h"
#include "tests/stats/StatsFixture.h"
#include "tests/support/TestSupport.h"

namespace dbkeel::test {
namespace {

class VehicleDesignTest : public StatsFixture {
protected:
    VehicleDesignEditor editor;

    void SetUp() override
    {
        StatsFixture::SetUp();
        run(QStringLiteral(
            "insert into tb_id_info (infoid, infoname) values (1005, '燃料种类'), (1082, '车辆类型');"
            "insert into tb_login_ini (infoid, infovalue_about) values (1005, '汽油'), (1005, '柴油');"
            "insert into tb_type_base_ini (ziduan, ziduanming, ziduanleixing, datatype) values "
            "('CLXH', '车辆型号', 1, 2), ('CLPP', '车辆品牌', 1, 2), ('CLLX', '车辆类型', 3, 2), "
            "('ZZL', '总质量', 1, 0), ('FDJXH', '发动机型号', 2, 2), ('RLZL', '燃料种类', 7, 2);"
            "insert into tb_type_fdj_ini (ziduan, ziduanming, ziduanleixing, datatype) values "
            "('FDJXH', '发动机型号', 1, 2), ('FDJPP', '品牌', 1, 2), ('PL', '排量', 1, 1), ('GL', '功率', 1, 1);"));
        editor.load();
        editor.chooseTable(0);
    }
    static QStringList dataColumns(const QString &table)
    {
        return firstColumn(QStringLiteral("select name from pragma_table_info('%1') order by cid").arg(table)).mid(1);
    }
    static FieldDefinition field(const QString &name, const QString &caption)
    {
        return {name, caption, QStringLiteral("编辑框"), QStringLiteral("字符串"), QString(), QString()};
    }
};

TEST_F(VehicleDesignTest, AManagerThatDoesNotShowLeavesNothingToPoll)
{
    const QRect area(0, 0, 400, 300);
    editor.openLibrary(buildBinDir() + QStringLiteral("/libtest_recording_component.so"), nullptr, area);
    EXPECT_FALSE(editor.showManager(area));  // its ExtShow refuses
    EXPECT_TRUE(editor.close());
}

TEST_F(VehicleDesignTest, ListsDefinitionsWithTextsForTheirCodesAndLinksWithTheirValues)
{
    EXPECT_EQ(editor.links(), (QStringList{"", "1005,燃料种类,", "1082,车辆类型,"}));
    ASSERT_EQ(editor.list().rowCount(), 6);
    EXPECT_EQ(editor.list().itemText(2, VehicleDesignEditor::StyleColumn), QStringLiteral("DropList"));
    EXPECT_EQ(editor.list().itemText(5, VehicleDesignEditor::StyleColumn), QString());  // code 7 is none of them
    editor.chooseLink(QStringLiteral("1005,燃料种类,"));
    EXPECT_EQ(editor.values(), (QStringList{"汽油", "柴油"}));
    EXPECT_EQ(editor.linkEntry(QStringLiteral("1082")), QStringLiteral("1082,车辆类型,"));
}

TEST_F(VehicleDesignTest, AddUpdatesARowOfTheSameNameAndStoreNeverChangesAStoredCaption)
{
    editor.add(field(QStringLiteral("CLXH"), QStringLiteral("新标题")), QStringLiteral("1082,车辆类型,"));
    editor.add(field(QStringLiteral("HBDJ"), QStringLiteral("环保等级")), QString());
    ASSERT_EQ(editor.list().rowCount(), 7);
    EXPECT_EQ(editor.list().itemText(0, VehicleDesignEditor::CaptionColumn), QStringLiteral("新标题"));
    EXPECT_EQ(editor.list().itemText(0, VehicleDesignEditor::LinkColumn), QStringLiteral("1082"));
    EXPECT_TRUE(editor.list().itemText(0, VehicleDesignEditor::RemarkColumn).startsWith(QStringLiteral("修改:")));
    EXPECT_TRUE(editor.list().itemText(6, VehicleDesignEditor::RemarkColumn).startsWith(QStringLiteral("新增:")));
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    editor.store();
    EXPECT_EQ(messages(), (QStringList{"更新成功!", "校验表成功!"}));
    EXPECT_EQ(rows(QStringLiteral("select ziduanming, itemini from tb_type_base_ini where ziduan = 'CLXH'")),
              QStringLiteral("车辆型号,1082"));
    EXPECT_EQ(rows(QStringLiteral(
                  "select ziduanming, ziduanleixing, datatype from tb_type_base_ini where ziduan = 'HBDJ'")),
              QStringLiteral("环保等级,1,2"));
    EXPECT_EQ(dataColumns("tb_type_vehicle").last(), QStringLiteral("HBDJ"));  // the check added its column
}

TEST_F(VehicleDesignTest, StoreWithAnEmptyListFails)
{
    editor.list().deleteAllRows();
    prompts.answer(PromptButton::Ok);
    editor.store();
    EXPECT_EQ(messages(), QStringList{QStringLiteral("更新失败!")});
}

TEST_F(VehicleDesignTest, StructureCheckAddsExactlyTheMissingColumnAndDropsAnExtraOne)
{
    run(QStringLiteral("insert into tb_type_base_ini (ziduan) values ('hbdj');"  // lower case: added in upper case
                       "ALTER TABLE tb_type_fdjxh ADD COLUMN Extra TEXT;"));
    EXPECT_TRUE(editor.checkStructure());
    EXPECT_EQ(dataColumns("tb_type_vehicle"), (QStringList{"CLXH", "CLPP", "CLLX", "ZZL", "FDJXH", "RLZL", "HBDJ"}));
    EXPECT_EQ(dataColumns("tb_type_fdjxh"), (QStringList{"FDJXH", "FDJPP", "PL", "GL"}));
}

TEST_F(VehicleDesignTest, StructureCheckIgnoresLetterCaseAndRenames)
{
    run(QStringLiteral("update tb_type_base_ini set ziduan = 'clxh' where ziduan = 'CLXH';"
                       "update tb_type_fdj_ini set ziduan = 'RENAMED' where ziduan = 'GL';"));
    EXPECT_TRUE(editor.checkStructure());
    EXPECT_EQ(dataColumns("tb_type_vehicle").size(), 6);
    EXPECT_EQ(dataColumns("tb_type_fdjxh"), (QStringList{"FDJXH", "FDJPP", "PL", "GL"}));
}

TEST_F(VehicleDesignTest, AFieldNameThatIsNoColumnNameFailsTheCheckAndChangesNothing)
{
    run(QStringLiteral("insert into tb_type_base_ini (ziduan) values ('X varchar(1); drop table tb_user');"));
    prompts.answer(PromptButton::Ok);
    EXPECT_FALSE(editor.checkStructure());
    EXPECT_TRUE(messages().value(0).startsWith(QStringLiteral("添加表字段失败:")));
    EXPECT_EQ(dataColumns("tb_type_vehicle").size(), 6);
}

TEST_F(VehicleDesignTest, DeleteAsksAndRemovesTheDefinitionButNotYetTheColumn)
{
    prompts.answer(PromptButton::No);
    editor.deleteField(1);
    EXPECT_EQ(editor.list().rowCount(), 6);
    prompts.answer(PromptButton::Yes);
    editor.deleteField(1);
    EXPECT_EQ(editor.list().rowCount(), 5);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_type_base_ini where ziduan = 'CLPP'")), QStringLiteral("0"));
    EXPECT_TRUE(dataColumns("tb_type_vehicle").contains(QStringLiteral("CLPP")));
    EXPECT_EQ(prompts.calls().front().defaultButton, PromptButton::No);
}

TEST_F(VehicleDesignTest, StructureFileCarriesTheDefinitionsToAnotherDatabase)
{
    prompts.answerFolder(dir.path() + QLatin1Char('/')).answer(PromptButton::Ok);
    editor.exportStructure();
    const QString file = structureFilePath(dir.path());
    EXPECT_EQ(messages().last(), QStringLiteral("导出成功,%1").arg(file));
    const ProfileFile written(file);
    EXPECT_EQ(written.readString("VEHICLE", "SUM", "", 10), QStringLiteral("6"));
    EXPECT_EQ(written.readString("VEHICLE", "2", "", 200), QStringLiteral("CLLX,车辆类型,3,,2,"));
    EXPECT_EQ(written.readString("FDJXH", "3", "", 200), QStringLiteral("GL,功率,1,,1,"));

    run(QStringLiteral("delete from tb_type_base_ini; delete from tb_type_fdj_ini where ziduan = 'GL';"));
    ProfileFile edited(file);
    edited.writeString("VEHICLE", "1", "-1");  // a skipped entry
    ASSERT_TRUE(edited.save());
    prompts.answerFile(file).answer(PromptButton::Ok);
    editor.importStructure();
    EXPECT_EQ(messages().last(), QStringLiteral("导入成功!"));
    EXPECT_EQ(firstColumn(QStringLiteral("select ziduan from tb_type_base_ini order by ID")),
              (QStringList{"CLXH", "CLLX", "ZZL", "FDJXH", "RLZL"}));
    EXPECT_EQ(rows(QStringLiteral(
                  "select ziduanming, ziduanleixing, datatype from tb_type_fdj_ini where ziduan = 'GL'")),
              QStringLiteral("功率,1,1"));
}

// A caption with a comma would shift the fields after it on reading back: the export refuses it and
// leaves the file as it was.
TEST_F(VehicleDesignTest, StructureExportRefusesACaptionWithAComma)
{
    const QString file = structureFilePath(dir.path());
    writeFileBytes(file, "[old]\r\n");
    run(QStringLiteral("update tb_type_fdj_ini set ziduanming = '总质量,kg' where ziduan = 'GL';"));
    prompts.answerFolder(dir.path()).answer(PromptButton::Ok);
    editor.exportStructure();
    EXPECT_EQ(messages().last(),
              QStringLiteral("导出失败![FDJXH]第3条记录的\"总质量,kg\"含有逗号、换行或无法保存的字符"));
    EXPECT_EQ(readFileBytes(file), "[old]\r\n");
}

TEST(VehicleDesignStatements, TheStoreStatementIsTheInstallationsText)
{
    EXPECT_EQ(definitionStoreStatement(Dialect::SqlServer, "tb_type_base_ini",
                                       {"CLXH", "型号", "编辑框", "字符串", "1082", ""}),
              QStringLiteral("if not exists(select * from tb_type_base_ini where ziduan = 'CLXH')BEGIN insert into "
                             "tb_type_base_ini \t\t(ziduan,ziduanming,ziduanleixing,itemini,datatype)values( 'CLXH' , "
                             "'型号' , 1 , '1082' , 2 ) \t\tEND BEGIN update tb_type_base_ini set itemini = '1082' , "
                             "ziduanleixing = '1' , datatype = '2'  where ziduan = 'CLXH' END "));
    EXPECT_EQ(addDataColumnStatement(Dialect::SqlServer, "tb_type_vehicle", "hbdj").text,
              QStringLiteral(
                  "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[tb_type_vehicle]') and "
                  "\t\tOBJECTPROPERTY(id, N'IsUserTable') = 1) BEGIN Alter table tb_type_vehicle add HBDJ "
                  "varchar(50) END"));
    EXPECT_EQ(dropDataColumnStatement(Dialect::SqlServer, "tb_type_vehicle", "hbdj").text,
              QStringLiteral(
                  "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[tb_type_vehicle]') and "
                  "\t\tOBJECTPROPERTY(id, N'IsUserTable') = 1) BEGIN Alter table tb_type_vehicle drop column "
                  "HBDJ END"));
}

class OutputFieldTest : public StatsFixture {
protected:
    OutputFieldEditor editor;
    QString file;

    void SetUp() override
    {
        StatsFixture::SetUp();
        run(QStringLiteral(
            "insert into tb_id_paramid (paramid, paramname) values (3001, '左轮'), (3002, '右轮'), (3002, '右轮');"));
        file = path(QStringLiteral("DevOutNetExchangeField.ini"));
        writeFileBytes(file, "[FIELD_PARAMID]\r\n3001=zlzdl,zlpd,tb_out\r\n9999=keep,me,here\r\n");
        editor.load(file);
    }
    QString cells(int row)
    {
        QStringList texts;
        for (int column = 0; column < 5; ++column)
            texts << editor.list().itemText(row, column);
        return texts.join(QLatin1Char('|'));
    }
};

TEST_F(OutputFieldTest, ListsEveryParameterOnceWithItsAssociation)
{
    ASSERT_EQ(editor.list().rowCount(), 2);
    EXPECT_EQ(cells(0), QStringLiteral("3001|左轮|tb_out|zlzdl|zlpd"));
    EXPECT_EQ(cells(1), QStringLiteral("3002|右轮|||"));
}

TEST_F(OutputFieldTest, AClickBesideTheRowsKeepsTheChosenRowForTheNextStage)
{
    editor.choose(1);
    for (const int beside : {-1, 2})
        EXPECT_EQ(editor.choose(beside).table, QString());
    EXPECT_EQ(editor.chosenRow(), 1);
    editor.stage({QStringLiteral("tb_out"), QStringLiteral("ylzdl"), QStringLiteral("ylpd")});
    EXPECT_EQ(cells(0), QStringLiteral("3001|左轮|tb_out|zlzdl|zlpd"));
    EXPECT_EQ(cells(1), QStringLiteral("3002|右轮|tb_out|ylzdl|ylpd"));
}

TEST_F(OutputFieldTest, StagedAssociationsAreSavedForEveryParameterAndOtherKeysStay)
{
    const OutputAssociation chosen = editor.choose(0);
    EXPECT_EQ(chosen.table, QStringLiteral("tb_out"));
    editor.choose(1);
    editor.stage({chosen.table, QStringLiteral("ylzdl"), QStringLiteral("ylpd")});
    prompts.answer(PromptButton::Yes).answer(PromptButton::Ok);
    editor.save();
    EXPECT_EQ(messages().last(), QStringLiteral("已保存!"));
    EXPECT_EQ(prompts.calls().front().defaultButton, PromptButton::No);
    EXPECT_EQ(readFileBytes(file),
              QByteArray(
                  "[FIELD_PARAMID]\r\n3001=zlzdl,zlpd,tb_out\r\n9999=keep,me,here\r\n3002=ylzdl,ylpd,tb_out\r\n"));
}

TEST_F(OutputFieldTest, AfterClearingEveryKeyHoldsTwoCommas)
{
    editor.clearAssociations();
    prompts.answer(PromptButton::No);
    editor.save();  // No: nothing written
    EXPECT_EQ(readFileBytes(file), QByteArray("[FIELD_PARAMID]\r\n3001=zlzdl,zlpd,tb_out\r\n9999=keep,me,here\r\n"));
    prompts.answer(PromptButton::Yes).answer(PromptButton::Ok);
    editor.save();
    EXPECT_EQ(readFileBytes(file), QByteArray("[FIELD_PARAMID]\r\n3001=,,\r\n9999=keep,me,here\r\n3002=,,\r\n"));
}

}  // namespace
}  // namespace dbkeel::test
