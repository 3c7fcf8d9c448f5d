#include "core/AppConfig.h"
#include "dictionaries/SubIdEditor.h"
#include "dictionaries/SubIdTables.h"
#include "platform/Gbk.h"
#include "tests/support/DictionaryFixture.h"

#include <QFile>
#include <QJsonArray>

namespace dbkeel::test {
namespace {

TEST(SubIdTables, DefaultMainIdsAreTheTableOf289SubIdsIn290Statements)
{
    const QList<DefaultMainId> &defaults = defaultMainIds();
    ASSERT_EQ(defaults.size(), 290);
    QHash<int, int> place;  // sub-ID → index of its first statement
    for (int i = 0; i < defaults.size(); ++i) {
        place.insert(defaults.at(i).subId, place.value(defaults.at(i).subId, i));
        EXPECT_FALSE(defaults.at(i).mainName.isEmpty()) << defaults.at(i).mainId;
        EXPECT_EQ(defaults.at(i).subId / 10000, defaults.at(i).mainId / 10000) << defaults.at(i).subId;
    }
    EXPECT_EQ(place.size(), 289);
    // The statement written twice comes among those of 1082, with the same values.
    const int repeated = int(defaults.indexOf(DefaultMainId{10670030, 10670005, QStringLiteral("新车上户/注册")},
                                              place.value(10670030) + 1));
    ASSERT_GT(repeated, 0);
    EXPECT_EQ(defaults.at(repeated - 1).subId, 10820081);
    EXPECT_EQ(defaults.at(repeated + 1).subId, 10820083);

    const auto mainOf = [&](int subId) {
        return place.contains(subId) ? defaults.at(place.value(subId)) : DefaultMainId{};
    };
    const struct {
        int subId, mainId;
        const char *mainName;
    } mappings[] = {{10820050, 10820007, "半挂列车"},
                    {10050003, 10050001, "汽油"},
                    {10050002, 10050002, "柴油"},
                    {10090006, 10090003, "四灯"},
                    {10670029, 10670001, "年检/申请检验合格证"},
                    {10821112, 0, ""},
                    {10100008, 0, ""},
                    {10820082, 0, ""},
                    {10820087, 0, ""},
                    {10820089, 0, ""},
                    {11470001, 0, ""}};
    for (const auto &m : mappings) {
        EXPECT_EQ(mainOf(m.subId).mainId, m.mainId) << m.subId;
        EXPECT_EQ(mainOf(m.subId).mainName, QString::fromUtf8(m.mainName)) << m.subId;
    }
    // Info ID by info ID in the table's order.
    EXPECT_EQ(defaults.first().subId, 10050001);
    EXPECT_EQ(defaults.last().subId, 11830004);
}

TEST(SubIdTables, StandardValuesInListOrder)
{
    int fields = 0;
    for (int infoId = 1000; infoId < 1200; ++infoId)
        fields += mainValues(infoId).isEmpty() ? 0 : 1;
    EXPECT_EQ(fields, 23);
    EXPECT_EQ(mainValues(1069).first().name, QStringLiteral("5020系列"));
    EXPECT_EQ(mainValues(1069).first().mainId, 10690042);
    EXPECT_EQ(mainValues(1067).at(27).name, QStringLiteral("摩托安检"));
    EXPECT_EQ(mainValues(1067).size(), 33);
    EXPECT_EQ(mainIdOf(1147, QStringLiteral("有")), 11470001);
    EXPECT_EQ(mainIdOf(1005, QStringLiteral("有")), -1);
    EXPECT_TRUE(mainValues(1001).isEmpty());
}

TEST(SubIdSql, SqlServerTexts)
{
    const SubIdValue value{QStringLiteral("1005"), QStringLiteral("燃料种类"), QStringLiteral("10050011"),
                           QStringLiteral("O'油"), QStringLiteral("汽油"),     QStringLiteral("10050001")};
    const QString cases[][2] = {
        {subIdListQuery(), "select * from tb_login_ini order by infoid , infosubid ; "},
        {subIdListQuery(QStringLiteral("1005")), "select * from tb_login_ini where infoid = 1005 order by infosubid "},
        {fieldNameQuery({}), "select infoid,infoname  from tb_id_info order by infoid ;"},
        {fieldNameQuery(QStringLiteral("种")),
         "select infoid,infoname  from tb_id_info where infoname like '%种%' order by infoid ;"},
        {subIdInsertStatement(value),
         "insert into tb_login_ini( infoid , infoname_about,infosubid,infovalue_about , subbyname , subbynameid )values( "
         "1005 , '燃料种类' , 10050011 , 'O''油', '汽油' , '10050001' ) ;"},
        {subIdDeleteStatement(QStringLiteral("10050011")), "delete from tb_login_ini where infosubid = 10050011 ; "},
        {mainAttributeStatement(QStringLiteral("汽油"), QStringLiteral("10050001"), QStringLiteral("1005"),
                                QStringLiteral("10050011")),
         "update tb_login_ini  set subbyname = '汽油' , subbynameid = '10050001' where   infoid = 1005 and infosubid = "
         "10050011;"},
        {loginFlagStatement(true, 7), "update tb_login_ini set sametypeid = '1' where ID = 7 "},
        {loginFlagStatement(false, 7), "update tb_login_ini set sametypeid = '0' where ID = 7 "},
        {defaultMainIdStatement(defaultMainIds().first()),
         "update tb_login_ini set subbyname='汽油',subbynameid='10050001' where infosubid=10050001 "},
        {transInfoExportQuery({}), "select infoid , infoname_about, infosubid , infovalue_about, subbyname , "
                                   "subbynameid from tb_login_ini order by infoid ;"},
        {transInfoExportQuery(QStringLiteral("燃料")),
         "select infoid , infoname_about, infosubid , infovalue_about, subbyname , subbynameid from tb_login_ini where "
         "infoname_about like '燃料%' order by infoid ;"},
        {transInfoImportStatement(Dialect::SqlServer, value),
         "if not exists  (SELECT * FROM tb_login_ini where infoid = 1005  and infosubid = 10050011 ) \t\t\t\t\t\tbegin "
         "INSERT INTO tb_login_ini \t\t\t\t\t\t (infoid, infoname_about, infosubid, infovalue_about, subbyname, "
         "subbynameid) \t\t\t\t\t\t  VALUES (1005,'燃料种类', 10050011, 'O''油', '汽油', '10050001') end\t\t\t\t\t else "
         "\t\t\t\t\t\tbegin update tb_login_ini set subbyname = '汽油', subbynameid = '10050001' where infoid = 1005  and "
         "infosubid = 10050011 end; "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c[0], c[1]);
}

// SubIdRowDialog's "确定" for field 1005.
TEST(SubIdEntryTest, SubIdRangeAndValue)
{
    ScriptedPrompt prompts;
    const QString range = QStringLiteral("编号范围错误,正确范围应该在10050001--10059999之间");
    const struct {
        const char *subId, *value, *mainName;
        SubIdEntry entry;
        const char *message, *mainId;
    } cases[] = {{"10059999", "乙醇汽油", "乙醇", SubIdEntry::Accepted, nullptr, "10050008"},
                 {"10050001", "汽油", "", SubIdEntry::Accepted, nullptr, "-1"},
                 {"10050002", "汽油", "煤油", SubIdEntry::Accepted, nullptr, "-1"},
                 {"10050000", "汽油", "汽油", SubIdEntry::SubIdOutOfRange, "range", nullptr},
                 {"10060000", "汽油", "汽油", SubIdEntry::SubIdOutOfRange, "range", nullptr},
                 {"", "汽油", "汽油", SubIdEntry::SubIdOutOfRange, "range", nullptr},
                 {"10050003", "", "汽油", SubIdEntry::ValueEmpty, "信息不能为空!", nullptr}};
    for (const auto &c : cases) {
        subIdRecord() = {QStringLiteral("1005"), QStringLiteral("10050004"), {}, {}, {}, {}, SubIdRecord::Add};
        if (c.message)
            prompts.answer(PromptButton::Ok);
        EXPECT_EQ(enterSubId(QString::fromUtf8(c.subId), QString::fromUtf8(c.value), QString::fromUtf8(c.mainName)),
                  c.entry)
            << c.subId;
        if (c.message) {
            EXPECT_EQ(prompts.lastCall().text, qstrcmp(c.message, "range") == 0 ? range : QString::fromUtf8(c.message));
            EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("提示"));
            EXPECT_EQ(prompts.lastCall().icon, PromptIcon::Exclamation);
            EXPECT_TRUE(subIdRecord().subId.isEmpty());
        } else {
            EXPECT_EQ(subIdRecord().subId, QString::fromUtf8(c.subId));
            EXPECT_EQ(subIdRecord().mainName, QString::fromUtf8(c.mainName));
            EXPECT_EQ(subIdRecord().mainId, QString::fromUtf8(c.mainId));
        }
    }
}

TEST(SubIdEntryTest, AValueKeepsAtMost64GbkBytesAndNeverSplitsACharacter)
{
    const QString x64(64, u'x'), che32(32, u'车');
    const struct {
        QString typed, kept;
    } cases[] = {{x64, x64},
                 {x64 + u'x', x64},
                 {che32, che32},
                 {che32 + u'x', che32},
                 {u'x' + che32, u'x' + che32.left(31)}};
    for (const auto &c : cases) {
        subIdRecord() = {QStringLiteral("1005"), QStringLiteral("10050004"), {}, {}, {}, {}, SubIdRecord::Add};
        ASSERT_EQ(enterSubId(QStringLiteral("10050009"), c.typed, QString()), SubIdEntry::Accepted);
        EXPECT_EQ(subIdRecord().value, c.kept) << c.typed.toStdString();
    }
}

class SubIdTest : public DictionaryFixture {
protected:
    SubIdEditor editor;

