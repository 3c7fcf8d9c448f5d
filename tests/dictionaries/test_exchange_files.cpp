#include "dictionaries/DictionaryEditor.h"
#include "platform/Gbk.h"
#include "screens/ExchangeFile.h"
#include "tests/support/DictionaryFixture.h"

#include <QFile>

namespace dbkeel::test {
namespace {

class ExchangeFileTest : public DictionaryFixture {
protected:
    QString folder() const { return dir.path(); }
    QString deviceFile() const { return dir.filePath(QStringLiteral("tb_id_devid.TBIDDEV")); }

    // Loads the editor and ticks the rows with the given codes.
    static void tick(DictionaryEditor &editor, const QStringList &codes)
    {
        editor.load();
        for (int row = 0; row < editor.list().rowCount(); ++row)
            editor.list().setChecked(row, codes.contains(editor.row(row).code));
    }
    // `withMessage`: the export ends with a message box, answered with OK.
    void exportTo(DictionaryEditor &editor, const QString &target, bool withMessage = false)
    {
        prompts.answerFolder(target);
        if (withMessage)
            prompts.answer(PromptButton::Ok);
        editor.exportTicked();
    }
    void importFrom(DictionaryEditor &editor, const QString &path, bool forced)
    {
        prompts.answerFile(path);
        if (forced)
            prompts.answer(PromptButton::Yes);
        editor.importFile(forced);
    }
    static QByteArray gbk(const char *utf8) { return toGbk(QString::fromUtf8(utf8)); }
};

TEST_F(ExchangeFileTest, ExportWritesTheTickedRowsAndMergesIntoAnEarlierFile)
{
    run(QStringLiteral("insert into tb_id_devid(devid, devname, devkeychar, res) values "
                       "(7, '灯光仪', 'DG', '使用'), (8, '侧滑台', 'CH', NULL), (9, '制动台', 'ZD', '新建')"));
    DictionaryEditor devices(deviceDictionary());

    tick(devices, {QStringLiteral("8")});
    exportTo(devices, folder() + QLatin1Char('/'));  // one trailing separator is stripped
    EXPECT_EQ(readFileBytes(deviceFile()), gbk("[tb_id_devid]\r\n0=侧滑台,8,CH,,\r\nNUM=1\r\n"));
    EXPECT_EQ(devices.status().left(), QStringLiteral("导出完毕"));

    tick(devices, {QStringLiteral("7"), QStringLiteral("9")});
    exportTo(devices, folder());
    EXPECT_EQ(readFileBytes(deviceFile()),
              gbk("[tb_id_devid]\r\n0=灯光仪,7,DG,使用,\r\nNUM=2\r\n1=制动台,9,ZD,新建,\r\n"));

    tick(devices, {QStringLiteral("8")});
    exportTo(devices, folder());
    EXPECT_EQ(readFileBytes(deviceFile()), gbk("[tb_id_devid]\r\n0=侧滑台,8,CH,,\r\nNUM=1\r\n1=制动台,9,ZD,新建,\r\n"));
}

TEST_F(ExchangeFileTest, ItemAndParameterRecordsHaveTheirOwnFields)
{
    run(QStringLiteral("insert into tb_id_itemid(itemid, itemname, res) values (210, '前照灯', '使用')"));
    run(QStringLiteral("insert into tb_id_paramid(paramid, paramname, res) values (5001, '远光强度', '使用')"));
    DictionaryEditor items(itemDictionary()), parameters(parameterDictionary());
    tick(items, {QStringLiteral("210")});
    tick(parameters, {QStringLiteral("5001")});
    exportTo(items, folder());
    exportTo(parameters, folder());
    EXPECT_EQ(readFileBytes(dir.filePath(QStringLiteral("tb_id_itemid.TBIDITEM"))),
              gbk("[tb_id_itemid]\r\n0=前照灯,210,使用,\r\nNUM=1\r\n"));
    EXPECT_EQ(readFileBytes(dir.filePath(QStringLiteral("tb_id_paramid.TBIDPAM"))),
              gbk("[tb_id_paramid]\r\n0=5001,远光强度,\r\nNUM=1\r\n"));
}

TEST_F(ExchangeFileTest, ExportRefusesWhatTheFileCannotCarry)
{
    run(QStringLiteral("insert into tb_id_devid(devid, devname, devkeychar, res) values (7, '灯,光', 'DG', '使用')"));
    DictionaryEditor devices(deviceDictionary());

    devices.load();
    exportTo(devices, folder(), true);
    EXPECT_EQ(prompts.lastCall().text, deviceDictionary().nothingTicked);
    EXPECT_EQ(prompts.lastCall().icon, PromptIcon::None);

    tick(devices, {QStringLiteral("7")});
    exportTo(devices, folder(), true);
    EXPECT_TRUE(prompts.lastCall().text.endsWith(QStringLiteral("灯,光")));
    EXPECT_EQ(devices.status().left(), QStringLiteral("导出失败"));
    EXPECT_FALSE(QFile::exists(deviceFile()));

    run(QStringLiteral("update tb_id_devid set devname = '灯光'"));
    tick(devices, {QStringLiteral("7")});
    exportTo(devices, dir.filePath(QStringLiteral("missing")), true);
    EXPECT_TRUE(prompts.lastCall().text.startsWith(QStringLiteral("导出失败:")));
    EXPECT_EQ(devices.status().left(), QStringLiteral("导出失败"));

    prompts.answerFolder(QString());  // cancelled: nothing at all
    devices.exportTicked();
}

TEST_F(ExchangeFileTest, PlainImportAddsMissingCodesAndForcedImportRenamesOnly)
{
    run(QStringLiteral(
        "insert into tb_id_devid(devid, devname, devkeychar, res, remark) values (7, '旧名', 'OLD', '使用', '注')"));
    writeFileBytes(deviceFile(), gbk("[tb_id_devid]\r\n0=新名,7,NEW,新建,\r\n1=O'Brien's,8,OB,新建,\r\nNUM=2\r\n"));
    DictionaryEditor devices(deviceDictionary());
    const QString query = QStringLiteral(
        "select devid, devname, devkeychar, res, remark from tb_id_devid order by devid");

    importFrom(devices, deviceFile(), false);
    EXPECT_EQ(rows(query), QStringLiteral("7,旧名,OLD,使用,注|8,O'Brien's,OB,新建,"));
    EXPECT_EQ(devices.list().rowCount(), 2);  // reloaded
    EXPECT_EQ(devices.status().left(), QStringLiteral("导入完毕"));
    const PromptCall &dialog = prompts.calls().front();
    EXPECT_EQ(dialog.file.filter, QStringLiteral("open files (*.TBIDDEV)|*.TBIDDEV|ALL files (*.*)|*.*||"));
    EXPECT_EQ(dialog.file.defaultExtension, QStringLiteral("txt"));
    EXPECT_TRUE(dialog.file.initialPath.endsWith(QStringLiteral("*.TBIDDEV")));

    prompts.answerFile(deviceFile()).answer(PromptButton::No);  // the forced question refused
    devices.importFile(true);
    EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("询问"));
    EXPECT_EQ(prompts.lastCall().defaultButton, PromptButton::No);
    EXPECT_EQ(rows(query), QStringLiteral("7,旧名,OLD,使用,注|8,O'Brien's,OB,新建,"));

