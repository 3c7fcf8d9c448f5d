#include "core/AppState.h"
#include "core/SchemaUpgrade.h"
#include "core/SharedDb.h"
#include "platform/ScriptedPrompt.h"
#include "tests/support/DbTestSupport.h"
#include "tests/support/StartupFixture.h"

namespace dbkeel::test {
namespace {

// The SQL Server batches are the installation's own texts.
TEST(SchemaUpgradeText, SqlServerBatches)
{
    EXPECT_EQ(seedInfoFieldStep(Dialect::SqlServer, 0).batch,
              QStringLiteral("IF NOT EXISTS ( select * from tb_id_info where infoid = 1180 )BEGIN insert into "
                             "tb_id_info( infoid,infoword,infoname,reserved,status ) values( 1180 ,'chejishi','车籍市',"
                             "'INFO_1180', 0  ) END"));
    EXPECT_EQ(seedInfoFieldStep(Dialect::SqlServer, 36).batch,
              QStringLiteral(
                  "IF NOT EXISTS ( select * from tb_id_info where infoid = 1095 )BEGIN insert into "
                  "tb_id_info( infoid,infoword,infoname,reserved,status ) values( 1095 ,'cglsh','车管流水号',"
                  "'INFO_1095', 0  ) END ELSE BEGIN update tb_id_info set infoword='cglsh' ,"
                  "infoname='车管流水号', status = 1 where infoid = 1095 END;"));
    EXPECT_TRUE(seedInfoFieldStep(Dialect::SqlServer, 15).batch.endsWith(QStringLiteral("0  ) END")));
    EXPECT_TRUE(seedInfoFieldStep(Dialect::SqlServer, 16).batch.endsWith(QStringLiteral("where infoid = 1149 END;")));

    EXPECT_EQ(addColumnsStep(Dialect::SqlServer, QStringLiteral("tb_line_info"),
                             {{QStringLiteral("BrakeType"), QStringLiteral("varchar(50)")}}, true)
                  .batch,
              QStringLiteral(
                  "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[tb_line_info]') and "
                  "OBJECTPROPERTY(id, N'IsUserTable') = 1) IF NOT EXISTS (select name from syscolumns where "
                  "id = object_id('tb_line_info') and name = 'BrakeType') BEGIN ALTER table tb_line_info add "
                  "BrakeType varchar(50) COLLATE Chinese_PRC_CI_AS NULL END"));
    EXPECT_EQ(addColumnsStep(Dialect::SqlServer, QStringLiteral("tb_line_info"),
                             {{QStringLiteral("stationip"), QStringLiteral("varchar(50)")},
                              {QStringLiteral("stationport"), QStringLiteral("int")}},
                             false)
                  .batch,
              QStringLiteral(
                  "IF NOT EXISTS (select name from syscolumns where id = object_id('tb_line_info') and name = "
                  "'stationip') BEGIN ALTER table tb_line_info add stationip varchar(50) COLLATE "
                  "Chinese_PRC_CI_AS NULL, stationport int NULL END"));
    EXPECT_EQ(
        createTablesStep(Dialect::SqlServer, {QStringLiteral("tb_sys_log"), QStringLiteral("tb_status_memstd")}).batch,
        QStringLiteral(
            "if not exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[tb_sys_log]') and "
            "OBJECTPROPERTY(id, N'IsUserTable') = 1) CREATE TABLE [dbo].[tb_sys_log] ( [ID] [int] IDENTITY (1, 1) "
            "NOT NULL , [UserID] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL , [UserTrueName] [varchar] (50) "
            "COLLATE Chinese_PRC_CI_AS NULL , [UserPower] [varchar] (20) COLLATE Chinese_PRC_CI_AS NULL , "
            "[Zt2SysLog] [varchar] (300) COLLATE Chinese_PRC_CI_AS NULL , [ProgramName] [varchar] (100) COLLATE "
            "Chinese_PRC_CI_AS NULL , [InsertDate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ) ON [PRIMARY]\n"
            "if not exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[tb_status_memstd]') and "
            "OBJECTPROPERTY(id, N'IsUserTable') = 1) CREATE TABLE [dbo].[tb_status_memstd] ( [DBModifyTime] "
            "[int] NULL ) ON [PRIMARY]"));
}

class SchemaUpgradeTest : public StartupFixture {
protected:
    ScriptedPrompt prompts;