    void SetUp() override
    {
        DictionaryFixture::SetUp();
        UserLevel = 1;
        // 1023 is never offered; 1034 (protected) comes first.
        run(QStringLiteral(
            "insert into tb_id_info(infoid, infoname) values (1034, '车身颜色保护'), (1005, '燃料种类'), "
            "(1023, '隐藏字段'), (1010, '车身颜色'), (1082, '车辆类型'), (1147, '有无')"));
        seedValues();
    }
    static void seedValues()
    {
        run(QStringLiteral(
            "insert into tb_login_ini(infoid, infoname_about, infosubid, infovalue_about, subbyname, subbynameid, "
            "sametypeid) values (1005, '燃料种类', 10050001, '汽油', '汽油', '10050001', '1'), "
            "(1005, '燃料种类', 10050003, '天然气', '', '-1', '0'), (1010, '车身颜色', 10100008, '银', '蓝', '10100008', '1'), "
            "(1034, '车身颜色保护', 10340001, '保护值', '', '-1', '0'), (1082, '车辆类型', 10820050, '半挂', '', '-1', '1'), "
            "(1147, '有无', 11470001, '有', '有', '11470001', '0')"));
    }
    void TearDown() override
    {
        UserLevel = 0;
        DictionaryFixture::TearDown();
    }
    QStringList column(int c) const
    {
        QStringList texts;
        for (int row = 0; row < editor.list().rowCount(); ++row)
            texts << editor.list().itemText(row, c);
        return texts;
    }
    int rowOf(const char *subId) const { return int(column(SubIdEditor::SubIdColumn).indexOf(QLatin1String(subId))); }
    QString table()
    {
        return rows(QStringLiteral("select infoid, infosubid, infovalue_about, subbyname, subbynameid, sametypeid from "
                                   "tb_login_ini order by infosubid"));
    }
    // Adds through SubIdRowDialog's record as its "确定" leaves it.
    void add(const char *subId, const char *value, const char *mainName)
    {
        ASSERT_TRUE(editor.prepareAdd());
        ASSERT_EQ(enterSubId(QLatin1String(subId), QString::fromUtf8(value), QString::fromUtf8(mainName)),
                  SubIdEntry::Accepted);
        editor.finishAdd(true);
    }
    QString transInfo() const { return dir.filePath(QStringLiteral("TRANSINFO.TRANSINFO")); }
};

// Right after opening the list holds every field's values while the drop-down shows the first name; "新增"
// is enabled even for a protected first field and suggests the largest sub-ID of all fields plus 1.
TEST_F(SubIdTest, OpeningListsEveryValueUnderTheFirstFieldName)
{
    run(QStringLiteral("delete from tb_id_info where infoid < 1034"));
    editor.open();
    EXPECT_EQ(editor.fieldNames(),
              (QStringList{QStringLiteral("车身颜色保护"), QStringLiteral("车辆类型"), QStringLiteral("有无")}));
    EXPECT_EQ(editor.currentField(), QStringLiteral("车身颜色保护"));
    EXPECT_TRUE(editor.canAdd());
    EXPECT_EQ(column(SubIdEditor::SubIdColumn),
              (QStringList{"10050001", "10050003", "10100008", "10340001", "10820050", "11470001"}));
    EXPECT_EQ(column(SubIdEditor::IdColumn), (QStringList{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(editor.list().itemText(0, SubIdEditor::ValueColumn), QStringLiteral("汽油"));
    EXPECT_FALSE(editor.list().itemText(0, SubIdEditor::InsertDateColumn).isEmpty());
    EXPECT_TRUE(editor.list().isChecked(0));
    EXPECT_FALSE(editor.list().isChecked(1));
    EXPECT_EQ(editor.list().textColor(0, 3), listcolor::Blue);

    ASSERT_TRUE(editor.prepareAdd());
    EXPECT_EQ(subIdRecord().infoId, QStringLiteral("1034"));
    EXPECT_EQ(subIdRecord().suggestedSubId, QStringLiteral("11470002"));
    prompts.answer(PromptButton::Ok);
    EXPECT_EQ(enterSubId(subIdRecord().suggestedSubId, QStringLiteral("值"), {}), SubIdEntry::SubIdOutOfRange);
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("编号范围错误,正确范围应该在10340001--10349999之间"));
}

TEST_F(SubIdTest, ChoosingAndFilteringFields)
{
    editor.open();
    editor.chooseField(QStringLiteral("车身颜色保护"));
    EXPECT_FALSE(editor.canAdd());
    EXPECT_EQ(column(SubIdEditor::SubIdColumn), QStringList{"10340001"});
    editor.chooseField(QStringLiteral("车身颜色"));
    EXPECT_TRUE(editor.canAdd());
    EXPECT_EQ(column(SubIdEditor::SubIdColumn), QStringList{"10100008"});

    // The filter refills the names only; no name is shown afterwards, so "新增" finds no field.
    editor.filterFields(QStringLiteral("颜色"));
    EXPECT_EQ(editor.fieldNames(), (QStringList{QStringLiteral("车身颜色"), QStringLiteral("车身颜色保护")}));
    EXPECT_EQ(editor.currentField(), QString());
    EXPECT_EQ(column(SubIdEditor::SubIdColumn), QStringList{"10100008"});
    EXPECT_FALSE(editor.prepareAdd());
    editor.filterFields(QStringLiteral("隐藏"));
    EXPECT_TRUE(editor.fieldNames().isEmpty());
    editor.filterFields(QStringLiteral("'"));
    EXPECT_TRUE(editor.fieldNames().isEmpty());
    editor.filterFields({});
    EXPECT_EQ(editor.fieldNames().size(), 5);
}

TEST_F(SubIdTest, AddingStoresAtOnceAndRefusesAListedSubId)
{
    run(QStringLiteral("insert into tb_id_info(infoid, infoname) values (1009, '前照灯制')"));
    editor.open();
    editor.chooseField(QStringLiteral("前照灯制"));
    ASSERT_TRUE(editor.prepareAdd());
    EXPECT_EQ(subIdRecord().suggestedSubId, QStringLiteral("10090001"));  // the field has no value yet
    EXPECT_EQ(subIdRecord().mode, SubIdRecord::Add);
    editor.finishAdd(false);
    EXPECT_EQ(editor.list().rowCount(), 0);

    add("10090001", "两灯制", "两灯");
    add("10090002", "O'灯", "");
    ASSERT_EQ(editor.list().rowCount(), 2);
    EXPECT_EQ(editor.list().itemText(1, SubIdEditor::IdColumn), QStringLiteral("新增"));
    EXPECT_EQ(editor.list().itemText(1, SubIdEditor::FieldNameColumn), QStringLiteral("前照灯制"));
    EXPECT_EQ(editor.list().itemText(1, SubIdEditor::MainIdColumn), QStringLiteral("-1"));
    EXPECT_EQ(editor.list().textColor(1, 0), listcolor::Green);
    EXPECT_EQ(rows(QStringLiteral("select infoid, infoname_about, infosubid, infovalue_about, subbyname, subbynameid "
                                  "from tb_login_ini where infoid = 1009 order by infosubid")),
              QStringLiteral("1009,前照灯制,10090001,两灯制,两灯,10090002|1009,前照灯制,10090002,O'灯,,-1"));

    prompts.answer(PromptButton::Ok);
    add("10090002", "再次", "");
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("该SUB编号已经存在请重新设置"));
    EXPECT_EQ(editor.list().rowCount(), 2);

    // With the database gone the row is listed all the same.
    sharedDb().close();
    add("10090003", "四灯制", "四灯");
    EXPECT_EQ(editor.list().rowCount(), 3);
    openDatabase(dir.filePath(QStringLiteral("test.db")));
}

TEST_F(SubIdTest, MainAttributeByRightClick)
{
    editor.open();
    const int row = rowOf("10050003");
    EXPECT_FALSE(editor.prepareMainAttribute(-1));
    ASSERT_TRUE(editor.prepareMainAttribute(row));
    EXPECT_EQ(subIdRecord().mode, SubIdRecord::ChangeMainAttribute);
    EXPECT_EQ(subIdRecord().subId, QStringLiteral("10050003"));
    EXPECT_EQ(subIdRecord().value, QStringLiteral("天然气"));
    ASSERT_EQ(enterSubId(subIdRecord().subId, QStringLiteral("改过的文字"), QStringLiteral("天然气")),
              SubIdEntry::Accepted);
    editor.finishMainAttribute(row, true);
    EXPECT_EQ(editor.list().itemText(row, SubIdEditor::MainIdColumn), QStringLiteral("10050003"));
    EXPECT_EQ(editor.list().textColor(row, 0), listcolor::Green);
    // The value's text is not stored.
    EXPECT_EQ(rows(QStringLiteral(
                  "select infovalue_about, subbyname, subbynameid from tb_login_ini where infosubid = 10050003")),
              QStringLiteral("天然气,天然气,10050003"));
}

TEST_F(SubIdTest, DeletingOneValueFollowsProtectionAndUserLevel)
{
    const struct {
        int level;
        const char *subId;
        bool asked;
    } cases[] = {{1, "10340001", false}, {1, "10050003", true},  {2, "10050001", false},
                 {2, "10100008", true},  {2, "10340001", false}, {0, "10820050", true}};
    for (const auto &c : cases) {
        UserLevel = qint16(c.level);
        editor.open();
        const int row = rowOf(c.subId), before = editor.list().rowCount();
        const size_t calls = prompts.calls().size();
        if (c.asked)
            prompts.answer(PromptButton::Ok);
        editor.deleteValue(row);
        EXPECT_EQ(prompts.calls().size(), calls + (c.asked ? 1 : 0)) << c.subId;
        EXPECT_EQ(editor.list().rowCount(), before - (c.asked ? 1 : 0)) << c.subId;
        EXPECT_EQ(rowOf(c.subId) < 0, c.asked) << c.subId;
        EXPECT_EQ(firstColumn(QStringLiteral("select infosubid from tb_login_ini")).contains(QLatin1String(c.subId)),
                  !c.asked);
        if (c.asked) {
            EXPECT_EQ(prompts.lastCall().text, QStringLiteral("确定要删除该SUBID编号信息?确定(删除),取消"));
            EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("询问"));
            EXPECT_EQ(prompts.lastCall().defaultButton, PromptButton::Cancel);
        }
    }
    UserLevel = 2;
    editor.open();
    EXPECT_FALSE(editor.prepareMainAttribute(0));

    // Cancel keeps the value.
    UserLevel = 1;
    prompts.answer(PromptButton::Cancel);
    editor.deleteValue(0);
    EXPECT_EQ(editor.list().rowCount(), 3);
}

TEST_F(SubIdTest, DeletingAllShownIgnoresProtection)
{
    UserLevel = 2;
    editor.open();
    editor.chooseField(QStringLiteral("车身颜色保护"));
    prompts.answer(PromptButton::Cancel);
    editor.deleteAllShown();
    EXPECT_EQ(editor.list().rowCount(), 1);

    prompts.answer(PromptButton::Ok);
    editor.deleteAllShown();
    EXPECT_EQ(prompts.lastCall().text,
              QStringLiteral("确定要删除当前列表对应内容？删除后将无法恢复!!!\r\n确定(删除),取消"));
    EXPECT_EQ(editor.list().rowCount(), 0);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_login_ini where infoid = 1034")), QStringLiteral("0"));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_login_ini")), QStringLiteral("5"));
}

