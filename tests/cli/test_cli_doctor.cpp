// dbkeel-cli doctor and history on the demo installation: the fresh demo passes, each damage is named
// with what to do, --json for scripts, and a bundle import undone from the command line.

#include "tests/cli/CliFixture.h"

#include "core/SharedDb.h"
#include "platform/Profile.h"
#include "tests/support/AgentProcess.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace dbkeel::test {
namespace {

class CliDoctor : public CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        const CliResult index = runCli({QStringLiteral("index"), QStringLiteral("-q")});
        ASSERT_EQ(index.exitCode, 0) << index.err.toStdString();
    }
    void execute(const QString &batch) const
    {
        SharedDb db;
        db.open(databaseConnectString(), 10);
        db.exec(batch);
    }
    void setHostEntry(int entry, const QString &value) const
    {
        ProfileFile host(systemFolder() + QStringLiteral("/HostCfg.ini"));
        ASSERT_TRUE(host.writeString(QStringLiteral("HOSTCFG"), QString::number(entry), value));
        ASSERT_TRUE(host.save());
    }
    // The lines of the doctor's findings that are not notes.
    static QStringList problems(const CliResult &result)
    {
        QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        lines.removeIf([](const QString &line) { return line.startsWith(QStringLiteral("note ")); });
        return lines;
    }
};

TEST_F(CliDoctor, TheFreshDemoHasNothingToReport)
{
    const CliResult result = runCli({QStringLiteral("doctor")});
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString() << result.err.toStdString();
    EXPECT_EQ(problems(result), QStringList()) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains(QStringLiteral("note host: data source DbkeelDemo: SQLite")))
        << result.out.toStdString();
}

// The three field mistakes at once: a device that relations and the layout use deleted, a layout edited
// without a rebuilt index file, a component missing.
TEST_F(CliDoctor, NamesEachDamageWithWhatToDo)
{
    execute(QStringLiteral("delete from tb_id_devid where devid = 3;"
                           "update tb_line_info set stationip = '127.0.0.9' where lineid = 1 and stationid = 3;"));
    setHostEntry(86, demoFolder() + QStringLiteral("/components/libStationConfig.so"));
    const CliResult result = runCli({QStringLiteral("doctor")});
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    const QString out = result.out;
    for (const char *expected :
         {"error relations: tb_id_dev_item names device 3, which tb_id_devid does not hold -- add it to the dictionary",
          "error layout: the layout places device 3, which tb_id_devid does not hold -- correct the layout",
          "error index: LINEINFO differs: 2 keys", "-- rebuild the index files (dbkeel-cli index",
          "error host: entry 86 (station configuration manager) names "})
        EXPECT_TRUE(out.contains(QString::fromUtf8(expected))) << expected << "\n" << out.toStdString();
}

struct Damage {
    const char *statements;  // on the demo database
    const char *finding;
};

class CliDoctorDamage : public CliDoctor, public ::testing::WithParamInterface<Damage> {};

