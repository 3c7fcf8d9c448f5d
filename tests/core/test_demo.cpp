#include "core/SharedDb.h"
#include "platform/Gbk.h"
#include "tests/support/TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dbkeel::test {
namespace {

class MakeDemoDbTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString demo() const { return dir.filePath(QStringLiteral("演示 demo")); }  // blanks and Chinese in the path
    QString database() const { return demo() + QStringLiteral("/dbkeel-demo.db"); }

    int makeDemo(const QStringList &arguments)
    {
        QProcess script;
        script.start(sourceDir() + QStringLiteral("/scripts/make-demo-db"), arguments);
        if (!script.waitForFinished(60000))
            return -1;
        output = script.readAllStandardOutput() + script.readAllStandardError();
        return script.exitCode();
    }
    QString query(const QString &text)
    {
        SharedDb db;
        db.open(sqliteConnectString(database(), QString()), 5);
        SqlCursor cursor = db.query(text);
        return cursor.next() ? cursor.text(0) : QString();
    }
    QByteArray output;
};

TEST_F(MakeDemoDbTest, CreatesDatabaseDataSourceAndHostConfiguration)
{
    ASSERT_EQ(makeDemo({demo()}), 0) << output.constData();
    EXPECT_EQ(query(QStringLiteral("select count(*) from tb_user where UserName = 'admin'")), QStringLiteral("1"));

    const QString odbcIni = QString::fromUtf8(readFileBytes(demo() + QStringLiteral("/odbc.ini")));
    EXPECT_TRUE(odbcIni.startsWith(QStringLiteral("[DbkeelDemo]\n")));
    for (const QString &line : {QStringLiteral("Driver      = SQLite3"), QStringLiteral("Database    = ") + database(),
                                QStringLiteral("JournalMode = WAL"), QStringLiteral("StepAPI     = 1")})
        EXPECT_TRUE(odbcIni.contains(line + QLatin1Char('\n'))) << line.toStdString();

    const QString hostCfg = fromGbk(readFileBytes(demo() + QStringLiteral("/system/HostCfg.ini")));
    EXPECT_TRUE(hostCfg.startsWith(QStringLiteral("[HOSTCFG]\r\n0=DbkeelDemo,,127.0.0.1,,,sa,secret,127.0.0.1\r\n"
                                                  "1=DbkeelDemo,,127.0.0.1,,,sa,secret,127.0.0.1\r\n")))
        << hostCfg.toStdString();
    EXPECT_TRUE(hostCfg.contains(QStringLiteral("\r\n2=") + demo() + QStringLiteral("/program\r\n")));
}

TEST_F(MakeDemoDbTest, KeepsAnExistingDatabaseUnlessForced)
{
    ASSERT_EQ(makeDemo({demo()}), 0) << output.constData();
    {
        SharedDb db;
        db.open(sqliteConnectString(database(), QString()), 5);
        db.exec(QStringLiteral("delete from tb_user"));
    }
    ASSERT_EQ(makeDemo({demo()}), 0) << output.constData();
    EXPECT_EQ(query(QStringLiteral("select count(*) from tb_user")), QStringLiteral("0"));
    ASSERT_EQ(makeDemo({QStringLiteral("--force"), demo()}), 0) << output.constData();
    EXPECT_EQ(query(QStringLiteral("select count(*) from tb_user")), QStringLiteral("3"));
}

TEST_F(MakeDemoDbTest, RefusesAMissingFolderArgument)
{
    EXPECT_EQ(makeDemo({}), 2);
    EXPECT_EQ(makeDemo({QStringLiteral("--forse"), demo()}), 2);
    EXPECT_FALSE(QFile::exists(demo()));
}

}  // namespace
}  // namespace dbkeel::test