TEST_F(SubIdTest, CheckMarksDuplicatesAndRangeButNeverClearsRed)
{
    run(QStringLiteral("insert into tb_login_ini(infoid, infosubid, infovalue_about) values (1005, 10050001, '重复'), "
                       "(1001, 9999, '越界')"));
    run(QStringLiteral("update tb_login_ini set infosubid = NULL where infovalue_about = '有'"));
    editor.open();
    const int outside = rowOf("9999"), empty = rowOf(""), fine = rowOf("10100008");
    EXPECT_EQ(editor.list().textColor(outside, 0), listcolor::Red);
    EXPECT_EQ(editor.list().textColor(empty, 0), listcolor::Red);
    EXPECT_EQ(editor.list().textColor(fine, 0), listcolor::Blue);
    // A red row whose sub-ID was put right stays red; duplicates turn red.
    editor.list().setItemText(outside, SubIdEditor::SubIdColumn, QStringLiteral("10010001"));
    prompts.answer(PromptButton::Ok);
    EXPECT_FALSE(editor.check());
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("有重复SubID,请检查!"));
    EXPECT_EQ(editor.list().textColor(outside, 0), listcolor::Red);
    EXPECT_EQ(editor.list().textColor(rowOf("10050001"), 0), listcolor::Red);
    EXPECT_EQ(editor.list().textColor(fine, 0), listcolor::Blue);
    EXPECT_EQ(editor.status().left(), QStringLiteral("校验结束"));

    editor.chooseField(QStringLiteral("车身颜色"));
    EXPECT_TRUE(editor.check());
}

