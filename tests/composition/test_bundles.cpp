// Base ID bundles: the file on disk, the round trip between two databases, sections left alone,
// sections refused as a whole, the one-key build, and the process log.

#include "composition/BundleEditor.h"
#include "platform/Gbk.h"
#include "platform/Profile.h"
#include "screens/ExchangeFile.h"
#include "tests/composition/CompositionFixture.h"
#include "tests/support/SmallDisk.h"

#include <QFileInfo>

#include <sys/stat.h>

#include <functional>

namespace dbkeel::test {
namespace {

// The lines of a log, oldest first, failures marked.
struct RecordingLog : BundleLog {
    QStringList lines;
    void add(const QString &line, bool failure) override
    {
        lines << (failure ? QStringLiteral("★ ") : QString()) + line;
    }
    QStringList failures() const { return lines.filter(QStringLiteral("★ ")); }
};

class Bundles : public CompositionFixture {
protected:
    void SetUp() override
    {
        CompositionFixture::SetUp();
        seedDictionaries();
        seedRelations();
        path = dir.filePath(QStringLiteral("ALLLINEDATA.ALLINE"));
    }
    static QString tables()
    {
        QString all;
        for (const BundleSection &section : bundleSections())
            all += rows(QStringLiteral("select %1 from %2 order by %1").arg(section.columns.join(u','), section.table))
                   + u'\n';
        return all;
    }
    QString path;
    RecordingLog log;
};

TEST_F(Bundles, ExportWritesTheFiveSectionsInOrder)
{
    run(QStringLiteral("update tb_id_devid set devname = '灯光仪  ' where devid = 1; delete from tb_id_paramid;"));
    ASSERT_TRUE(exportBundle(sharedDb(), path, log));
    const ProfileFile file(path);
    EXPECT_EQ(file.sectionNames(),
              (QStringList{"tb_id_devid", "tb_id_dev_item", "tb_id_itemid", "tb_id_item_param", "tb_id_paramid"}));
    EXPECT_EQ(file.readString("tb_id_devid", "0", {}, 4001), QStringLiteral("1,灯光仪,D,"));  // trailing blanks cut
    EXPECT_EQ(file.readString("tb_id_devid", "NUM", {}, 101), QStringLiteral("4"));           // withdrawn ones too
    EXPECT_EQ(file.readString("tb_id_dev_item", "3", {}, 4001), QStringLiteral("12,底盘测功机,208,功率,"));
    EXPECT_EQ(file.keyNames("tb_id_paramid"), QStringList{"NUM"});
    EXPECT_EQ(file.readString("tb_id_paramid", "NUM", {}, 101), QStringLiteral("0"));
    EXPECT_TRUE(readFileBytes(path).startsWith(toGbk(QStringLiteral("[tb_id_devid]\r\n0=1,灯光仪,D,\r\n"))));
    EXPECT_EQ(log.lines.first(), QStringLiteral("导出[tb_id_devid]..."));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("导出[tb_id_dev_item]完毕")));
    EXPECT_EQ(log.lines.last(), QStringLiteral("导出成功"));
}

TEST_F(Bundles, ExportRefusesAFieldThatWouldShiftTheRecord)
{
    run(QStringLiteral("update tb_id_itemid set itemname = '左,外灯' where itemid = 200;"));
    EXPECT_FALSE(exportBundle(sharedDb(), path, log));
    ASSERT_EQ(log.failures().size(), 2);
    EXPECT_TRUE(log.failures().first().startsWith(QStringLiteral("★ 导出tb_id_itemid数据异常")));
    EXPECT_EQ(log.failures().last(), QStringLiteral("★ 导出失败"));
    // The sections before it are in the file.
    EXPECT_EQ(ProfileFile(path).sectionNames(), (QStringList{"tb_id_devid", "tb_id_dev_item"}));
}