    importFrom(devices, deviceFile(), true);
    EXPECT_EQ(rows(query), QStringLiteral("7,新名,OLD,使用,注|8,O'Brien's,OB,新建,"));
}

TEST_F(ExchangeFileTest, AForcedImportThatFailsInTheMiddleLeavesTheTableAsItWas)
{
    run(QStringLiteral("insert into tb_id_devid(devid, devname, devkeychar, res) values (7, '旧名', 'OLD', '使用')"));
    writeFileBytes(deviceFile(), gbk("[tb_id_devid]\r\n0=新名,7,NEW,,\r\n1=坏,x,X,,\r\n2=另一,9,AN,,\r\nNUM=3\r\n"));
    DictionaryEditor devices(deviceDictionary());
    prompts.answerFile(deviceFile())
        .answer(PromptButton::Yes)
        .answer(PromptButton::Ok);  // forced; the failure's message
    devices.importFile(true);
    EXPECT_EQ(rows(QStringLiteral("select devid, devname from tb_id_devid order by devid")), QStringLiteral("7,旧名"));
    EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("提示"));
    EXPECT_TRUE(prompts.lastCall().text.startsWith(QStringLiteral("导入失败,表未作任何修改:")))
        << prompts.lastCall().text.toStdString();
    EXPECT_EQ(devices.status().left(), withHistoryNote(QStringLiteral("导入失败")));
}