TEST_F(SubIdTest, LoginFlagsAreWrittenAsTicked)
{
    editor.open();
    editor.list().invertChecks();
    prompts.answer(PromptButton::Ok);
    editor.storeLoginFlags();
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("更新完毕"));
    EXPECT_EQ(prompts.lastCall().icon, PromptIcon::Information);
    EXPECT_EQ(firstColumn(QStringLiteral("select sametypeid from tb_login_ini order by ID")),
              (QStringList{"0", "1", "0", "1", "0", "1"}));
}

TEST_F(SubIdTest, DefaultMainIdsKeepWhatTheTableDoesNotName)
{
    editor.open();
    prompts.answer(PromptButton::Cancel);
    editor.applyDefaultMainIds();
    EXPECT_EQ(prompts.lastCall().text,
              QStringLiteral("确定要采用缺省主ID,一旦执行将无法恢复原有主ID配置,确定(继续),取消?"));
    EXPECT_EQ(rows(QStringLiteral("select subbyname from tb_login_ini where infosubid = 10050003")), QString());

    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    editor.applyDefaultMainIds();
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("已更新!!"));
    EXPECT_EQ(prompts.lastCall().icon, PromptIcon::None);
    EXPECT_EQ(rows(QStringLiteral("select infosubid, subbyname, subbynameid from tb_login_ini order by infosubid")),
              QStringLiteral("10050001,汽油,10050001|10050003,汽油,10050001|10100008,蓝,10100008|10340001,,-1|"
                             "10820050,半挂列车,10820007|11470001,有,11470001"));
    // The list is not reloaded.
    EXPECT_EQ(editor.list().itemText(rowOf("10050003"), SubIdEditor::MainNameColumn), QString());
}

