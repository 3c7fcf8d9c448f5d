#include "tests/cli/CliFixture.h"

#include "core/HostLib.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QProcess>

namespace dbkeel::test {

void CliFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_NO_FATAL_FAILURE(runMakeDemoDb({demoFolder()}));
    const QString library = HostLib::libraryFileName(1);
    ASSERT_TRUE(QFile::copy(buildBinDir() + QLatin1Char('/') + library, systemFolder() + QLatin1Char('/') + library));
}

QString CliFixture::databaseConnectString() const
{
    return sqliteConnectString(databasePath());
}

CliResult CliFixture::runCli(const QStringList &arguments) const
{
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ODBCINI"), m_dir.filePath(QStringLiteral("odbc.ini")));
    environment.insert(QStringLiteral("DBKEEL_SYSDIR"), systemFolder());
    cli.setProcessEnvironment(environment);
    cli.start(buildBinDir() + QStringLiteral("/dbkeel-cli"), arguments);
    CliResult result;
    if (!cli.waitForFinished(120000)) {
        cli.kill();
        cli.waitForFinished();
        ADD_FAILURE() << "dbkeel-cli did not finish";
        return result;
    }
    result.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    result.out = QString::fromUtf8(cli.readAllStandardOutput());
    result.err = QString::fromUtf8(cli.readAllStandardError());
    return result;
}

}  // namespace dbkeel::test