    void upgradeAll()
    {
        runUpgradeGroup1(sharedDb());
        runUpgradeGroup2Tables(sharedDb());
        EXPECT_TRUE(runUpgradeGroup2Columns(sharedDb()));
    }
    QString rows(const QString &query) { return test::rows(query, u'\n'); }
    QString columnsOf(const QString &table)
    {
        return rows(QStringLiteral("select name from pragma_table_info('%1') order by cid").arg(table))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    QString schema() { return rows(QStringLiteral("select sql from sqlite_master order by name")); }
    QString seededRows()
    {
        return rows(QStringLiteral("select infoid, infoword, infoname, reserved, status from tb_id_info "
                                   "where infoid >= 1023 and infoid <> 1082 and infoid <> 1120 and infoid <> 1122 "
                                   "order by infoid"));
    }
};

TEST_F(SchemaUpgradeTest, EmptyInstallationGetsTablesColumnsAndRows)
{
    emptyInstallation();
    openSharedDb();
    upgradeAll();
    EXPECT_EQ(DbReady, 1);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(prompts.calls().empty());

    EXPECT_EQ(columnsOf(QStringLiteral("tb_line_info")),
              QStringLiteral("linetype lineid stationid devid runorder linename devname BrakeType LineCode stationip "
                             "stationport jcjgid netid devPath devRemark"));
    EXPECT_EQ(columnsOf(QStringLiteral("tb_sys_log")),
              QStringLiteral("ID UserID UserTrueName UserPower Zt2SysLog ProgramName InsertDate"));
    EXPECT_EQ(columnsOf(QStringLiteral("tb_status_memstd")), QStringLiteral("DBModifyTime"));
    EXPECT_EQ(columnsOf(QStringLiteral("tb_login_ip_info")),
              QStringLiteral("ID PCType LoginPCid LoginPCname LoginPCip LoginPCport LoginPCno statusstr Res"));
    EXPECT_EQ(columnsOf(QStringLiteral("tb_login_lineindex")),
              QStringLiteral("lineid linename stationid stationname devid devname itemid itemname insertdate devPath "
                             "devRemark"));
    EXPECT_EQ(rows(QStringLiteral("select count(*), min(status), max(status) from tb_id_info")),
              QStringLiteral("37,0,0"));
    EXPECT_EQ(rows(QStringLiteral("select * from tb_id_info where infoid in (1180, 1095) order by infoid")),
              QStringLiteral("1095,cglsh,车管流水号,INFO_1095,0\n1180,chejishi,车籍市,INFO_1180,0"));
    // The identity keys number new rows.
    sharedDb().exec(QStringLiteral("insert into tb_sys_log (UserID) values ('a')"));
    EXPECT_EQ(rows(QStringLiteral("select ID from tb_sys_log")), QStringLiteral("1"));
}

TEST_F(SchemaUpgradeTest, SecondRunChangesOnlyTheRefreshedRows)
{
    emptyInstallation();
    openSharedDb();
    upgradeAll();
    // An administrator's edits: row 0 keeps them, rows 16–36 are reset.
    sharedDb().exec(QStringLiteral("update tb_id_info set infoword = 'mine', status = 5 where infoid in (1180, 1149)"));
    const QString schemaBefore = schema();
    const QString rowsBefore = seededRows();

    upgradeAll();
    EXPECT_EQ(schema(), schemaBefore);
    QStringList expected = rowsBefore.split(QLatin1Char('\n'));
    for (QString &row : expected) {
        const int infoid = row.section(QLatin1Char(','), 0, 0).toInt();
        for (int i = kFirstRefreshedInfoField; i < kSeededInfoFields.size(); ++i)
            if (kSeededInfoFields[i].infoid == infoid)
                row = QStringLiteral("%1,%2,%3,INFO_%1,1")
                          .arg(infoid)
                          .arg(QString::fromUtf8(kSeededInfoFields[i].infoword),
                               QString::fromUtf8(kSeededInfoFields[i].infoname));
    }
    EXPECT_EQ(seededRows(), expected.join(QLatin1Char('\n')));
    EXPECT_EQ(rows(QStringLiteral("select infoword, status from tb_id_info where infoid = 1180")),
              QStringLiteral("mine,5"));
}

TEST_F(SchemaUpgradeTest, UpgradedInstallationKeepsItsColumnsAndData)
{
    resetDemoDatabase();  // has every column already, and rows of tb_line_info
    openSharedDb();
    const QString lineInfoBefore = rows(QStringLiteral("select * from tb_line_info order by runorder"));
    const QString columnsBefore = columnsOf(QStringLiteral("tb_line_info"));
    upgradeAll();
    EXPECT_EQ(DbReady, 1);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(columnsOf(QStringLiteral("tb_line_info")), columnsBefore);
    EXPECT_EQ(rows(QStringLiteral("select * from tb_line_info order by runorder")), lineInfoBefore);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_info")), QStringLiteral("47"));  // 10 of the demo
}

TEST_F(SchemaUpgradeTest, WithoutLineTableGroupOneIsSilentAndGroupTwoStopsTheTree)
{
    emptyInstallation();
    openSharedDb();
    sharedDb().exec(QStringLiteral("drop table tb_line_info"));
    runUpgradeGroup1(sharedDb());
    EXPECT_EQ(DbReady, 0);  // the stationip batch failed
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(prompts.calls().empty());
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_info")), QStringLiteral("37"));
    EXPECT_EQ(columnsOf(QStringLiteral("tb_status_memstd")), QStringLiteral("DBModifyTime"));

    DbReady = 1;
    runUpgradeGroup2Tables(sharedDb());
    EXPECT_EQ(DbReady, 1);
    prompts.answer(PromptButton::Ok);
    EXPECT_FALSE(runUpgradeGroup2Columns(sharedDb()));
    EXPECT_EQ(DbReady, 0);
    ASSERT_EQ(prompts.calls().size(), 1u);
    EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("提示"));
    EXPECT_TRUE(prompts.lastCall().text.contains(QStringLiteral("tb_line_info")))
        << prompts.lastCall().text.toStdString();
    EXPECT_EQ(prompts.lastCall().icon, PromptIcon::Exclamation);
}

TEST_F(SchemaUpgradeTest, IndexColumnFailureIsLoggedAndTheUpgradeGoesOn)
{
    emptyInstallation();
    openSharedDb();
    sharedDb().exec(QStringLiteral("create view tb_login_lineindex as select 1 as lineid"));
    runUpgradeGroup2Tables(sharedDb());
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].plain);
    EXPECT_TRUE(log[0].text.startsWith(QStringLiteral("添加devPath,devRemark字段[SQLite]"))) << log[0];
    EXPECT_EQ(DbReady, 0);
    EXPECT_EQ(columnsOf(QStringLiteral("tb_login_ip_info")).section(QLatin1Char(' '), 0, 0), QStringLiteral("ID"));
}

TEST_F(SchemaUpgradeTest, ClosedConnectionDoesNothing)
{
    runUpgradeGroup1(sharedDb());
    runUpgradeGroup2Tables(sharedDb());
    EXPECT_FALSE(runUpgradeGroup2Columns(sharedDb()));
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(prompts.calls().empty());
}

}  // namespace
}  // namespace dbkeel::test