TEST_F(SubIdTest, RefusedDefaultMainIdsAreNotReportedAsUpdated)
{
    editor.open();
    const QString before = table();
    run(QStringLiteral("alter table tb_login_ini rename column subbyname to renamed"));
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    editor.applyDefaultMainIds();
    EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("错误"));
    EXPECT_TRUE(prompts.lastCall().text.contains(QStringLiteral("subbyname"))) << prompts.lastCall().text.toStdString();
    EXPECT_FALSE(messages().contains(QStringLiteral("已更新!!")));
    run(QStringLiteral("alter table tb_login_ini rename column renamed to subbyname"));
    EXPECT_EQ(table(), before);
}

// Only fields of the export set whose main ID is above 1000: no value without a main attribute.
TEST_F(SubIdTest, ExportCarriesTheExportSetWithMainIds)
{
    run(QStringLiteral(
        "insert into tb_login_ini(infoid, infoname_about, infosubid, infovalue_about, subbyname, subbynameid) "
        "values (1012, '号牌种类', 10120002, '小型汽车', NULL, '10120001'), "
        "(1005, '燃料种类', 10050004, '乙醇', '乙醇', '1000')"));
    editor.open();
    prompts.answerFolder(dir.path() + QStringLiteral("/")).answer(PromptButton::Ok);
    editor.exportFile(false);
    EXPECT_EQ(prompts.calls().front().caption, QStringLiteral("请选择一个保存路径:"));
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("导出成功,文件在") + transInfo());
    EXPECT_EQ(prompts.lastCall().icon, PromptIcon::Information);
    EXPECT_EQ(fromGbk(readFileBytes(transInfo())),
              QStringLiteral(
                  "[TRANSINFO]\r\nINFOID-0=1005\r\nINFOIDABOUT-0=燃料种类\r\nINFOSUBID-0=10050001\r\n"
                  "INFOSUBIDABOUT-0=汽油\r\nINFOBYNAME-0=汽油\r\nINFOBYID-0=10050001\r\n"
                  "INFOID-1=1010\r\nINFOIDABOUT-1=车身颜色\r\nINFOSUBID-1=10100008\r\nINFOSUBIDABOUT-1=银\r\n"
                  "INFOBYNAME-1=蓝\r\nINFOBYID-1=10100008\r\n"
                  "INFOID-2=1012\r\nINFOIDABOUT-2=号牌种类\r\nINFOSUBID-2=10120002\r\nINFOSUBIDABOUT-2=小型汽车\r\n"
                  "INFOBYNAME-2=\r\nINFOBYID-2=10120001\r\nNUM=3\r\n"));

    // Only the field the drop-down shows (names beginning with it).
    QFile::remove(transInfo());
    editor.chooseField(QStringLiteral("车身颜色"));
    prompts.answerFolder(dir.path()).answer(PromptButton::Ok);
    editor.exportFile(true);
    const QString onlyColour = fromGbk(readFileBytes(transInfo()));
    EXPECT_TRUE(onlyColour.contains(QStringLiteral("INFOID-0=1010\r\n"))) << onlyColour.toStdString();
    EXPECT_TRUE(onlyColour.endsWith(QStringLiteral("NUM=1\r\n")));

    prompts.answerFolder({});
    editor.exportFile(false);
}