// An export that does not reach the disk, or whose target is not a file, fails with the reason and
// leaves the target as it was.
TEST_F(Bundles, ExportThatCannotBeWrittenLeavesTheTarget)
{
    run(QStringLiteral("insert into tb_id_paramid(paramid,paramname) with recursive c(n) as (select 1000 union all "
                       "select n + 1 from c where n < 3000) select n, '参数' || n from c"));
    SmallDisk disk(8 * 1024);
    const QString target = disk.filePath(QStringLiteral("ALLLINEDATA.ALLINE"));
    writeFileBytes(target, "[old]\r\nkept=1\r\n");
    EXPECT_FALSE(exportBundle(sharedDb(), target, log));
    EXPECT_EQ(readFileBytes(target), "[old]\r\nkept=1\r\n");
    ASSERT_EQ(log.failures().size(), 2);
    EXPECT_TRUE(log.failures().first().contains(disk.fullReason())) << log.failures().first().toStdString();
    EXPECT_EQ(log.failures().last(), QStringLiteral("★ 导出失败"));
    EXPECT_EQ(disk.entries(), QStringList{QStringLiteral("ALLLINEDATA.ALLINE")});

    const QString fifo = dir.filePath(QStringLiteral("fifo.ALLINE"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    log.lines.clear();
    EXPECT_FALSE(exportBundle(sharedDb(), fifo, log));
    EXPECT_TRUE(log.lines.first().contains(QStringLiteral("not a regular file"))) << log.lines.first().toStdString();
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
}

TEST_F(Bundles, RoundTripIntoAnotherDatabaseAndTheOneKeyBuild)
{
    ASSERT_TRUE(exportBundle(sharedDb(), path, log));
    ASSERT_TRUE(buildRunTables(sharedDb(), log));
    const QString source = tables();
    const QString runTables = rows(QStringLiteral("select * from tb_id_param order by devId,ParamId"));

    openDatabase(dir.filePath(QStringLiteral("other.db")));
    run(schemaText());
    run(QStringLiteral("insert into tb_id_devid(devid,devname) values (77,'别的设备');"));
    log.lines.clear();
    ASSERT_TRUE(importBundle(sharedDb(), path, log));
    EXPECT_EQ(tables(), source);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_devid where res is not null")), QStringLiteral("0"));
    EXPECT_EQ(log.lines.first(), QStringLiteral("正在导入[tb_id_devid]..."));
    EXPECT_EQ(log.lines.last(), QStringLiteral("导入成功"));
    EXPECT_TRUE(log.failures().isEmpty());
    ASSERT_TRUE(buildRunTables(sharedDb(), log));
    EXPECT_EQ(rows(QStringLiteral("select * from tb_id_param order by devId,ParamId")), runTables);
}

TEST_F(Bundles, ImportLeavesAbsentAndEmptySectionsAlone)
{
    ASSERT_TRUE(exportBundle(sharedDb(), path, log));
    ProfileFile file(path);
    file.removeSection("tb_id_devid");  // absent
    for (const QString &key : file.keyNames("tb_id_itemid"))
        file.removeKey("tb_id_itemid", key);
    file.writeString("tb_id_itemid", "NUM", "0");  // NUM 0 and no records
    for (const QString &key : file.keyNames("tb_id_paramid"))
        file.removeKey("tb_id_paramid", key);  // neither NUM nor records
    ASSERT_TRUE(file.save());
    run(QStringLiteral(
        "delete from tb_id_devid where devid = 12; delete from tb_id_itemid where itemid > 203;"
        "insert into tb_id_paramid(paramid,paramname) values (1,'旧参数'); delete from tb_id_dev_item;"));
    const QString devices = rows(QStringLiteral("select devid from tb_id_devid order by rowid"));
    const QString items = rows(QStringLiteral("select itemid from tb_id_itemid order by rowid"));
    const QString parameters = rows(QStringLiteral("select * from tb_id_paramid order by rowid"));

    log.lines.clear();
    EXPECT_TRUE(importBundle(sharedDb(), path, log));
    EXPECT_EQ(rows(QStringLiteral("select devid from tb_id_devid order by rowid")), devices);
    EXPECT_EQ(rows(QStringLiteral("select itemid from tb_id_itemid order by rowid")), items);
    EXPECT_EQ(rows(QStringLiteral("select * from tb_id_paramid order by rowid")), parameters);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_dev_item")), QStringLiteral("4"));
    EXPECT_TRUE(log.failures().isEmpty()) << log.failures().join(u'\n').toStdString();
}

// A damaged file is refused as a whole before any table is touched, naming the section and the reason.
TEST_F(Bundles, ImportRefusesADamagedFileWhole)
{
    ASSERT_TRUE(exportBundle(sharedDb(), path, log));
    const QByteArray whole = readFileBytes(path);
    struct Case {
        const char *name;
        std::function<QByteArray()> damage;
        const char *reason;
    };
    const auto edited = [this, &whole](const char *section, const char *key, const char *value) {
        return [=, this] {
            writeFileBytes(path, whole);
            writeProfileString(path, section, key, value ? QString::fromUtf8(value) : QString());
            return readFileBytes(path);
        };
    };
    const Case cases[] = {
        {"NUM cut below the records", edited("tb_id_devid", "NUM", "3"), "[tb_id_devid]的NUM=3与其中的记录不符"},
        {"NUM above the records", edited("tb_id_paramid", "NUM", "7"), "[tb_id_paramid]的NUM=7与其中的记录不符"},
        {"NUM missing beside records", edited("tb_id_itemid", "NUM", nullptr), "[tb_id_itemid]的NUM=0与其中的记录不符"},
        {"NUM not decimal", edited("tb_id_dev_item", "NUM", "1abc"), "[tb_id_dev_item]的NUM不是十进制数"},
        {"a record short of a field", edited("tb_id_devid", "1", "2,前照灯,"), "[tb_id_devid]第1条记录的字段数不对"},
        {"last line cut", [&whole] { return whole.chopped(3); }, "最后一行不完整(文件被截断)"},
        {"empty", [] { return QByteArray(); }, "文件为空"},
        {"random bytes",
         [] {
             QByteArray bytes(3000, '\0');
             for (qsizetype i = 0; i < bytes.size(); ++i)
                 bytes[i] = char((i * 7919 + 13) % 251);
             return bytes + "\r\n";
         },
         "文件中没有基础ID数据"},
    };
    run(QStringLiteral(
        "delete from tb_id_devid where devid = 12; delete from tb_id_itemid where itemid > 203;"
        "delete from tb_id_dev_item; insert into tb_id_paramid(paramid,paramname) values (1,'旧参数');"));
    const QString before = tables();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        writeFileBytes(path, c.damage());
        log.lines.clear();
        EXPECT_FALSE(importBundle(sharedDb(), path, log));
        EXPECT_EQ(tables(), before);
        EXPECT_EQ(log.failures(),
                  QStringList{QStringLiteral("★ 导入失败:文件已损坏,未修改任何表:") + QString::fromUtf8(c.reason)});
    }
}

TEST_F(Bundles, ImportRefusesAWrongCodeAndAMissingFile)
{
    ASSERT_TRUE(exportBundle(sharedDb(), path, log));
    writeProfileString(path, "tb_id_itemid", "2", "20x,右内灯,");
    const QString items = rows(QStringLiteral("select * from tb_id_itemid order by rowid"));
    log.lines.clear();
    EXPECT_FALSE(importBundle(sharedDb(), path, log));
    EXPECT_EQ(rows(QStringLiteral("select * from tb_id_itemid order by rowid")), items);
    ASSERT_EQ(log.failures().size(), 3);
    // Refused before the statement runs, in the driver's manner, naming the wrong value.
    EXPECT_TRUE(log.failures().first().startsWith(QStringLiteral("★ 执行异常[")))
        << log.failures().first().toStdString();
    EXPECT_TRUE(log.failures().first().contains(QStringLiteral("'20x'"))) << log.failures().first().toStdString();

    log.lines.clear();
    EXPECT_FALSE(importBundle(sharedDb(), dir.filePath(QStringLiteral("none.ALLINE")), log));
    EXPECT_EQ(log.lines.size(), 1);
}

TEST_F(Bundles, OneKeyBuildWithoutRelationsLeavesTheParametersEmpty)
{
    run(QStringLiteral("delete from tb_id_dev_item; insert into tb_id_param values (1,1,1,'旧');"));
    ASSERT_TRUE(buildRunTables(sharedDb(), log));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_param")), QStringLiteral("0"));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_dev")), QStringLiteral("4"));
    EXPECT_EQ(log.lines, (QStringList{"正在创建项目信息...", "已创建项目信息", "正在创建设备信息...", "已创建设备信息",
                                      "正在创建参数信息...", "已创建参数信息", "重新创建成功!"}));

    // An insert refused half-way: the parameters keep their rows.
    run(QStringLiteral("insert into tb_id_dev_item values (1,'灯光仪',200,'左外灯');"));
    ASSERT_TRUE(buildRunTables(sharedDb(), log));
    const QString parameters = rows(QStringLiteral("select * from tb_id_param order by rowid"));
    runInShell(QStringLiteral("insert into tb_id_dev_item values (4,'侧滑台',217,'侧滑');"
                              "create trigger refuse before insert on tb_id_param when new.ItemId = 217 "
                              "begin select raise(abort, 'parameter refused'); end;"));
    log.lines.clear();
    EXPECT_FALSE(buildRunTables(sharedDb(), log));
    EXPECT_EQ(rows(QStringLiteral("select * from tb_id_param order by rowid")), parameters);
    EXPECT_TRUE(log.failures().value(0).startsWith(QStringLiteral("★ 创建参数信息失败")))
        << log.failures().value(0).toStdString();

    run(QStringLiteral("drop table tb_id_dev;"));
    log.lines.clear();
    EXPECT_FALSE(buildRunTables(sharedDb(), log));
    ASSERT_EQ(log.failures().size(), 1);
    EXPECT_TRUE(log.failures().first().startsWith(QStringLiteral("★ 创建设备信息失败")));
    EXPECT_EQ(log.lines.last(), QStringLiteral("重新创建失败!"));
}

