// What the connection learns at connect on SQL Server and what follows from it: the version and the
// statement forms each version takes, the Chinese round trip, a connect string with braced values.

#include "core/Database.h"
#include "core/SharedDb.h"
#include "core/WriteHistory.h"
#include "platform/Profile.h"
#include "screens/JobRunner.h"
#include "stats/StatTableEditor.h"
#include "stats/VehicleTransfer.h"
#include "tests/support/RecordingServer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>

namespace dbkeel::test {
namespace {

const struct {
    const char *dbmsVer;
    int major;
    const char *release;
} kVersions[] = {
    {"08.00.2039", 8, "SQL Server 2000"},
    {"09.00.5000", 9, "SQL Server 2005"},
    {"10.50.1600", 10, "SQL Server 2008"},
    {"16.00.1000", 16, "SQL Server 2022"},
};

TEST(SqlServerVersions, TheVersionIsReadAtConnect)
{
    for (const auto &v : kVersions) {
        RecordingServer server(QLatin1String(v.dbmsVer));
        SharedDb db;
        db.open(server.connectString(), 10);
        EXPECT_EQ(db.dbmsVersion(), QLatin1String(v.dbmsVer));
        EXPECT_EQ(db.serverVersion(), QStringLiteral("Microsoft SQL Server ") + QLatin1String(v.dbmsVer));
        EXPECT_EQ(db.sqlServerMajor(), v.major) << v.dbmsVer;
        EXPECT_EQ(sqlServerRelease(db.sqlServerMajor()), QLatin1String(v.release));
    }
}

// SysProperties exists only on SQL Server 2000; from 2005 the column descriptions are in
// sys.extended_properties.
TEST(SqlServerVersions, TheStatisticsColumnQueriesTakeTheFormOfTheServer)
{
    for (const auto &v : kVersions) {
        RecordingServer server(QLatin1String(v.dbmsVer));
        SharedDb db;
        db.open(server.connectString(), 10);
        db.exec(statColumnsQuery(db.dialect(), db.sqlServerMajor()));
        db.exec(statScriptColumnsQuery(QStringLiteral("tb_stat_all"), db.sqlServerMajor()));
        const QStringList sent = server.statements();
        ASSERT_EQ(sent.size(), 2);
        for (const QString &text : sent) {
            EXPECT_EQ(text.contains(QStringLiteral("SysProperties"), Qt::CaseInsensitive), v.major == 8) << v.dbmsVer;
            EXPECT_EQ(text.contains(QStringLiteral("sys.extended_properties")), v.major >= 9) << v.dbmsVer;
            EXPECT_TRUE(text.contains(QStringLiteral(" as Remark"))) << v.dbmsVer;
        }
    }
}

// INSERT … VALUES (…),(…) needs SQL Server 2008: before it every row is a statement of its own, all in
// the table's one transaction.
TEST(SqlServerVersions, TheVehicleTypeImportInsertsOneRowPerStatementBefore2008)
{
    historySettings().enabled = false;
    QTemporaryDir dir;
    const QString path = vehicleDataFilePath(dir.path());
    {
        ProfileFile file(path);
        const QString table = QStringLiteral("tb_type_fdjxh");
        file.writeString(table, QStringLiteral("Itemsum"), QStringLiteral("2"));
        file.writeString(table, QStringLiteral("Itemname"), QStringLiteral("fdjxh,pl"));
        for (int i = 0; i < 3; ++i)
            file.writeString(table, QStringLiteral("Itemval_%1").arg(i),
                             vehicleRowText({QStringLiteral("4G%1").arg(i), QStringLiteral("1.%1").arg(i)}));
        file.writeString(table, QStringLiteral("Itemvalsum"), QStringLiteral("3"));
        ASSERT_TRUE(file.save());
    }
    for (const auto &v : kVersions) {
        RecordingServer server(QLatin1String(v.dbmsVer));
        server.setScript(QStringLiteral("on syscolumns\nrows name\nrow id\nrow fdjxh\nrow pl\n"));
        JobRunner runner;
        TransferReport report;
        runner.start([&](JobContext &job) { importVehicleTypes(job, path, report); }, server.connectString());
        ASSERT_TRUE(runner.wait(std::chrono::seconds(60)));
        EXPECT_EQ(report.warnings, QStringList()) << v.dbmsVer;

        QStringList fdjxh = server.log().filter(QStringLiteral("tb_type_fdjxh"));
        fdjxh.removeIf([](const QString &line) { return line.contains(QStringLiteral("syscolumns")); });
        const QStringList inserts = fdjxh.filter(QStringLiteral("insert into"));
        EXPECT_EQ(inserts.size(), v.major < 10 ? 3 : 1) << v.dbmsVer;
        EXPECT_EQ(inserts.join(u'\n').count(QStringLiteral("'4G")), 3) << v.dbmsVer;
        // The clear and every insert, then one commit.
        const QStringList log = server.log();
        const qsizetype cleared = log.indexOf(QStringLiteral("exec: delete from tb_type_fdjxh"));
        ASSERT_GE(cleared, 0) << v.dbmsVer;
        EXPECT_EQ(log.mid(cleared + 1, inserts.size()), inserts) << v.dbmsVer;
        EXPECT_EQ(log.value(cleared + 1 + inserts.size()), QStringLiteral("commit")) << v.dbmsVer;
    }
}

TEST(SqlServerVersions, TheChineseRoundTripNamesTheSettingToFix)
{
    const QString sent = QStringLiteral("机动车安全技术检验");
    const QString garbled = QStringLiteral("æœºåŠ¨è½¦å®‰å…¨æŠ€æœ¯æ£€éªŒ");  // UTF-8 read as Latin-1
    const struct {
        const char *why;
        QString plainBack, nationalBack;
        bool passed;
        const char *advice;  // a part of the advice
    } cases[] = {
        {"both come back", sent, sent, true, ""},
        {"no ClientCharset", garbled, garbled, false, "ClientCharset = UTF-8"},
        {"a collation without Chinese", QStringLiteral("?????????"), sent, false, "排序规则"},
    };
    for (const auto &c : cases) {
        RecordingServer server;
        if (c.plainBack != sent || c.nationalBack != sent)
            server.setScript(QStringLiteral("on ^select '\nrows |\nrow %1|%2\n").arg(c.plainBack, c.nationalBack));
        SharedDb db;
        db.open(server.connectString(), 10);
        const TextRoundTrip trip = chineseRoundTrip(db);
        EXPECT_EQ(server.statements(), QStringList{QStringLiteral("select '%1' , N'%1'").arg(sent)}) << c.why;
        EXPECT_EQ(trip.plainBack, c.plainBack) << c.why;
        EXPECT_EQ(trip.nationalBack, c.nationalBack) << c.why;
        EXPECT_EQ(trip.passed(), c.passed) << c.why;
        const QString fault = roundTripFault(trip, QStringLiteral("Inspection"));
        EXPECT_EQ(fault.isEmpty(), c.passed) << c.why;
        EXPECT_TRUE(fault.contains(QString::fromUtf8(c.advice))) << fault.toStdString();
        EXPECT_EQ(fault.contains(QStringLiteral("[Inspection]")), !trip.nationalEqual()) << fault.toStdString();
    }
}

// The driver manager finds a data source whose name holds ; and } when it is braced, and the driver is
// given the password whole.
TEST(SqlServerVersions, BracedValuesReachTheDriverWhole)
{
    RecordingServer server;
    const QString name = QStringLiteral("Line;A}");
    qputenv("ODBCINI", server.writeDataSource(name).toUtf8());
    const QString text = connectStringFor({name, QStringLiteral("sa"), QStringLiteral("{p;w}d")});
    EXPECT_EQ(text, QStringLiteral("DSN={Line;A}}};UID=sa;PWD={{p;w}}d};"));
    SharedDb db;
    db.open(text, 10);
    EXPECT_EQ(db.dialect(), Dialect::SqlServer);
    EXPECT_TRUE(server.log().contains(QStringLiteral("connect: ") + text));
}

}  // namespace
}  // namespace dbkeel::test
