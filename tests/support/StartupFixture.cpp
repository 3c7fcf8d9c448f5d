#include "tests/support/StartupFixture.h"

#include "core/AppState.h"
#include "core/Database.h"
#include "platform/Profile.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace dbkeel::test {

std::ostream &operator<<(std::ostream &out, const LogEntry &entry)
{
    return out << (entry.plain ? "" : "★") << entry.text.toStdString();
}

QString StartupFixture::demoFolder()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        runMakeDemoDb({dir.path()});
        // The host library where the program and the components look for it.
        const QString library = HostLib::libraryFileName(1);
        QFile::copy(buildBinDir() + QLatin1Char('/') + library, dir.filePath(QStringLiteral("system/") + library));
        qputenv("ODBCINI", dir.filePath(QStringLiteral("odbc.ini")).toUtf8());
        qputenv("DBKEEL_SYSDIR", dir.filePath(QStringLiteral("system")).toUtf8());
        return true;
    }();
    Q_UNUSED(made);
    return dir.path();
}

void StartupFixture::SetUp()
{
    demoFolder();
    m_logConnection = QObject::connect(&logHub(), &LogHub::entryAdded, [this](const QString &text, bool plain) {
        log.append({text, plain});
    });
    loadHost();
    DbReady = 0;
}

void StartupFixture::TearDown()
{
    QObject::disconnect(m_logConnection);
    CloseDb();
    hostLib().unload();
    DbReady = 0;
    DBODBCTYPE = 0;
}

void StartupFixture::resetDemoDatabase()
{
    CloseDb();
    runMakeDemoDb({QStringLiteral("--force"), demoFolder()});
}

void StartupFixture::emptyInstallation()
{
    CloseDb();
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(databasePath() + QLatin1String(suffix));
    QProcess sqlite;
    sqlite.setStandardInputFile(schemaFile());
    sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), databasePath()});
    ASSERT_TRUE(sqlite.waitForFinished(60000));
    ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().constData();
}

void StartupFixture::openSharedDb()
{
    sharedDb().open(sqliteConnectString(databasePath()), 5);
    DbReady = 1;
}

void StartupFixture::setHostEntries(const QMap<int, QString> &entries)
{
    ProfileFile file(demoFolder() + QStringLiteral("/system/HostCfg.ini"));
    for (auto it = entries.begin(); it != entries.end(); ++it)
        ASSERT_TRUE(file.writeString(QStringLiteral("HOSTCFG"), QString::number(it.key()), it.value()));
    ASSERT_TRUE(file.save()) << file.lastError().toStdString();
    loadHost();
}

void StartupFixture::loadHost()
{
    hostLib().unload();
    ASSERT_EQ(hostLib().load(1, buildBinDir()), 1) << hostLib().errorString().toStdString();
    ASSERT_GT(hostLib().getHostCfg(hostConfig()), 0);
}

}  // namespace dbkeel::test
