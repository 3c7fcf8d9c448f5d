#include "dictionaries/BasicInfoList.h"
#include "dictionaries/OutlineItemEditor.h"
#include "platform/Gbk.h"
#include "tests/support/DictionaryFixture.h"

namespace dbkeel::test {
namespace {

const OutlineItem lamp{QStringLiteral("5"), QStringLiteral("前照灯"), QStringLiteral("否决项"),
                       QStringLiteral("灯光检查"), QStringLiteral("QZD")};

TEST(OutlineSql, SqlServerTexts)
{
    EXPECT_EQ(outlineLoadQuery(), QStringLiteral("select * from tb_id_eval order by pingdingid ;"));
    EXPECT_EQ(outlineExportQuery(), QStringLiteral("select * from tb_id_eval order by pingdingid "));
    EXPECT_EQ(outlineClearStatement(), QStringLiteral("delete  from tb_id_eval "));
    EXPECT_EQ(outlineSaveStatement(Dialect::SqlServer, lamp),
              QStringLiteral(
                  "if not exists( select * from tb_id_eval where pingdingid = '5' ) BEGIN insert into tb_id_eval("
                  "\t\t\t\t\tpingdingid,pingdingname,alias,remark,usetypeabout) values ( '5' , '前照灯' , 'QZD' , "
                  "'否决项', '灯光检查' ) END\tELSE BEGIN update tb_id_eval Set pingdingname\t\t\t\t\t\t\t='前照灯',"
                  "alias='QZD' , remark='否决项',usetypeabout='灯光检查' where pingdingid = 5 END ;"));
    EXPECT_EQ(outlineImportStatement(Dialect::SqlServer, lamp),
              QStringLiteral(
                  "if not exists( select * from tb_id_eval where pingdingid = 5 ) BEGIN insert into tb_id_eval("
                  "\t\t\t\t\tpingdingid,pingdingname,alias,remark,usetypeabout) values ( 5 , '前照灯' , 'QZD' ,"
                  "'否决项' , '灯光检查' ) END ELSE BEGIN update tb_id_eval Set pingdingname\t\t\t\t\t='前照灯',"
                  "alias='QZD',remark='否决项',usetypeabout='灯光检查'  where pingdingid = 5 END ;"));
}

class OutlineTest : public DictionaryFixture {
protected:
    OutlineItemEditor items;

    QString table()
    {
        return rows(QStringLiteral(
            "select pingdingid, pingdingname, remark, usetypeabout, alias from tb_id_eval order by pingdingid"));
    }
    QString file() const { return dir.filePath(QStringLiteral("OFFLINEPARAM.OFFLINEITEM")); }
    void importFrom(const QString &path, bool clear)
    {
        prompts.answerFile(path).answer(clear ? PromptButton::Ok : PromptButton::Cancel).answer(PromptButton::Ok);
        items.importFile();
    }
};

TEST_F(OutlineTest, EditsAreWrittenAtOnceByCode)
{
    run(QStringLiteral(
        "insert into tb_id_eval(pingdingid, pingdingname, remark, usetypeabout, alias) values ('5', '灯', '非否决项', '', '')"));
    items.load();
    EXPECT_FALSE(items.prepareEdit(1));
    ASSERT_TRUE(items.prepareEdit(0));
    EXPECT_EQ(outlineRecord().name, QStringLiteral("灯"));
    EXPECT_FALSE(outlineRecord().vetoing);
    outlineRecord() = OutlineRecord::of(lamp);
    items.finishEdit(0, true);
    EXPECT_EQ(table(), QStringLiteral("5,前照灯,否决项,灯光检查,QZD"));

    outlineRecord() = OutlineRecord::of(
        {QStringLiteral("7"), QStringLiteral("O'Neil喇叭"), QStringLiteral("非否决项"), {}, {}}, OutlineRecord::Insert);
    items.finishEdit(0, true);
    EXPECT_EQ(items.list().rowCount(), 2);
    EXPECT_EQ(items.list().itemText(1, 0), QStringLiteral("0"));
    EXPECT_EQ(table(), QStringLiteral("5,前照灯,否决项,灯光检查,QZD|7,O'Neil喇叭,非否决项,,"));

    outlineRecord().name = QStringLiteral("改");
    items.finishEdit(1, false);
    EXPECT_EQ(items.list().itemText(1, 2), QStringLiteral("O'Neil喇叭"));
}

// The editor offers two types; whatever type an item had, the edited item stores one of the two.
TEST_F(OutlineTest, TheEditedItemStoresItsTypeAsVetoingOrNot)
{
    const struct {
        const char *type;  // as stored before
        bool opensVetoing, chosenVetoing;
        const char *stored;
    } cases[] = {{"否决项", true, true, "否决项"},
                 {"非否决项", false, true, "否决项"},
                 {"", false, false, "非否决项"},
                 {"否决", false, false, "非否决项"}};
    for (const auto &c : cases) {
        run(QStringLiteral("delete from tb_id_eval"));
        run(QStringLiteral("insert into tb_id_eval(pingdingid, pingdingname, remark) values ('1', '灯', '%1')")
                .arg(QString::fromUtf8(c.type)));
        items.load();
        ASSERT_TRUE(items.prepareEdit(0));
        EXPECT_EQ(outlineRecord().vetoing, c.opensVetoing) << c.type;
        outlineRecord().vetoing = c.chosenVetoing;
        items.finishEdit(0, true);
        EXPECT_EQ(items.list().itemText(0, OutlineItemEditor::TypeColumn), QString::fromUtf8(c.stored));
        EXPECT_EQ(rows(QStringLiteral("select remark from tb_id_eval")), QString::fromUtf8(c.stored));
    }
}

TEST_F(OutlineTest, ExportWritesEveryItemInCodeOrder)
{
    prompts.answerFolder(dir.path()).answer(PromptButton::Ok);
    items.exportAll();
    EXPECT_EQ(readFileBytes(file()), QByteArray("[OFFLINE]\r\nNUM=0\r\n"));
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("文件已导出到:") + file());

