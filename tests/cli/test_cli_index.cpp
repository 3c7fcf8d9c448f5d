// dbkeel-cli index on the demo installation: one line per part, the files written, the old files kept
// when a part fails, and the exit codes.

#include "tests/cli/CliFixture.h"

#include "core/SharedDb.h"
#include "platform/Profile.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dbkeel::test {
namespace {

using CliIndex = CliFixture;

const QByteArray kOldIndex = "[VERSIONINFO]\r\nVERSION=old\r\n";

TEST_F(CliIndex, BuildsTheDemoFilesWithOneLinePerPart)
{
    const CliResult result = runCli({QStringLiteral("index")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QStringList lines = result.out.trimmed().split(u'\n');
    ASSERT_EQ(lines.size(), 14) << result.out.toStdString();
    EXPECT_EQ(lines.first(), QStringLiteral("1 SubID: ok"));
    EXPECT_EQ(lines.at(12), QStringLiteral("13 UserID: ok"));
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("wrote "))) << lines.last().toStdString();
    const QString config = demoFolder() + QStringLiteral("/config/");
    EXPECT_EQ(readFileBytes(config + QStringLiteral("UserID.dat")).size(), 203204);
    const ProfileFile index(config + QStringLiteral("SystemIndex.ini"));
    EXPECT_EQ(index.readString(QStringLiteral("INDEXNUM"), QStringLiteral("NUMB2"), QString(), 20),
              QStringLiteral("36"));
    EXPECT_EQ(index.readString(QStringLiteral("VERSIONINFO"), QStringLiteral("DESCRIPT"), QString(), 20),
              QStringLiteral("StationCtl"));

    const CliResult quiet = runCli({QStringLiteral("index"), QStringLiteral("-q")});
    EXPECT_EQ(quiet.exitCode, 0) << quiet.err.toStdString();
    EXPECT_TRUE(quiet.out.isEmpty()) << quiet.out.toStdString();
}

TEST_F(CliIndex, FailedPartExitsOneAndKeepsTheOldFiles)
{
    {
        SharedDb db;
        db.open(databaseConnectString(), 10);
        db.exec(QStringLiteral("drop table tb_id_outline"));
    }
    const QString indexFile = demoFolder() + QStringLiteral("/config/SystemIndex.ini");
    writeFileBytes(indexFile, kOldIndex);
    const CliResult result = runCli({QStringLiteral("index"), QStringLiteral("-q")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.startsWith(QStringLiteral("6 OutLineID: failed: [SQLite]"))) << result.out.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("failed parts: OutLineID;"))) << result.err.toStdString();
    EXPECT_EQ(readFileBytes(indexFile), kOldIndex);
    EXPECT_FALSE(QFile::exists(demoFolder() + QStringLiteral("/config/UserID.dat")));
}

TEST_F(CliIndex, AnIndexFileThatCannotBeReplacedExitsOne)
{
    const QString indexFile = demoFolder() + QStringLiteral("/config/SystemIndex.ini");
    QFile::remove(indexFile);
    ASSERT_TRUE(QDir().mkpath(indexFile));
    const CliResult result = runCli({QStringLiteral("index"), QStringLiteral("-q")});
    EXPECT_EQ(result.exitCode, 1) << result.out.toStdString();
    EXPECT_TRUE(result.err.startsWith(QStringLiteral("dbkeel-cli index: "))) << result.err.toStdString();
    EXPECT_TRUE(QFileInfo(indexFile).isDir());
}

TEST_F(CliIndex, CouldNotStartExitsTwo)
{
    const QString empty = demoFolder() + QStringLiteral("/empty");
    ASSERT_TRUE(QDir().mkpath(empty));
    const CliResult noHost = runCli({QStringLiteral("--sysdir"), empty, QStringLiteral("index")});
    EXPECT_EQ(noHost.exitCode, 2);
    EXPECT_FALSE(noHost.err.isEmpty());

    const CliResult badArgument = runCli({QStringLiteral("index"), QStringLiteral("--now")});
    EXPECT_EQ(badArgument.exitCode, 2);

    ProfileFile host(systemFolder() + QStringLiteral("/HostCfg.ini"));
    ASSERT_TRUE(
        host.writeString(QStringLiteral("HOSTCFG"), QStringLiteral("0"), QStringLiteral("NoSuchSource,,,,,sa,x")));
    ASSERT_TRUE(host.save());
    const CliResult noDatabase = runCli({QStringLiteral("index")});
    EXPECT_EQ(noDatabase.exitCode, 2);
    EXPECT_TRUE(noDatabase.out.isEmpty()) << noDatabase.out.toStdString();
}

}  // namespace
}  // namespace dbkeel::test