TEST_F(Bundles, ScreenCommandsAndTheProcessLog)
{
    BundleEditor editor;
    EXPECT_EQ(editor.log().text(), QStringLiteral("请确定进行建立关系!\r\n"));
    prompts.answerFolder(QString()).answerFile(QString()).answer(PromptButton::Cancel);
    editor.exportCommand();
    editor.importCommand();
    editor.buildCommand();
    EXPECT_EQ(editor.log().text(), QStringLiteral("取消导入\r\n取消导出\r\n请确定进行建立关系!\r\n"));
    EXPECT_EQ(prompts.calls().at(0).caption, QStringLiteral("Please select a folder:"));
    EXPECT_EQ(prompts.calls().at(1).file.filter,
              QStringLiteral("open files (*.ALLINE)|*.ALLINE|ALL files (*.*)|*.*||"));
    EXPECT_EQ(prompts.calls().at(2).defaultButton, PromptButton::Cancel);

    prompts.answerFolder(dir.path() + QStringLiteral("/"));
    editor.exportCommand();
    EXPECT_TRUE(editor.log().text().startsWith(QStringLiteral("导出成功\r\n")));
    EXPECT_TRUE(QFile::exists(path));

    ProcessLog log;
    log.add(QStringLiteral("失败了"), true);
    EXPECT_EQ(log.text(), QStringLiteral("★ 失败了\r\n失败了\r\n"));
    log.add(QString(ProcessLog::kLimit, u'x'), true);  // too long with what was there: the log starts again
    EXPECT_EQ(log.text().size(), 2 + ProcessLog::kLimit + 2 + ProcessLog::kLimit);
    EXPECT_TRUE(log.text().startsWith(QStringLiteral("★ x")));
    EXPECT_FALSE(log.text().contains(QStringLiteral("失败了")));
}

}  // namespace
}  // namespace dbkeel::test
