// Vehicle-type data through the exchange file: what the export writes, what the import replaces,
// the backup, stop requests, and tables that stay as they were when their refill fails.

#include "platform/Profile.h"
#include "screens/ScreenStatus.h"
#include "stats/VehicleDataTransfer.h"
#include "stats/VehicleTransfer.h"
#include "tests/stats/StatsFixture.h"
#include "tests/support/SmallDisk.h"

#include <QFile>

namespace dbkeel::test {
namespace {

class VehicleTransferTest : public StatsFixture {
protected:
    ScreenStatus status;
    VehicleDataTransfer transfer{status, VehicleDataTransfer::Window::Data};

    void SetUp() override
    {
        StatsFixture::SetUp();
        transfer.setConnectString(connectString());
        setHostEntry(5, dir.path());
    }
    void finish()
    {
        ASSERT_TRUE(waitUntil([this] { return !transfer.isRunning(); }));
    }
    void exportTo(const QString &folder)
    {
        prompts.answerFolder(folder);
        transfer.exportData();
        finish();
    }
    // `warnings`: the message boxes the import shows when it has ended.
    void importFrom(const QString &file, bool backup, int warnings = 0)
    {
        prompts.answerFile(file).answer(backup ? PromptButton::Yes : PromptButton::No);
        for (int i = backup ? -1 : 0; i < warnings; ++i)
            prompts.answer(PromptButton::Ok);
        transfer.importData();
        finish();
    }
    static QString vehicles() { return rows(QStringLiteral("select CLXH, CLPP from tb_type_vehicle order by ID")); }
    QString exportFile() const { return vehicleDataFilePath(dir.path()); }
};

TEST_F(VehicleTransferTest, RowTextQuotesEveryValueAndReadsBackWithoutTheOuterPair)
{
    EXPECT_EQ(vehicleRowText({"a", "b,c", ""}), QStringLiteral("'a','b,c',''"));
    EXPECT_EQ(vehicleRowValues(QStringLiteral("a','b,c','")), (QStringList{"a", "b,c", ""}));
    EXPECT_EQ(vehicleRowValues(QStringLiteral("O'Brien','x")), (QStringList{"O'Brien", "x"}));
}

TEST_F(VehicleTransferTest, ExportWritesEveryTableInOrderAndAnEmptyTableWithoutRows)
{
    run(QStringLiteral("insert into tb_type_vehicle (CLXH, CLPP) values ('SVW7182', '桑塔纳'), (' A1 ', NULL);"));
    exportTo(dir.path());
    EXPECT_EQ(status.left(), QStringLiteral("导出结束"));
    EXPECT_EQ(status.progress(), 5);
    const ProfileFile file(exportFile());
    EXPECT_EQ(file.sectionNames(), vehicleTypeTables());
    EXPECT_EQ(file.keyNames(QStringLiteral("tb_type_index")), (QStringList{"Itemsum", "Itemname", "Itemvalsum"}));
    EXPECT_EQ(file.readString("tb_type_index", "Itemvalsum", "", 100), QStringLiteral("0"));
    const QByteArray bytes = readFileBytes(exportFile());
    EXPECT_TRUE(bytes.contains(toGbk(QStringLiteral(
        "[tb_type_vehicle]\r\nItemsum=6\r\nItemname=CLXH,CLPP,CLLX,ZZL,FDJXH,RLZL\r\n"
        "Itemval_0='SVW7182','桑塔纳','','','',''\r\nItemval_1='A1','','','','',''\r\nItemvalsum=2\r\n"))))
        << bytes.toStdString();
}

TEST_F(VehicleTransferTest, ImportReplacesTheTablesAndACommaSurvives)
{
    run(QStringLiteral("insert into tb_type_vehicle (CLXH, CLPP) values ('X1', '品牌,甲'), ('X2', 'O''Brien');"
                       "insert into tb_type_fdjxh (FDJXH) values ('EA211');"));
    exportTo(dir.path());
    run(QStringLiteral("delete from tb_type_vehicle; insert into tb_type_vehicle (CLXH) values ('other');"
                       "delete from tb_type_fdjxh;"));
    importFrom(exportFile(), false);
    // An entry for each table, counted in the status line with the folder they went to.
    EXPECT_EQ(status.left(), QStringLiteral("导入结束  历史记录: %1个, 在%2")
                                 .arg(QString::number(vehicleTypeTables().size()), historySettings().resolvedFolder()));
    EXPECT_EQ(vehicles(), QStringLiteral("X1,品牌,甲|X2,O'Brien"));
    EXPECT_EQ(rows(QStringLiteral("select FDJXH from tb_type_fdjxh")), QStringLiteral("EA211"));
    EXPECT_FALSE(QFile::exists(vehicleBackupPath()));  // No: no backup
}

// NULL is written as an empty value and comes back as NULL, in a number and in a text column.
TEST_F(VehicleTransferTest, NullSurvivesTheRoundTrip)
{
    run(QStringLiteral("insert into tb_type_base_ini (ziduan, ziduanleixing, remark) values ('CLXH', NULL, NULL), "
                       "(NULL, 3, '车辆型号');"));
    exportTo(dir.path());
    run(QStringLiteral("delete from tb_type_base_ini"));
    importFrom(exportFile(), false);
    const QString nulls = QStringLiteral("select ziduan is null, ziduanleixing is null, remark is null, "
                                         "coalesce(ziduanleixing, 0) from tb_type_base_ini order by ID");
    EXPECT_EQ(rows(nulls), QStringLiteral("0,1,1,0|1,0,0,3"));
}

TEST_F(VehicleTransferTest, AFileValueThatCannotBeSplitEndsItsTableWhichStaysAsItWas)
{
    run(QStringLiteral("insert into tb_type_vehicle (CLXH, CLPP) values ('old', 'kept');"
                       "insert into tb_type_fdjxh (FDJXH) values ('old engine');"));
    const QString file = path(QStringLiteral("broken.VEH"));
    writeFileBytes(file,
                   toGbk(QStringLiteral(
                       "[tb_type_fdjxh]\r\nItemsum=1\r\nItemname=FDJXH\r\nItemval_0='new engine'\r\nItemvalsum=1\r\n"
                       "[tb_type_vehicle]\r\nItemsum=2\r\nItemname=CLXH,CLPP\r\nItemval_0='a','b'\r\n"
                       "Itemval_1='x','y','z'\r\nItemvalsum=2\r\n")));
    importFrom(file, false, 1);
    EXPECT_EQ(vehicles(), QStringLiteral("old,kept"));
    EXPECT_EQ(rows(QStringLiteral("select FDJXH from tb_type_fdjxh")), QStringLiteral("new engine"));
    EXPECT_EQ(messages().mid(1),
              QStringList{QStringLiteral("导入[tb_type_vehicle]失败,该表保持原样:第2行有3个值,应为2个")});
}

// The database refuses a row of the last batch: the rows before it and the clearing go back too.
TEST_F(VehicleTransferTest, ARowRefusedInTheLastBatchLeavesTheTableAsItWas)
{
    run(QStringLiteral("insert into tb_type_vehicle (CLXH, CLPP) values ('old', 'kept');"
                       "create unique index one_model on tb_type_vehicle (CLXH);"));
    const int rows = 150;  // two batches of inserts; the last row repeats the first model
    QString text = QStringLiteral("[tb_type_vehicle]\r\nItemsum=%1\r\nItemname=CLXH,CLPP\r\n").arg(rows);
    for (int i = 0; i < rows; ++i)
        text += QStringLiteral("Itemval_%1='M%2','b'\r\n").arg(QString::number(i), QString::number(i % (rows - 1)));
    text += QStringLiteral("Itemvalsum=%1\r\n").arg(rows);
    const QString file = path(QStringLiteral("refused.VEH"));
    writeFileBytes(file, toGbk(text));
    importFrom(file, false, 1);
    EXPECT_EQ(vehicles(), QStringLiteral("old,kept"));
    EXPECT_TRUE(messages().value(1).startsWith(QStringLiteral("导入[tb_type_vehicle]失败,该表保持原样:")))
        << messages().value(1).toStdString();
}

TEST_F(VehicleTransferTest, FileValuesAndNamesNeverBecomeStatements)
{
    run(QStringLiteral("insert into tb_type_fdjxh (FDJXH) values ('old engine');"));
    const QString file = path(QStringLiteral("hostile.VEH"));
    writeFileBytes(
        file,
        toGbk(QStringLiteral(
            "[tb_type_vehicle]\r\nItemsum=1\r\nItemname=CLXH\r\nItemval_0=''); delete from tb_type_fdjxh; --'\r\n"
            "Itemvalsum=1\r\n[tb_type_index]\r\nItemsum=1\r\nItemname=CLXH) values (1); drop table tb_type_fdjxh; --\r\n"
            "Itemval_0='a'\r\nItemvalsum=1\r\n")));
    importFrom(file, false, 1);
    EXPECT_EQ(rows(QStringLiteral("select CLXH from tb_type_vehicle")),
              QStringLiteral("'); delete from tb_type_fdjxh; --"));
    EXPECT_EQ(messages().size(), 2);  // the backup question and the failed table
    EXPECT_TRUE(
        messages().value(1).startsWith(QStringLiteral("导入[tb_type_index]失败,该表保持原样:数据表中没有字段")));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_type_index")),
              QStringLiteral("0"));  // the fdjxh section is missing
}

TEST_F(VehicleTransferTest, AFileWithOnlyTheModelsEmptiesTheOtherFourTables)
{
    run(QStringLiteral(
        "insert into tb_type_base_ini (ziduan) values ('CLXH'); insert into tb_type_fdj_ini (ziduan) values ('FDJXH');"
        "insert into tb_type_fdjxh (FDJXH) values ('EA211');"
        "insert into tb_type_index (CLXH) values ('A'), ('B'), ('C');"
        "insert into tb_type_vehicle (CLXH, CLPP, CLLX, ZZL, FDJXH, RLZL) values "
        "('SVW7182QQD', '桑塔纳', '轿车', '1540', 'EA211', '汽油');"));
    ASSERT_EQ(rows(QStringLiteral("select count(*) from tb_type_index")), QStringLiteral("3"));
    const QString file = path(QStringLiteral("models.VEH"));
    writeFileBytes(
        file, toGbk(QStringLiteral(
                  "[tb_type_vehicle]\r\nItemsum=2\r\nItemname=CLXH,CLPP\r\nItemval_0='M1','甲'\r\nItemvalsum=1\r\n")));
    importFrom(file, true);
    for (const QString &table : vehicleTypeTables().mid(0, 4))
        EXPECT_EQ(rows(QStringLiteral("select count(*) from %1").arg(table)), QStringLiteral("0"))
            << table.toStdString();
    EXPECT_EQ(vehicles(), QStringLiteral("M1,甲"));
    // The backup was written before anything was cleared: it holds the old rows.
    const ProfileFile backup(vehicleBackupPath());
    EXPECT_EQ(backup.readString("tb_type_index", "Itemvalsum", "", 10), QStringLiteral("3"));
    EXPECT_EQ(backup.readString("tb_type_vehicle", "Itemval_0", "", 2048),
              QStringLiteral("SVW7182QQD','桑塔纳','轿车','1540','EA211','汽油"));
    EXPECT_EQ(prompts.calls().at(2).text, QStringLiteral("备份文件默认保存在以下目录:%1").arg(vehicleBackupPath()));
    // And restores them.
    importFrom(vehicleBackupPath(), false);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_type_index")), QStringLiteral("3"));
}

TEST_F(VehicleTransferTest, StaleRowKeysOfAnOlderExportAreIgnored)
{
    run(QStringLiteral("insert into tb_type_vehicle (CLXH) values ('A'), ('B'), ('C');"));
    exportTo(dir.path());
    run(QStringLiteral("delete from tb_type_vehicle where CLXH <> 'A';"));
    exportTo(dir.path());
    EXPECT_TRUE(ProfileFile(exportFile()).keyNames("tb_type_vehicle").contains(QStringLiteral("Itemval_2")));
    run(QStringLiteral("delete from tb_type_vehicle;"));
    importFrom(exportFile(), false);
    EXPECT_EQ(rows(QStringLiteral("select CLXH from tb_type_vehicle")), QStringLiteral("A"));
}

TEST_F(VehicleTransferTest, StopDuringExportDeletesThePartialFile)
{
    run(QStringLiteral("insert into tb_type_vehicle (CLXH, CLPP) with recursive c(n) as (select 1 union all "
                       "select n + 1 from c where n < 200000) select 'M' || n, '品牌' from c"));
    writeFileBytes(exportFile(), "[older]\r\nkey=1\r\n");
    prompts.answerFolder(dir.path());
    transfer.exportData();
    ASSERT_TRUE(transfer.isRunning());
    // Stopped while it exports (a stop while its connection opens runs no export and touches no file); the
    // first status is soon followed by the counts, so either one means the export runs.
    ASSERT_TRUE(waitUntil([this] {
        return status.left() == QStringLiteral("正在导出,请稍等...")
               || status.left().startsWith(QStringLiteral("导出["));
    }));
    EXPECT_TRUE(transfer.stopAndWait());
    EXPECT_FALSE(QFile::exists(exportFile()));
}

TEST_F(VehicleTransferTest, StopDuringImportLeavesTheTableBeingFilledAsItWas)
{
    run(QStringLiteral("insert into tb_type_vehicle (CLXH, CLPP) with recursive c(n) as (select 1 union all "
                       "select n + 1 from c where n < 100000) select 'M' || n, '品牌' from c"));
    exportTo(dir.path());
    run(QStringLiteral("delete from tb_type_vehicle; insert into tb_type_vehicle (CLXH) values ('old');"));
    prompts.answerFile(exportFile()).answer(PromptButton::No);
    transfer.importData();
    ASSERT_TRUE(waitUntil([this] { return status.left().startsWith(QStringLiteral("导入[tb_type_vehicle]")); }));
    EXPECT_TRUE(transfer.stopAndWait());
    EXPECT_EQ(rows(QStringLiteral("select CLXH from tb_type_vehicle")), QStringLiteral("old"));
}

TEST_F(VehicleTransferTest, AFileOfSomethingElseClearsNothing)
{
    run(QStringLiteral("insert into tb_type_vehicle (CLXH) values ('kept');"));
    const QString file = path(QStringLiteral("other.VEH"));
    writeFileBytes(file, "[tb_id_devid]\r\nNUM=0\r\n");
    importFrom(file, false, 1);
    EXPECT_EQ(rows(QStringLiteral("select CLXH from tb_type_vehicle")), QStringLiteral("kept"));
    EXPECT_EQ(messages().mid(1), QStringList{QStringLiteral("文件[%1]中没有车型数据,未导入").arg(file)});
}

// The backup is the way back: when it cannot hold every row (no room, a value the file cannot carry
// or could not give back as it was, a row over the reader's width), nothing is cleared and the
// message names the table and the row.
TEST_F(VehicleTransferTest, ABackupWithoutEveryRowClearsNothing)
{
    const QString file = path(QStringLiteral("new.VEH"));
    writeFileBytes(file,
                   toGbk(QStringLiteral(
                       "[tb_type_vehicle]\r\nItemsum=1\r\nItemname=CLXH\r\nItemval_0='new'\r\nItemvalsum=1\r\n")));
    struct Case {
        const char *value;  // the second model's name, in SQL
        const char *reason;
    };
    const Case cases[] = {
        {"'x'','", "以\"',\"结尾"},         {"'a'',''b'", "以\"',\"结尾"},      {"'😀'", "GBK"},
        {"'a' || char(10) || 'b'", "line"}, {"hex(zeroblob(600000))", "1 MiB"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.value);
        run(QStringLiteral("delete from tb_type_vehicle; insert into tb_type_vehicle (CLXH) values ('first'), (%1);")
                .arg(QString::fromUtf8(c.value)));
        const qsizetype before = messages().size();
        importFrom(file, true, 2);
        EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_type_vehicle")), QStringLiteral("2"));
        const QStringList shown = messages().mid(before);
        ASSERT_EQ(shown.size(), 4);
        EXPECT_TRUE(shown.at(2).startsWith(QStringLiteral("导出[tb_type_vehicle]第2行失败")))
            << shown.at(2).toStdString();
        EXPECT_TRUE(shown.at(2).contains(QString::fromUtf8(c.reason), Qt::CaseInsensitive))
            << shown.at(2).toStdString();
        EXPECT_EQ(shown.at(3), QStringLiteral("备份失败,未导入车型数据"));
    }

    run(QStringLiteral("delete from tb_type_vehicle; insert into tb_type_vehicle (CLXH, CLPP) with recursive c(n) as "
                       "(select 1 union all select n + 1 from c where n < 5000) select 'M' || n, '品牌' from c"));
    SmallDisk disk(16 * 1024);
    setHostEntry(5, disk.path());
    const qsizetype before = messages().size();
    importFrom(file, true, 2);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_type_vehicle")), QStringLiteral("5000"));
    EXPECT_TRUE(messages().value(before + 2).contains(disk.fullReason())) << messages().join(u'|').toStdString();
    EXPECT_EQ(disk.entries(), QStringList());
}

// A file cut short, anywhere, empties nothing.
TEST_F(VehicleTransferTest, AFileCutShortClearsNothing)
{
    run(QStringLiteral("insert into tb_type_fdjxh (FDJXH) values ('EA211');"
                       "insert into tb_type_vehicle (CLXH, CLPP) values ('A', '甲'), ('B', '乙'), ('C', '丙');"));
    exportTo(dir.path());
    const QByteArray whole = readFileBytes(exportFile());
    run(QStringLiteral("delete from tb_type_vehicle; insert into tb_type_vehicle (CLXH) values ('kept');"
                       "delete from tb_type_fdjxh; insert into tb_type_fdjxh (FDJXH) values ('kept');"));
    const QString file = path(QStringLiteral("cut.VEH"));
    for (const char *cutBefore : {"Itemvalsum=3", "'C'", "Itemval_2", "\r\nItemvalsum=3"}) {
        SCOPED_TRACE(cutBefore);
        writeFileBytes(file, whole.left(whole.lastIndexOf(toGbk(QString::fromUtf8(cutBefore))) + 2));
        const qsizetype before = messages().size();
        importFrom(file, false, 1);
        EXPECT_EQ(rows(QStringLiteral("select CLXH from tb_type_vehicle")), QStringLiteral("kept"));
        EXPECT_EQ(rows(QStringLiteral("select FDJXH from tb_type_fdjxh")), QStringLiteral("kept"));
        EXPECT_TRUE(messages().value(before + 1).startsWith(QStringLiteral("文件[%1]已损坏,未导入任何数据").arg(file)))
            << messages().value(before + 1).toStdString();
    }
}

}  // namespace
}  // namespace dbkeel::test
