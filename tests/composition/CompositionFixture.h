#pragma once
// The installation database as the program finds it after its start-up upgrade (tb_login_lineindex,
// the later columns of tb_line_info), with a few dictionary entries, relations and line types.

#include "core/SchemaUpgrade.h"
#include "tests/support/DictionaryFixture.h"

#include <QProcess>

namespace dbkeel::test {

// The start-up upgrade on the shared connection.
inline void upgradeSchema()
{
    runUpgradeGroup1(sharedDb());
    runUpgradeGroup2Tables(sharedDb());
    ASSERT_TRUE(runUpgradeGroup2Columns(sharedDb()));
    DbReady = 1;
}

// Devices 1, 4, 12 (and 9 withdrawn), items 200–203, 208, 217 (and 250 withdrawn), parameters
// 5000–5003, 5052, 9000, line types 1 "安检线" and 2 "综检线".
inline void seedDictionaries()
{
    sharedDb().exec(QStringLiteral(
        "insert into tb_id_devid(devid,devname,devkeychar,res) values (1,'灯光仪','D',NULL),(4,'侧滑台','S',''),"
        "(12,'底盘测功机','C',NULL),(9,'旧设备','X','无效');"
        "insert into tb_id_itemid(itemid,itemname,res) values (200,'左外灯',NULL),(201,'左内灯',NULL),(202,'右内灯',NULL),"
        "(203,'右外灯',NULL),(208,'功率',NULL),(217,'侧滑',NULL),(250,'作废项目','无效');"
        "insert into tb_id_paramid(paramid,paramname,res) values (5000,'远光强度',NULL),(5001,'远光偏移',NULL),"
        "(5002,'近光强度',NULL),(5003,'近光偏移',NULL),(5052,'侧滑量',NULL),(9000,'功率值',NULL);"
        "insert into tb_id_linetype(lintype,linename) values (1,'安检线'),(2,'综检线');"));
}

// Device 1 measures 200 and 201, device 4 217, device 12 208; only 200, 201 and 217 have parameters.
inline void seedRelations()
{
    sharedDb().exec(QStringLiteral(
        "insert into tb_id_dev_item(devid,devname,itemid,itemname) values (1,'灯光仪',200,'左外灯'),(1,'灯光仪',201,'左内灯'),"
        "(4,'侧滑台',217,'侧滑'),(12,'底盘测功机',208,'功率');"
        "insert into tb_id_item_param(itemid,itemname,paramid,paramname) values (200,'左外灯',5000,'远光强度'),"
        "(200,'左外灯',5001,'远光偏移'),(201,'左内灯',5002,'近光强度'),(217,'侧滑',5052,'侧滑量');"));
}

class CompositionFixture : public DictionaryFixture {
protected:
    void SetUp() override
    {
        DictionaryFixture::SetUp();
        upgradeSchema();
    }
    // Statements the connection's statement splitter would cut (a trigger's body), through the sqlite3 shell.
    void runInShell(const QString &sql)
    {
        QProcess shell;
        shell.start(QStringLiteral("sqlite3"), {dir.filePath(QStringLiteral("test.db")), sql});
        ASSERT_TRUE(shell.waitForFinished(30000));
        ASSERT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().constData();
    }
};

}  // namespace dbkeel::test
