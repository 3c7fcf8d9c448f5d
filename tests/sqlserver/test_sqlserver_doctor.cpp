// dbkeel-cli on a demo installation whose data source is a SQL Server: the doctor reports the server's
// version and the Chinese round trip; the other commands refuse a connection that garbles Chinese text.

#include "tests/cli/CliFixture.h"
#include "tests/support/RecordingServer.h"

#include <QFile>

namespace dbkeel::test {
namespace {

const QString kGarbled = QStringLiteral("on ^select '\nrows |\nrow ?????????|æœºåŠ¨è½¦\n");

class SqlServerDoctor : public CliFixture {
protected:
    // The demo's data source DbkeelDemo moved onto the recording driver.
    void useServer(const RecordingServer &server) const
    {
        const QString odbcIni = demoFolder() + QStringLiteral("/odbc.ini");
        ASSERT_TRUE(QFile::remove(odbcIni));
        ASSERT_TRUE(QFile::copy(server.writeDataSource(QStringLiteral("DbkeelDemo")), odbcIni));
    }
};

TEST_F(SqlServerDoctor, ReportsTheVersionAndTheRoundTrip)
{
    const struct {
        const char *version;
        bool garbled;
        const char *expected;  // lines of the output
    } cases[] = {
        {"16.00.1000", false,
         "note host: data source DbkeelDemo: Microsoft SQL Server 16.00.1000 (SQL Server 2022)\n"
         "note host: Chinese text round trip: '机动车安全技术检验' and N'机动车安全技术检验' come back equal"},
        {"08.00.2039", false, "note host: data source DbkeelDemo: Microsoft SQL Server 08.00.2039 (SQL Server 2000)"},
        {"07.00.0623", false,
         "error host: SQL Server 7.0 is older than the oldest supported, SQL Server 2000 -- move the database to SQL "
         "Server 2000 or later (docs/database.md)"},
        {"10.50.1600", true,
         "error host: Chinese text round trip: '机动车安全技术检验' came back as '\?\?\?\?\?\?\?\?\?', N'机动车安全技术检验' "
         "as 'æœºåŠ¨è½¦' -- 请在 odbc.ini 的数据源[DbkeelDemo]中设置 ClientCharset = UTF-8 (FreeTDS),并把数据库的"
         "排序规则(collation)设为中文(如 Chinese_PRC_CI_AS)"},
    };
    for (const auto &c : cases) {
        RecordingServer server(QLatin1String(c.version));
        if (c.garbled)
            server.setScript(kGarbled);
        ASSERT_NO_FATAL_FAILURE(useServer(server));
        const CliResult result = runCli({QStringLiteral("doctor")});
        const QStringList lines = result.out.split(u'\n');
        for (const QString &line : QString::fromUtf8(c.expected).split(u'\n'))
            EXPECT_TRUE(lines.contains(line)) << c.version << "\n"
                                              << result.out.toStdString() << result.err.toStdString();
    }
}

// The doctor goes on to report it; every other command is refused the connection, naming the setting.
TEST_F(SqlServerDoctor, AConnectionThatGarblesChineseTextIsRefused)
{
    RecordingServer server;
    server.setScript(kGarbled);
    ASSERT_NO_FATAL_FAILURE(useServer(server));
    const CliResult result = runCli({QStringLiteral("check")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.contains(QStringLiteral("ClientCharset = UTF-8"))) << result.err.toStdString();

    server.setScript(QString());
    const CliResult fine = runCli({QStringLiteral("check")});
    EXPECT_EQ(fine.exitCode, 0) << fine.err.toStdString();
    EXPECT_TRUE(fine.out.contains(QStringLiteral("database: DbkeelDemo (SQL Server)\nserver: Microsoft SQL Server "
                                                 "16.00.1000\n")))
        << fine.out.toStdString();
}

}  // namespace
}  // namespace dbkeel::test