TEST_F(SubIdTest, ExportIntoAFreshDatabaseCarriesTheMainAttributes)
{
    editor.open();
    editor.chooseField(QStringLiteral("燃料种类"));
    add("10050011", "甲醇汽油", "甲醇");
    prompts.answerFolder(dir.path()).answer(PromptButton::Ok);
    editor.exportFile(true);

    openDatabase(dir.filePath(QStringLiteral("fresh.db")));
    run(schemaText());
    prompts.answerFile(transInfo()).answer(PromptButton::Ok);
    editor.importFile();
    EXPECT_EQ(prompts.calls().back().text, QStringLiteral("导入成功"));
    EXPECT_EQ(prompts.calls().at(prompts.calls().size() - 2).file.initialPath.endsWith(QStringLiteral("*.TRANSINFO")),
              true);
    EXPECT_EQ(rows(QStringLiteral("select infoid, infoname_about, infosubid, infovalue_about, subbyname, subbynameid "
                                  "from tb_login_ini order by infosubid")),
              QStringLiteral(
                  "1005,燃料种类,10050001,汽油,汽油,10050001|1005,燃料种类,10050011,甲醇汽油,甲醇,10050004"));
}

TEST_F(SubIdTest, ImportChangesOnlyTheMainAttributeOfAnExistingValue)
{
    writeFileBytes(transInfo(),
                   toGbk(QStringLiteral(
                       "[TRANSINFO]\r\nNUM=2147483647\r\nINFOID-0=1010\r\nINFOIDABOUT-0=别的名字\r\n"
                       "INFOSUBID-0=10100008\r\nINFOSUBIDABOUT-0=别的文字\r\nINFOBYNAME-0=棕\r\n"
                       "INFOBYID-0=10100009\r\nINFOID-1=1010\r\nINFOIDABOUT-1=车身颜色\r\n"
                       "INFOSUBID-1=10100009\r\nINFOSUBIDABOUT-1=香槟\r\nINFOBYNAME-1=黄\r\nINFOBYID-1=10100003\r\n")));
    prompts.answerFile(transInfo()).answer(PromptButton::Ok);
    editor.importFile();
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("导入成功"));
    EXPECT_EQ(rows(QStringLiteral(
                  "select infoname_about, infosubid, infovalue_about, subbyname, subbynameid, sametypeid "
                  "from tb_login_ini where infoid = 1010 order by infosubid")),
              QStringLiteral("车身颜色,10100008,银,棕,10100009,1|车身颜色,10100009,香槟,黄,10100003,"));
}