    run(QStringLiteral("insert into tb_id_eval(pingdingid, pingdingname, remark, usetypeabout, alias) values "
                       "('7', '喇叭', '非否决项', NULL, 'LB'), ('5', '前照灯', '否决项', '灯光检查', 'QZD')"));
    prompts.answerFolder(dir.path()).answer(PromptButton::Ok);
    items.exportAll();
    EXPECT_EQ(
        fromGbk(readFileBytes(file())),
        (QStringLiteral(
            "[OFFLINE]\r\nNUM=2\r\nID_0=5\r\nVAL_0=前照灯\r\nALIAS_0=QZD\r\nTYPE_0=否决项\r\nREMARK_0=灯光检查\r\n"
            "ID_1=7\r\nVAL_1=喇叭\r\nALIAS_1=LB\r\nTYPE_1=非否决项\r\nREMARK_1=\r\n")));
    EXPECT_EQ(items.status().left(), QStringLiteral("导出完毕"));
}

TEST_F(OutlineTest, ImportWithAndWithoutClearing)
{
    writeFileBytes(file(),
                   toGbk(QStringLiteral("[OFFLINE]\r\nID_0=5\r\nVAL_0=前照灯\r\nTYPE_0=否决项\r\nREMARK_0=新说明\r\n"
                                        "ALIAS_0=QZD\r\nID_1=8\r\nVAL_1=雨刮\r\nNUM=5\r\n")));
    const QString empty = dir.filePath(QStringLiteral("empty.OFFLINEITEM"));
    writeFileBytes(empty, "[OFFLINE]\r\nNUM=0\r\n");
    const QString existing = QStringLiteral(
        "insert into tb_id_eval(pingdingid, pingdingname, remark, usetypeabout, alias) values "
        "('5', '灯', '非否决项', '', ''), ('6', '转向灯', '非否决项', '', '')");
    run(existing);

    importFrom(file(), false);
    EXPECT_EQ(table(), QStringLiteral("5,前照灯,否决项,新说明,QZD|6,转向灯,非否决项,,|8,雨刮,,,"));
    EXPECT_EQ(items.list().rowCount(), 3);
    EXPECT_EQ(items.status().left(), QStringLiteral("导入数据完毕"));
    const PromptCall &question = prompts.calls().at(1);
    EXPECT_EQ(question.caption, QStringLiteral("询问"));
    EXPECT_EQ(question.defaultButton, PromptButton::Cancel);
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("导入完毕"));

    importFrom(file(), true);
    EXPECT_EQ(table(), QStringLiteral("5,前照灯,否决项,新说明,QZD|8,雨刮,,,"));

    importFrom(empty, false);
    EXPECT_EQ(table(), QStringLiteral("5,前照灯,否决项,新说明,QZD|8,雨刮,,,"));
    importFrom(empty, true);
    EXPECT_EQ(table(), QString());
}

