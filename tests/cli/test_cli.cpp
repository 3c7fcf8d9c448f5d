// dbkeel-cli: arguments, and finding the installation it works on.

#include "CliFixture.h"

#include <QDir>

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

}  // namespace
}  // namespace dbkeel::test