// A record the database refuses ends the import; the records before it stay.
TEST_F(SubIdTest, ImportStopsAtTheFirstRefusedRecord)
{
    writeFileBytes(transInfo(), toGbk(QStringLiteral("[TRANSINFO]\r\nNUM=3\r\nINFOID-0=1005\r\nINFOSUBID-0=10050020\r\n"
                                                     "INFOBYID-0=10050001\r\nINFOID-1=燃料\r\nINFOSUBID-1=10050021\r\n"
                                                     "INFOID-2=1005\r\nINFOSUBID-2=10050022\r\n")));
    prompts.answerFile(transInfo()).answer(PromptButton::Ok);
    editor.importFile();
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("导入失败"));
    EXPECT_EQ(prompts.lastCall().icon, PromptIcon::Exclamation);
    EXPECT_EQ(DbReady, 0);
    EXPECT_EQ(firstColumn(
                  QStringLiteral("select infosubid from tb_login_ini where infoid = 1005 and infosubid >= 10050020")),
              QStringList{"10050020"});
}

// The import on the embedded database sends runs of records together. Whatever a file holds, it must
// leave the table as the records' own statements run one after the other leave it (row IDs included) and
// stop at the same record; each case is imported and compared with those statements run on a second
// database that starts the same. Runs hold 500 records: the long cases span three of them.
TEST_F(SubIdTest, ImportLeavesWhatTheRecordsOwnStatementsLeave)
{
    const auto fuels = [](int first, int count) {
        QList<SubIdValue> values;
        for (int n = first; n < first + count; ++n)
            values.append({QStringLiteral("1005"), QStringLiteral("燃料种类"), QString::number(10050000 + n),
                           QStringLiteral("燃料%1").arg(n), QStringLiteral("主%1").arg(n),
                           QString::number(10050000 + n)});
        return values;
    };
    const auto value = [](const char *infoId, const char *subId, const char *text, const char *mainName) {
        return SubIdValue{QString::fromUtf8(infoId), QStringLiteral("字段"),      QString::fromUtf8(subId),
                          QString::fromUtf8(text),   QString::fromUtf8(mainName), QStringLiteral("1")};
    };
    const QString refuseAdding = QStringLiteral(
        "create trigger refuse before insert on tb_login_ini when new.infosubid = 10050700 begin "
        "select raise(abort, 'refused'); end");
    const QString refuseReplacing = QStringLiteral(
        "create trigger refuse before update on tb_login_ini when new.subbyname = '拒绝' begin "
        "select raise(abort, 'refused'); end");
    const QString presentTwice = QStringLiteral(
        "insert into tb_login_ini(infoid, infoname_about, infosubid, infovalue_about, subbyname, subbynameid) "
        "values (1005, '燃料种类', 10050600, '旧', '旧', '1'), (1005, '燃料种类', 10050800, '旧', '旧', '1'), "
        "(1005, '燃料种类', 10050001, '重复', '', '-1')");
    const struct {
        const char *what;
        QString setup;  // run on both databases after the fixture's rows
        QList<SubIdValue> records;
        bool refused;
    } cases[] = {
        {"present and missing values over three runs", presentTwice,
         fuels(1, 1200) + QList{value("1010", "10100008", "银", "灰")}, false},
        {"one key twice in a run, also spelled otherwise",
         {},
         {value("1005", "10050020", "甲", "一"), value("1010", "10100008", "银", "二"),
          value("+1005", " 010050020", "乙", "三"), value("1005", "10050021", "丙", "四"),
          value("1010", "10100008", "铜", "五"), value("1005", "10050020", "丁", "六")},
         false},
        {"refused when added in the middle of the second run", refuseAdding + u';' + presentTwice,
         fuels(1, 1200) + QList{value("1010", "10100008", "银", "灰")}, true},
        {"refused when its main attribute is replaced", refuseReplacing,
         fuels(1, 300) + QList{value("1010", "10100008", "银", "拒绝")} + fuels(301, 300), true},
        {"an info ID that is no number",
         {},
         fuels(1, 10) + QList{value("燃料", "10050021", "甲", "一")} + fuels(11, 10),
         true},
        {"a sub-ID beyond 64 bits",
         {},
         fuels(1, 10) + QList{value("1005", "100500000000000000000", "甲", "一")} + fuels(11, 10),
         true},
        {"keys next to the largest number",
         {},
         {value("1005", "9223372036854775807", "甲", "一"), value("1005", "-9223372036854775808", "乙", "二"),
          value("1005", "9223372036854775807", "丙", "三")},
         false},
    };
    const QString table = QStringLiteral("select ID, infoid, infoname_about, infosubid, infovalue_about, subbyname, "
                                         "subbynameid, sametypeid from tb_login_ini order by ID");
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto start = [&](const QString &name) {
            openDatabase(dir.filePath(name + QString::number(++n) + QStringLiteral(".db")));
            run(schemaText());
            seedValues();
            if (!c.setup.isEmpty())
                run(c.setup);
        };
        start(QStringLiteral("alone"));
        bool refused = false;
        {
            SqlTransaction transaction(sharedDb());
            for (const SubIdValue &v : c.records) {
                try {
                    sharedDb().exec(transInfoImportStatement(Dialect::Sqlite, v));
                } catch (const DbError &) {
                    refused = true;
                    break;
                }
            }
            transaction.commit();
        }
        ASSERT_EQ(refused, c.refused);
        const QString expected = rows(table);

        start(QStringLiteral("import"));
        const QString before = rows(table);
        QString file = QStringLiteral("[TRANSINFO]\r\nNUM=%1\r\n").arg(c.records.size());
        for (int k = 0; k < c.records.size(); ++k) {
            const SubIdValue &v = c.records.at(k);
            const QString keys[] = {QStringLiteral("INFOID"),     QStringLiteral("INFOIDABOUT"),
                                    QStringLiteral("INFOSUBID"),  QStringLiteral("INFOSUBIDABOUT"),
                                    QStringLiteral("INFOBYNAME"), QStringLiteral("INFOBYID")};
            const QString texts[] = {v.infoId, v.fieldName, v.subId, v.value, v.mainName, v.mainId};
            for (int i = 0; i < 6; ++i)
                file += QStringLiteral("%1-%2=%3\r\n").arg(keys[i], QString::number(k), texts[i]);
        }
        writeFileBytes(transInfo(), toGbk(file));
        const qsizetype kept = historyEntries().size();
        DbReady = 1;
        prompts.answerFile(transInfo()).answer(PromptButton::Ok);
        editor.importFile();
        EXPECT_EQ(prompts.lastCall().text, refused ? QStringLiteral("导入失败") : QStringLiteral("导入成功"));
        EXPECT_EQ(DbReady, refused ? 0 : 1);
        EXPECT_EQ(rows(table), expected);
        // The rows as they were are kept first (the columns of `table`: all but sametypename and insertdate).
        const QList<HistoryEntry> entries = historyEntries();
        ASSERT_EQ(entries.size(), kept + 1);
        EXPECT_EQ(entries.last().action, QStringLiteral("subid-import"));
        ASSERT_EQ(entries.last().tables.size(), 1);
        QStringList keptRows;
        for (const QJsonValue &row : entries.last().tables.first().rows) {
            QStringList columns;
            for (const QJsonValue &column : row.toArray())
                columns << column.toString();
            columns.removeAt(9);
            columns.removeAt(7);
            keptRows << columns.join(u',');
        }
        EXPECT_EQ(keptRows.join(u'|'), before);
    }
}