TEST_F(OutlineTest, ImportWithClearingThatFailsInTheMiddleLeavesEveryOldItem)
{
    run(QStringLiteral("insert into tb_id_eval(pingdingid, pingdingname, remark, usetypeabout, alias) values "
                       "('5', '灯', '非否决项', '', ''), ('6', '转向灯', '非否决项', '', '')"));
    run(QStringLiteral("create unique index one_name on tb_id_eval(pingdingname)"));  // the third item fails
    writeFileBytes(file(), toGbk(QStringLiteral("[OFFLINE]\r\nID_0=7\r\nVAL_0=喇叭\r\nID_1=8\r\nVAL_1=雨刮\r\n"
                                                "ID_2=9\r\nVAL_2=雨刮\r\nNUM=3\r\n")));
    prompts.answerFile(file()).answer(PromptButton::Ok).answer(PromptButton::Ok);  // clear; the error's message
    items.importFile();
    EXPECT_EQ(table(), QStringLiteral("5,灯,非否决项,,|6,转向灯,非否决项,,"));
    EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("错误"));
    EXPECT_TRUE(prompts.lastCall().text.contains(QStringLiteral("UNIQUE"))) << prompts.lastCall().text.toStdString();
    EXPECT_EQ(items.status().left(), withHistoryNote(QStringLiteral("导入失败")));
    EXPECT_EQ(items.list().rowCount(), 2);
}

// The item statement ends with the code unquoted: a code that is not a number fails there on SQL
// Server, and must fail on the embedded database too instead of storing an item without a code.
TEST_F(OutlineTest, AnItemWhoseCodeIsNotANumberIsShownAndNotStored)
{
    run(QStringLiteral(
        "insert into tb_id_eval(pingdingid, pingdingname, remark, usetypeabout, alias) values ('5', '灯', '非否决项', '', '')"));
    items.load();
    for (const char *code : {"", "A1"}) {
        outlineRecord() =
            OutlineRecord::of({QString::fromUtf8(code), QStringLiteral("喇叭"), QStringLiteral("非否决项"), {}, {}},
                              OutlineRecord::Insert);
        prompts.answer(PromptButton::Ok);
        items.finishEdit(0, true);
        EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("提示"));
        EXPECT_EQ(prompts.lastCall().text,
                  QStringLiteral("[Dbkeel]Conversion failed when converting the varchar value '%1' "
                                 "to data type int.")
                      .arg(QString::fromUtf8(code)));
        EXPECT_EQ(DbReady.load(), 0);
        DbReady = 1;
    }
    EXPECT_EQ(table(), QStringLiteral("5,灯,非否决项,,"));
    EXPECT_EQ(items.list().rowCount(), 3);  // the list keeps what was typed
}

TEST_F(OutlineTest, ImportWithTheDatabaseClosedStillEndsWithItsMessageAndStatus)
{
    writeFileBytes(file(), toGbk(QStringLiteral("[OFFLINE]\r\nID_0=5\r\nVAL_0=前照灯\r\nNUM=1\r\n")));
    sharedDb().close();
    for (bool clear : {false, true}) {
        importFrom(file(), clear);
        EXPECT_EQ(prompts.lastCall().text, QStringLiteral("导入完毕"));
        EXPECT_EQ(prompts.lastCall().icon, PromptIcon::Information);
        EXPECT_EQ(items.status().left(), QStringLiteral("导入数据完毕"));
    }
}

using BasicInfoTest = DictionaryFixture;

TEST_F(BasicInfoTest, ShowsTheFieldsAndNothingWithTheDatabaseClosed)
{
    run(QStringLiteral("insert into tb_id_info(infoid, infoword, infoname, reserved, status) values "
                       "(1002, 'HPHM', '号牌号码', 'INFO_1002', 1), (1001, 'HPZL', '号牌种类', 'INFO_1001', 0)"));
    BasicInfoList fields;
    fields.load();
    ASSERT_EQ(fields.list().rowCount(), 2);
    EXPECT_EQ(fields.list().itemText(0, 3), QStringLiteral("INFO_1001"));
    EXPECT_EQ(fields.list().textColor(1, 4), listcolor::Blue);
    EXPECT_EQ(fields.list().separatorText(), QStringLiteral("项目类型"));

    sharedDb().close();
    BasicInfoList closed;
    closed.load();
    EXPECT_EQ(closed.list().rowCount(), 0);
}

}  // namespace
}  // namespace dbkeel::test
