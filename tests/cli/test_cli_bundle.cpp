// dbkeel-cli bundle: export, import and the one-key build on the demo installation, as a process.

#include "core/SharedDb.h"
#include "platform/Profile.h"
#include "tests/cli/CliFixture.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TestSupport.h"

#include <QFile>

#include <sys/stat.h>

namespace dbkeel::test {
namespace {

class CliBundle : public CliFixture {
protected:
    // Every row of the queries, on a connection of the test's own.
    QString dump(const QStringList &queries) const
    {
        SharedDb db;
        db.open(databaseConnectString(), 10);
        QString text;
        for (const QString &query : queries) {
            SqlCursor cursor = db.query(query);
            while (cursor.next())
                for (int column = 0; column < cursor.columnCount(); ++column)
                    text += cursor.text(column) + (column + 1 < cursor.columnCount() ? u',' : u'\n');
        }
        return text;
    }
    void exec(const QString &batch) const
    {
        SharedDb db;
        db.open(databaseConnectString(), 10);
        db.exec(batch);
    }
    static QStringList baseTables()
    {
        return {"select devid,devname,devkeychar from tb_id_devid order by 1,2,3",
                "select * from tb_id_dev_item order by 1,2,3,4",
                "select itemid,itemname from tb_id_itemid order by 1,2",
                "select * from tb_id_item_param order by 1,2,3,4",
                "select paramid,paramname from tb_id_paramid order by 1,2"};
    }
    static QStringList runTables()
    {
        return {"select * from tb_id_item order by ItemId", "select * from tb_id_dev order by RunDevId",
                "select * from tb_id_param order by devId,ParamId,ItemId"};
    }
};

TEST_F(CliBundle, ExportIntoAnEmptiedBaseImportAndRebuildGiveTheSameTables)
{
    const QString bundle = demoFolder() + QStringLiteral("/ALLLINEDATA.ALLINE");
    const CliResult exported = runCli({"bundle", "export", bundle});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.startsWith(QStringLiteral("导出[tb_id_devid]...\n"))) << exported.out.toStdString();
    EXPECT_TRUE(exported.out.endsWith(QStringLiteral("导出成功\n")));
    ASSERT_EQ(runCli({"bundle", "rebuild"}).exitCode, 0);
    const QString base = dump(baseTables()), run = dump(runTables());
    ASSERT_FALSE(run.isEmpty());

    exec(QStringLiteral("delete from tb_id_devid; delete from tb_id_dev_item; delete from tb_id_itemid; "
                        "delete from tb_id_item_param; delete from tb_id_paramid; delete from tb_id_param;"));
    const CliResult imported = runCli({"bundle", "import", bundle});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.endsWith(QStringLiteral("导入成功\n")));
    EXPECT_EQ(dump(baseTables()).toStdString(), base.toStdString());
    const CliResult rebuilt = runCli({"bundle", "rebuild"});
    EXPECT_EQ(rebuilt.exitCode, 0);
    EXPECT_TRUE(rebuilt.out.endsWith(QStringLiteral("重新创建成功!\n")));
    EXPECT_EQ(dump(runTables()).toStdString(), run.toStdString());
}

TEST_F(CliBundle, AFailedSectionExitsWithOne)
{
    const QString bundle = demoFolder() + QStringLiteral("/broken.ALLINE");
    ASSERT_EQ(runCli({"bundle", "export", bundle}).exitCode, 0);
    writeProfileString(bundle, QStringLiteral("tb_id_itemid"), QStringLiteral("0"), QStringLiteral("x,坏记录,"));
    const QString before = dump(baseTables());
    const CliResult imported = runCli({"bundle", "import", bundle});
    EXPECT_EQ(imported.exitCode, 1);
    EXPECT_TRUE(imported.err.contains(QStringLiteral("★ 导入[tb_id_itemid]失败,表未作任何修改")))
        << imported.err.toStdString();
    EXPECT_EQ(dump(baseTables()).toStdString(), before.toStdString());
}

// A bundle that did not reach the disk, or whose target is not a file, exits with 1 naming the reason
// and leaves the target; a damaged bundle is refused whole with 1.
TEST_F(CliBundle, UnwrittenExportsAndDamagedImportsExitWithOne)
{
    SmallDisk disk(8 * 1024);
    if (disk.mounted()) {  // the file size limit would stop the program's database too
        const QString small = disk.filePath(QStringLiteral("ALLLINEDATA.ALLINE"));
        writeFileBytes(small, "[old]\r\n");
        const CliResult full = runCli({"bundle", "export", small});
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_TRUE(full.err.contains(disk.fullReason())) << full.err.toStdString();
        EXPECT_FALSE(full.out.contains(QStringLiteral("导出成功")));
        EXPECT_EQ(readFileBytes(small), "[old]\r\n");
    }
    const QString fifo = demoFolder() + QStringLiteral("/fifo.ALLINE");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const CliResult refused = runCli({"bundle", "export", fifo});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("not a regular file"))) << refused.err.toStdString();

    const QString bundle = demoFolder() + QStringLiteral("/cut.ALLINE");
    ASSERT_EQ(runCli({"bundle", "export", bundle}).exitCode, 0);
    writeProfileString(bundle, QStringLiteral("tb_id_devid"), QStringLiteral("NUM"), QStringLiteral("3"));
    const QString before = dump(baseTables());
    const CliResult imported = runCli({"bundle", "import", bundle});
    EXPECT_EQ(imported.exitCode, 1);
    EXPECT_TRUE(imported.err.contains(QStringLiteral("[tb_id_devid]的NUM=3与其中的记录不符")))
        << imported.err.toStdString();
    EXPECT_EQ(dump(baseTables()).toStdString(), before.toStdString());
}

TEST_F(CliBundle, WrongArgumentsCannotStart)
{
    for (const QStringList &arguments : QList<QStringList>{{"bundle"},
                                                           {"bundle", "export"},
                                                           {"bundle", "rebuild", "x"},
                                                           {"bundle", "sideways", "x"}}) {
        const CliResult result = runCli(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("usage:")));
    }
    const QString missing = demoFolder() + QStringLiteral("/no-such.ALLINE");
    const CliResult imported = runCli({"bundle", "import", missing});
    EXPECT_EQ(imported.exitCode, 2);
    EXPECT_TRUE(imported.err.contains(missing)) << imported.err.toStdString();
}

}  // namespace
}  // namespace dbkeel::test