class SubIdDemoTest : public DictionaryFixture {
protected:
    SubIdEditor editor;
};

// On the demo installation: the default main IDs applied, a fuel added and exported, and the file imported
// into a fresh database with the main attributes.
TEST_F(SubIdDemoTest, DefaultsAddExportAndImportIntoAFreshDatabase)
{
    run(schemaText(QStringLiteral("demo-data.sql")));
    UserLevel = 1;
    editor.open();
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    editor.applyDefaultMainIds();
    editor.chooseField(QStringLiteral("燃料种类"));
    ASSERT_TRUE(editor.prepareAdd());
    EXPECT_EQ(subIdRecord().suggestedSubId, QStringLiteral("10050007"));
    ASSERT_EQ(enterSubId(subIdRecord().suggestedSubId, QStringLiteral("甲醇汽油"), QStringLiteral("甲醇")),
              SubIdEntry::Accepted);
    editor.finishAdd(true);
    prompts.answerFolder(dir.path()).answer(PromptButton::Ok);
    editor.exportFile(true);
    UserLevel = 0;

    const QString fuels = QStringLiteral("select infosubid, infovalue_about, subbyname, subbynameid from tb_login_ini "
                                         "where infoid = 1005 order by infosubid");
    const QString expected = QStringLiteral("10050001,汽油,汽油,10050001|10050002,柴油,柴油,10050002|"
                                            "10050003,天然气,汽油,10050001|10050004,液化石油气,汽油,10050001|"
                                            "10050005,油电混合,汽油,10050001|10050006,纯电动,汽油,10050001|"
                                            "10050007,甲醇汽油,甲醇,10050004");
    EXPECT_EQ(rows(fuels), expected);
    openDatabase(dir.filePath(QStringLiteral("fresh.db")));
    run(schemaText());
    prompts.answerFile(dir.filePath(QStringLiteral("TRANSINFO.TRANSINFO"))).answer(PromptButton::Ok);
    editor.importFile();
    EXPECT_EQ(rows(fuels), expected);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_login_ini")), QStringLiteral("7"));
}

}  // namespace
}  // namespace dbkeel::test