TEST_P(CliDoctorDamage, EachCheckOnADamagedCopy)
{
    execute(QString::fromUtf8(GetParam().statements));
    const CliResult result = runCli({QStringLiteral("doctor")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.contains(QString::fromUtf8(GetParam().finding))) << result.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Checks, CliDoctorDamage,
    ::testing::Values(
        Damage{"delete from tb_id_itemid where itemid = 200",
               "error relations: tb_id_dev_item names item 200, which tb_id_itemid does not hold"},
        Damage{"delete from tb_id_paramid where paramid = 9083",
               "error relations: tb_id_item_param names parameter 9083, which tb_id_paramid does not hold"},
        Damage{"delete from tb_id_param where devId = 3",
               "error relations: placed device 3 has no items in the run tables"},
        Damage{"insert into tb_line_info(linetype,lineid,stationid,devid,stationip,stationport) "
               "values (1,1,1,3,'127.0.0.1',15011)",
               "error layout: line 1 station 1 holds device 3 twice"},
        Damage{"update tb_line_info set stationport = 15011 where lineid = 1 and stationid = 2",
               "error layout: address 127.0.0.1 port 15011 is given to more than one station"},
        Damage{"update tb_line_info set linetype = 9 where lineid = 2", "error layout: the layout uses line type 9"},
        Damage{"update tb_line_info set lineid = 0 where stationid = 3 and devid = 4",
               "error layout: station 3 (device 4) is on no line"},
        Damage{"drop table tb_id_item_param", "error relations: could not check: "}));

TEST_F(CliDoctor, IndexFilesAndHostEntries)
{
    QFile::remove(demoFolder() + QStringLiteral("/config/UserID.dat"));
    setHostEntry(5, demoFolder() + QStringLiteral("/no-backups"));
    const CliResult result = runCli({QStringLiteral("doctor"), QStringLiteral("--json")});
    EXPECT_EQ(result.exitCode, 1);
    const QJsonArray findings = QJsonDocument::fromJson(result.out.toUtf8()).array();
    QStringList texts;
    for (const QJsonValue &finding : findings)
        if (finding[QStringLiteral("severity")].toString() != QStringLiteral("note"))
            texts << finding[QStringLiteral("check")].toString() + u' ' + finding[QStringLiteral("finding")].toString();
    ASSERT_EQ(texts.size(), 2) << result.out.toStdString();
    EXPECT_EQ(texts.at(0), QStringLiteral("host entry 5 (vehicle-type backups) names %1/no-backups, which is not there")
                               .arg(demoFolder()));
    EXPECT_TRUE(texts.at(1).startsWith(QStringLiteral("index %1/config/UserID.dat: ").arg(demoFolder())))
        << texts.at(1).toStdString();
}

// Line 1 goes to a real agent (one address for its three stations), line 2 station 1 to a port nobody
// listens on, line 2 station 2 to no address at all; station 3 of line 2 shares the agent's address.
TEST_F(CliDoctor, NetworkAsksEveryStationAtOnceAndNamesThoseThatDoNotAnswer)
{
    AgentProcess agent;
    ASSERT_TRUE(agent.isReady());
    const QString silent = QString::number(freeUdpPort());
    execute(QStringLiteral("update tb_line_info set stationport = %1 where lineid = 1 or stationid = 3;"
                           "update tb_line_info set stationport = %2 where lineid = 2 and stationid = 1;"
                           "update tb_line_info set stationip = 'station-2' where lineid = 2 and stationid = 2;")
                .arg(agent.portText(), silent));
    const QStringList expected{
        QStringLiteral("error network: line 2 (综检线) station 2 at station-2 port 15022: not an IP address and port"),
        QStringLiteral("warning network: line 2 (综检线) station 1 at 127.0.0.1 port %1: no answer to 1004 within "
                       "1500 ms")
            .arg(silent),
    };
    const auto networkLines = [](const QString &out) {
        return out.split(u'\n', Qt::SkipEmptyParts).filter(QRegularExpression(QStringLiteral("^\\w+ network: ")));
    };

    const CliResult plain = runCli({QStringLiteral("doctor")});
    EXPECT_EQ(networkLines(plain.out), QStringList()) << plain.out.toStdString();
    EXPECT_EQ(agent.logCount(QStringLiteral("console ")), 0);  // no packet without --network

    const CliResult result = runCli(
        {QStringLiteral("doctor"), QStringLiteral("--network"), QStringLiteral("--timeout"), QStringLiteral("1500")});
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    QStringList lines = networkLines(result.out);
    for (QString &line : lines)
        line = line.section(QStringLiteral(" -- "), 0, 0);
    EXPECT_EQ(lines, expected) << result.out.toStdString();
    EXPECT_TRUE(agent.waitForLog(QStringLiteral("console 远程 at ")));
    EXPECT_EQ(agent.logCount(QStringLiteral("console ")), 1);  // once per address, not per station

    const CliResult json = runCli({QStringLiteral("doctor"), QStringLiteral("--json"), QStringLiteral("--network"),
                                   QStringLiteral("--timeout"), QStringLiteral("1500")});
    QStringList found;
    for (const QJsonValue &finding : QJsonDocument::fromJson(json.out.toUtf8()).array())
        if (finding[QStringLiteral("check")].toString() == QStringLiteral("network"))
            found << QStringLiteral("%1 network: %2")
                         .arg(finding[QStringLiteral("severity")].toString(),
                              finding[QStringLiteral("finding")].toString());
    EXPECT_EQ(found, expected) << json.out.toStdString();

    for (const char *timeout : {"0", "soon", ""}) {
        const QStringList arguments{QStringLiteral("doctor"), QStringLiteral("--network"), QStringLiteral("--timeout")};
        EXPECT_EQ(runCli(*timeout ? arguments + QStringList{QString::fromUtf8(timeout)} : arguments).exitCode, 2)
            << timeout;
    }
}

TEST_F(CliDoctor, CouldNotCheckExitsTwo)
{
    const QString empty = demoFolder() + QStringLiteral("/empty");
    ASSERT_TRUE(QDir().mkpath(empty));
    EXPECT_EQ(runCli({QStringLiteral("--sysdir"), empty, QStringLiteral("doctor")}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("doctor"), QStringLiteral("--all")}).exitCode, 2);
}

TEST_F(CliDoctor, HistoryListShowAndRestoreUndoAnImport)
{
    const QString bundle = demoFolder() + QStringLiteral("/ALLLINEDATA.ALLINE");
    ASSERT_EQ(runCli({QStringLiteral("bundle"), QStringLiteral("export"), bundle}).exitCode, 0);
    execute(QStringLiteral("delete from tb_id_devid where devid > 3"));
    const CliResult imported = runCli({QStringLiteral("bundle"), QStringLiteral("import"), bundle});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.err.contains(QStringLiteral("历史记录: %1/config/history/").arg(demoFolder())))
        << imported.err.toStdString();

    const CliResult list = runCli({QStringLiteral("history"), QStringLiteral("list")});
    ASSERT_EQ(list.exitCode, 0);
    const QStringList entries = list.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(entries.size(), 5) << list.out.toStdString();
    EXPECT_TRUE(entries.first().endsWith(QStringLiteral("bundle-import  tb_id_devid 3"))) << list.out.toStdString();
    const QString id = entries.first().section(u' ', 0, 0);

    const CliResult show = runCli({QStringLiteral("history"), QStringLiteral("show"), id});
    EXPECT_TRUE(show.out.contains(QStringLiteral("[tb_id_devid] 3 rows\n"))) << show.out.toStdString();

    const CliResult restored = runCli({QStringLiteral("history"), QStringLiteral("restore"), id});
    ASSERT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_EQ(restored.out, QStringLiteral("restored tb_id_devid 3\nrebuild the run tables: dbkeel-cli bundle rebuild\n"
                                           "rebuild the index files: dbkeel-cli index\n"));
    SharedDb db;
    db.open(databaseConnectString(), 10);
    SqlCursor count = db.query(QStringLiteral("select count(*) from tb_id_devid"));
    ASSERT_TRUE(count.next());
    EXPECT_EQ(count.text(0), QStringLiteral("3"));

    EXPECT_EQ(runCli({QStringLiteral("history"), QStringLiteral("restore"), QStringLiteral("nothing")}).exitCode, 2);
}

}  // namespace
}  // namespace dbkeel::test