TEST_F(ExchangeFileTest, ParameterImportLeavesStateEmptyAndTimeAtTheDefault)
{
    writeFileBytes(dir.filePath(QStringLiteral("p.TBIDPAM")), gbk("[tb_id_paramid]\r\n0=5001,远光强度,\r\nNUM=1\r\n"));
    DictionaryEditor parameters(parameterDictionary());
    importFrom(parameters, dir.filePath(QStringLiteral("p.TBIDPAM")), false);
    EXPECT_EQ(rows(QStringLiteral("select paramid, paramname, res is null from tb_id_paramid")),
              QStringLiteral("5001,远光强度,1"));
}

TEST_F(ExchangeFileTest, ImportTakesWhatAnIncompleteFileHolds)
{
    const struct {
        const char *name;
        const char *content;  // nullptr: no file
        const char *imported;
    } cases[] = {
        {"missing", nullptr, ""},
        {"empty", "", ""},
        {"no NUM", "[tb_id_itemid]\r\n0=前照灯,210,使用,\r\n", ""},
        {"NUM beyond the keys", "[tb_id_itemid]\r\n0=前照灯,210,使用,\r\n2=喇叭,230,,\r\nNUM=9\r\n", "210|230"},
        {"NUM negative", "[tb_id_itemid]\r\n0=前照灯,210,使用,\r\nNUM=-1\r\n", ""},
        {"short record", "[tb_id_itemid]\r\n0=前照灯,210\r\n1=坏\r\nNUM=2\r\n", "210"},
        {"other section", "[tb_id_devid]\r\n0=前照灯,210,使用,\r\nNUM=1\r\n", ""},
        // Only the keys present are read: the largest NUM costs two records, a key past it is not read.
        {"largest NUM",
         "[tb_id_itemid]\r\n0=前照灯,210,,\r\n2147483646=喇叭,230,,\r\n2147483647=坏,240,,\r\nNUM=2147483647\r\n",
         "210|230"},
        {"keys out of order", "[tb_id_itemid]\r\nNUM=3\r\n2=喇叭,230,,\r\n0=前照灯,210,,\r\n", "210|230"},
        {"keys not in plain decimal", "[tb_id_itemid]\r\n01=前照灯,210,,\r\n+1=喇叭,230,,\r\nNUM=3\r\n", ""},
        {"a key numbered INT_MAX", "[tb_id_itemid]\r\n0=前照灯,210,使用,\r\n2147483647=喇叭,230,,\r\nNUM=2\r\n", "210"},
    };
    DictionaryEditor items(itemDictionary());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        run(QStringLiteral("delete from tb_id_itemid"));
        const QString path = dir.filePath(QStringLiteral("in.TBIDITEM"));
        QFile::remove(path);
        if (c.content)
            writeFileBytes(path, gbk(c.content));
        importFrom(items, path, false);
        EXPECT_EQ(rows(QStringLiteral("select itemid from tb_id_itemid order by itemid")),
                  QString::fromUtf8(c.imported));
        EXPECT_EQ(messages(), QStringList());
    }
}

TEST_F(ExchangeFileTest, ADictionaryTravelsFromOneDatabaseToAnother)
{
    run(QStringLiteral(
        "insert into tb_id_devid(devid, devname, devkeychar, res) values (7, '灯光仪', 'DG', '使用'), (12, '底盘测功机', 'DP', '新建')"));
    DictionaryEditor devices(deviceDictionary());
    tick(devices, {QStringLiteral("7"), QStringLiteral("12")});
    exportTo(devices, folder());

    openDatabase(dir.filePath(QStringLiteral("other.db")));
    run(schemaText());
    importFrom(devices, deviceFile(), false);
    EXPECT_EQ(rows(QStringLiteral("select devid, devname, devkeychar, res from tb_id_devid order by devid")),
              QStringLiteral("7,灯光仪,DG,使用|12,底盘测功机,DP,新建"));
}

}  // namespace
}  // namespace dbkeel::test
