#pragma once
// A real SQLite database reached through the driver manager, with the installation's tables as the
// start-up upgrade makes them, an empty station registry and the scripted prompt.

#include "core/AppState.h"
#include "core/SchemaUpgrade.h"
#include "core/SharedDb.h"
#include "core/StationRegistry.h"
#include "platform/ScriptedPrompt.h"
#include "tests/support/DbTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dbkeel::test {

class AddressDbTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompt scripted;

    void SetUp() override
    {
        sharedDb().open(sqliteConnectString(dir.filePath(QStringLiteral("t.db"))), 10);
        DbReady = 1;
        sharedDb().exec(
            QStringLiteral("CREATE TABLE tb_line_info (linetype INTEGER, lineid INTEGER, stationid INTEGER, "
                           "devid INTEGER, runorder INTEGER, linename TEXT, devname TEXT) STRICT;"));
        runUpgradeGroup2Tables(sharedDb());
        ASSERT_TRUE(runUpgradeGroup2Columns(sharedDb()));
        stationRegistry().clear();
    }
    void TearDown() override
    {
        sharedDb().close();
        EXPECT_EQ(scripted.pendingAnswers(), 0);
    }
    static void addEntry(quintptr node, const QString &ip, const QString &port, int kind, int lineId, int stationId)
    {
        RegistryEntry entry;
        entry.station.ip = ip;
        entry.station.port = port;
        entry.treeNode = node;
        entry.kind = kind;
        entry.lineId = lineId;
        entry.stationId = stationId;
        stationRegistry().add(entry);
    }
    // Station 3 of line 1 (two devices, node 103) beside station 2 of line 1 and station 3 of line 2.
    static void seedStations()
    {
        sharedDb().exec(QStringLiteral(
            "insert into tb_line_info (lineid, stationid, devid, stationip, stationport) values "
            "(1, 3, 4, '192.168.0.3', 15000), (1, 3, 10, '192.168.0.3', 15000), (1, 2, 2, '192.168.0.2', 15000), "
            "(2, 3, 5, '192.168.0.3', 15000)"));
        addEntry(103, QStringLiteral("192.168.0.3"), QStringLiteral("15000"), 0, 1, 3);
    }
    // The second of two registration machines (ID 2, PCType 1, node 201).
    static void seedComputers()
    {
        sharedDb().exec(QStringLiteral(
            "insert into tb_login_ip_info (PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr) "
            "values (1, '登录一', '192.168.0.20', 15000, '1', '登录机'), (1, '登录二', '192.168.0.21', 15000, '2', '登录机')"));
        addEntry(201, QStringLiteral("192.168.0.21"), QStringLiteral("15000"), 1, 2, 1);
    }
    static QString storedComputers()
    {
        return rows(QStringLiteral("select PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr "
                                   "from tb_login_ip_info order by ID"));
    }
};

}  // namespace dbkeel::test
