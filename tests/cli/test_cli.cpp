// dbkeel-cli: arguments, and finding the installation it works on.

#include "tests/cli/CliFixture.h"

#include <QDir>
#include <QFile>

namespace dbkeel::test {
namespace {

using Cli = CliFixture;

TEST_F(Cli, HelpAndVersionNeedNoInstallation)
{
    const CliResult help = runCli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("commands:"))) << help.out.toStdString();
    const CliResult version = runCli({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("dbkeel-cli "))) << version.out.toStdString();
}

TEST_F(Cli, BadArgumentsCannotStart)
{
    const QList<QStringList> cases = {
        {},
        {QStringLiteral("no-such-command")},
        {QStringLiteral("--sysdir")},
    };
    for (const QStringList &arguments : cases) {
        const CliResult result = runCli(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.err.contains(QStringLiteral("usage:")) || result.err.contains(QStringLiteral("--sysdir")))
            << result.err.toStdString();
    }
}

TEST_F(Cli, CheckFindsTheInstallationOfTheSystemDirectory)
{
    const CliResult found = runCli({QStringLiteral("check")});
    EXPECT_EQ(found.exitCode, 0) << found.err.toStdString();
    EXPECT_TRUE(found.out.contains(QStringLiteral("database: DbkeelDemo (SQLite)"))) << found.out.toStdString();

    // --sysdir wins over $DBKEEL_SYSDIR; a folder without the host library cannot start.
    QTemporaryDir empty;
    const CliResult missing = runCli({QStringLiteral("--sysdir"), empty.path(), QStringLiteral("check")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.out.contains(empty.path())) << missing.out.toStdString();
}

TEST_F(Cli, CheckReportsADatabaseThatDoesNotOpen)
{
    // The data source names a database file in a folder that does not exist.
    QFile odbc(demoFolder() + QStringLiteral("/odbc.ini"));
    ASSERT_TRUE(odbc.open(QIODevice::WriteOnly | QIODevice::Truncate));
    odbc.write("[DbkeelDemo]\nDriver = SQLite3\nDatabase = /nonexistent/folder/x.db\n");
    odbc.close();
    const CliResult result = runCli({QStringLiteral("check")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_FALSE(result.err.isEmpty());
}

TEST_F(Cli, CheckNamesAMissingDatabaseFileAndDoesNotCreateIt)
{
    const QString moved = demoFolder() + QStringLiteral("/moved.db");
    QFile odbc(demoFolder() + QStringLiteral("/odbc.ini"));
    ASSERT_TRUE(odbc.open(QIODevice::WriteOnly | QIODevice::Truncate));
    odbc.write(QStringLiteral("[DbkeelDemo]\nDriver = SQLite3\nDatabase = %1\n").arg(moved).toUtf8());
    odbc.close();
    const CliResult result = runCli({QStringLiteral("check")});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_TRUE(result.err.contains(moved)) << result.err.toStdString();
    EXPECT_FALSE(QFile::exists(moved)) << "check created an empty database";
}

}  // namespace
}  // namespace dbkeel::test
