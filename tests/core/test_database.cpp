#include "core/AppState.h"
#include "core/Database.h"
#include "core/DbWatchdog.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace dbkeel::test {
namespace {

using namespace std::chrono_literals;

// The folder of the data source file. unixODBC keeps what it read from a data source file for the
// life of the process, so every test uses the same file (set as ODBCINI before the first connection)
// and the same database path, recreated for each test.
const QTemporaryDir &dataSourceFolder()
{
    static const QTemporaryDir dir;
    static const bool prepared = [] {
        writeFileBytes(dir.filePath(QStringLiteral("odbc.ini")),
                       QStringLiteral("[DbkeelTest]\nDriver=SQLite3\nDatabase=%1\nStepAPI=1\n"
                                      "[Dbkeel;Test]\nDriver=SQLite3\nDatabase=%1\n"
                                      "[ServerSource]\nDriver=FreeTDS\nServer=192.0.2.1\nPort=1433\n")
                           .arg(dir.filePath(QStringLiteral("test.db")))
                           .toUtf8());
        qputenv("ODBCINI", dir.filePath(QStringLiteral("odbc.ini")).toUtf8());
        qputenv("DBKEEL_SYSDIR", dir.path().toUtf8());
        return true;
    }();
    Q_UNUSED(prepared);
    return dir;
}

// The data source DbkeelTest on a fresh database file, a host configuration naming it,
// and the real host library loaded with that configuration.
class HostDbFixture : public ::testing::Test {
protected:
    const QTemporaryDir &dir = dataSourceFolder();

    QString databasePath() const { return dir.filePath(QStringLiteral("test.db")); }

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        CloseDb();
        QFile::remove(databasePath());
        SharedDb seed;  // the database file exists before the tests probe it
        seed.open(sqliteConnectString(databasePath(), QString()), 5);
        seed.exec(QStringLiteral("create table t (a integer)"));
        configure(QStringLiteral("DbkeelTest,,127.0.0.1,,,sa,secret,127.0.0.1"),
                  QStringLiteral("NoSuchSource,,10.0.0.1,,,remote,pw,"));
        DbReady = 0;
        ExitRequested = 0;
        ServerReachable = 0;
        DBODBCTYPE = 0;
    }
    void TearDown() override
    {
        CloseDb();
        hostLib().unload();
        ExitRequested = 0;
        DBODBCTYPE = 0;
    }
    void configure(const QString &entry0, const QString &entry1)
    {
        writeFileBytes(dir.filePath(QStringLiteral("HostCfg.ini")),
                       QStringLiteral("[HOSTCFG]\r\n0=%1\r\n1=%2\r\n").arg(entry0, entry1).toUtf8());
        hostLib().unload();
        ASSERT_EQ(hostLib().load(1, buildBinDir()), 1) << hostLib().errorString().toStdString();
        ASSERT_GT(hostLib().getHostCfg(hostConfig()), 0);
    }
    // Waits until the condition holds, at most a few seconds.
    template <typename Condition>
    static bool eventually(Condition condition)
    {
        for (int i = 0; i < 500 && !condition(); ++i)
            std::this_thread::sleep_for(10ms);
        return condition();
    }
};

using OpenDbTest = HostDbFixture;

TEST_F(OpenDbTest, CredentialsComeFromTheEntryOfTheDatabaseType)
{
    const struct {
        int type;
        const char *connect;
    } cases[] = {
        {0, "DSN=DbkeelTest;UID=sa;PWD=secret;NoCreat=1;"},  // the embedded database's source
        {1, "DSN=NoSuchSource;UID=remote;PWD=pw;"},
        {2, "DSN=;UID=;PWD=;"},
        {-1, "DSN=;UID=;PWD=;"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(connectStringFor(databaseCredentials(c.type)), QLatin1String(c.connect)) << c.type;
}

// Values as ODBC reads them: braced, } doubled, when they hold ; or } or start with {. The embedded
// database's driver knows no braces and no users: a user or password that needs them is left out.
TEST_F(OpenDbTest, ConnectStringValuesAreBracedWhereTheyWouldBeCut)
{
    const struct {
        const char *dataSource, *password, *connect;
    } cases[] = {
        {"ServerSource", "pw", "DSN=ServerSource;UID=sa;PWD=pw;"},
        {"ServerSource", "", "DSN=ServerSource;UID=sa;PWD=;"},
        {"ServerSource", "a;b", "DSN=ServerSource;UID=sa;PWD={a;b};"},
        {"ServerSource", "a}b", "DSN=ServerSource;UID=sa;PWD={a}}b};"},
        {"ServerSource", "{ab}", "DSN=ServerSource;UID=sa;PWD={{ab}}};"},
        {"ServerSource", "a{b", "DSN=ServerSource;UID=sa;PWD=a{b;"},
        {"Line;A}", "x;Database=other.db", "DSN={Line;A}}};UID=sa;PWD={x;Database=other.db};"},
        {"DbkeelTest", "secret", "DSN=DbkeelTest;UID=sa;PWD=secret;NoCreat=1;"},
        {"DbkeelTest", "x;Database=other.db", "DSN=DbkeelTest;UID=sa;NoCreat=1;"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(connectStringFor(
                      {QString::fromUtf8(c.dataSource), QStringLiteral("sa"), QString::fromUtf8(c.password)}),
                  QLatin1String(c.connect))
            << c.password;
}

// Unbraced, "x;Database=<file>" as a password made the embedded driver open that file instead.
TEST_F(OpenDbTest, APasswordHoldingASemicolonDoesNotChooseTheDatabase)
{
    const QString other = dir.filePath(QStringLiteral("other.db"));
    {
        SharedDb seed;
        seed.open(sqliteConnectString(other, QString()), 5);
        seed.exec(QStringLiteral("create table elsewhere (a integer)"));
    }
    configure(QStringLiteral("DbkeelTest,,127.0.0.1,,,sa,x;Database=%1;,127.0.0.1").arg(other), QString());
    QString error;
    ASSERT_EQ(OpenDb(error), 1) << error.toStdString();
    EXPECT_TRUE(sharedDb().exists(QStringLiteral("select name from sqlite_master where name = 't'")));
    CloseDb();
    QFile::remove(other);
}

// The embedded database's driver cannot read a braced data-source name: refused with the name.
TEST_F(OpenDbTest, AnEmbeddedDataSourceNameHoldingASemicolonIsRefusedByName)
{
    configure(QStringLiteral("Dbkeel;Test,,127.0.0.1,,,sa,secret,127.0.0.1"), QString());
    DbReady = 1;
    QString error;
    EXPECT_EQ(OpenDb(error), 0);
    EXPECT_TRUE(error.contains(QStringLiteral("(Dbkeel;Test)"))) << error.toStdString();
    EXPECT_EQ(DbReady, 0);
    EXPECT_FALSE(sharedDb().isOpen());
}

TEST_F(OpenDbTest, OpensOnceAndLeavesTheErrorTextAloneWhileOpen)
{
    QString error = QStringLiteral("earlier text");
    ASSERT_EQ(OpenDb(error), 1) << error.toStdString();
    EXPECT_TRUE(sharedDb().isOpen());
    EXPECT_EQ(connectString(), QStringLiteral("DSN=DbkeelTest;UID=sa;PWD=secret;NoCreat=1;"));
    sharedDb().exec(QStringLiteral("insert into t values (1)"));

    DBODBCTYPE = 1;  // would fail if it reconnected
    EXPECT_EQ(OpenDb(error), 1);
    EXPECT_EQ(error, QStringLiteral("earlier text"));
    EXPECT_EQ(sharedDb().query(QStringLiteral("select count(*) from t")).next(), true);

    CloseDb();
    EXPECT_FALSE(sharedDb().isOpen());
    CloseDb();  // closing a closed connection does nothing
}

TEST_F(OpenDbTest, FailureGivesTheReasonAndClearsDbReady)
{
    const struct {
        int type;
        const char *reason;
    } cases[] = {
        {1, "[unixODBC][Driver Manager]Data source name not found"},  // entry 1 names an unknown source
        {2, "没有数据源名称"},  // no entry: an empty name is refused, not sent to the driver manager
    };
    for (const auto &c : cases) {
        DBODBCTYPE = c.type;
        DbReady = 1;
        QString error;
        EXPECT_EQ(OpenDb(error), 0) << c.type;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason))) << error.toStdString();
        EXPECT_EQ(DbReady, 0);
        EXPECT_FALSE(sharedDb().isOpen());
    }
}

TEST_F(OpenDbTest, AMissingDatabaseFileIsNamedAndNeverCreated)
{
    ASSERT_TRUE(QFile::remove(databasePath()));
    DbReady = 1;
    QString error;
    EXPECT_EQ(OpenDb(error), 0);
    EXPECT_TRUE(error.contains(databasePath())) << error.toStdString();
    EXPECT_EQ(DbReady, 0);
    // Connections of their own (long jobs, components, the index build) use the same connect string.
    SharedDb job;
    EXPECT_THROW(job.open(connectStringFor(databaseCredentials(0)), 5), DbError);
    EXPECT_FALSE(QFile::exists(databasePath())) << "the driver created an empty database";
}

using WatchdogTest = HostDbFixture;

TEST_F(WatchdogTest, ProbesTheServerOfEntryZeroOrItsDatabaseFile)
{
    const struct {
        const char *entry0;
        const char *address;
    } cases[] = {
        {"ServerSource,,10.0.0.2,,,u,p, 10.0.0.7 ", "10.0.0.7"},
        {"ServerSource,,10.0.0.2,,,u,p,", "10.0.0.2"},
        {"ServerSource,,10.0.0.2,,,u,p", "10.0.0.2"},
        {"ServerSource,,10.0.0.2,,,u,p,  ", "10.0.0.2"},
    };
    for (const auto &c : cases) {
        configure(QLatin1String(c.entry0), QString());
        const DatabaseProbe probe = DatabaseProbe::fromConfiguration();
        EXPECT_EQ(probe.serverAddress, QLatin1String(c.address)) << c.entry0;
        EXPECT_EQ(probe.databaseFile, QString()) << c.entry0;
    }
    configure(QStringLiteral("DbkeelTest,,127.0.0.1,,,sa,secret,127.0.0.1"), QString());
    EXPECT_EQ(DatabaseProbe::fromConfiguration().databaseFile, databasePath());
}

TEST_F(WatchdogTest, DatabaseFileIsReachableOnlyWhileItExists)
{
    DatabaseProbe probe;
    probe.databaseFile = databasePath();
    EXPECT_TRUE(probe.reachable());
    probe.databaseFile = dir.filePath(QStringLiteral("missing.db"));
    EXPECT_FALSE(probe.reachable());
    probe.databaseFile = dir.path();  // a folder is no database file
    EXPECT_FALSE(probe.reachable());
}

TEST_F(WatchdogTest, ServerProbeFailsOnAClosedPort)
{
    DatabaseProbe probe;
    probe.serverAddress = QStringLiteral("127.0.0.1");  // nothing listens on 1433 here
    EXPECT_FALSE(probe.reachable());
}

const WatchdogTiming kQuick{50ms, 20ms, 20ms, 10ms};

TEST_F(WatchdogTest, BringsDbReadyBackAfterItWasCleared)
{
    DbWatchdog watchdog(kQuick);
    watchdog.start();
    ASSERT_TRUE(eventually([] { return DbReady == 1; }));
    EXPECT_TRUE(sharedDb().isOpen());
    EXPECT_EQ(ServerReachable, 1);

    DbReady = 0;  // as a failed statement's handler does
    EXPECT_TRUE(eventually([] { return DbReady == 1; }));

    CloseDb();  // the connection itself gone: reopened
    DbReady = 0;
    EXPECT_TRUE(eventually([] { return DbReady == 1 && sharedDb().isOpen(); }));
    watchdog.stop();
    EXPECT_FALSE(watchdog.isRunning());
}

TEST_F(WatchdogTest, MissingDatabaseFileIsNotOpened)
{
    ASSERT_TRUE(QFile::remove(databasePath()));
    ServerReachable = 1;
    DbWatchdog watchdog(kQuick);
    watchdog.start();
    EXPECT_TRUE(eventually([] { return ServerReachable == 0; }));
    std::this_thread::sleep_for(100ms);
    watchdog.stop();
    EXPECT_EQ(DbReady, 0);
    EXPECT_FALSE(sharedDb().isOpen());
    EXPECT_FALSE(QFile::exists(databasePath())) << "the driver would have created an empty database";
}

// The database file as an administrator may swap it under the running program: removed with its
// -wal and -shm, then a copy put back (a new file under the old name).
class ReplacedDatabaseFileTest : public WatchdogTest {
protected:
    DbWatchdog watchdog{kQuick};
    DatabaseProbe probe;

    void SetUp() override
    {
        WatchdogTest::SetUp();
        probe = DatabaseProbe::fromConfiguration();
        ASSERT_TRUE(watchdog.checkConnection(probe));
        sharedDb().query(QStringLiteral("pragma journal_mode=wal")).next();  // as the demo's data source has it
        sharedDb().exec(QStringLiteral("insert into t values (1)"));
        ASSERT_TRUE(QFile::exists(databasePath() + QStringLiteral("-wal")));
        ASSERT_TRUE(QFile::copy(databasePath(), copyPath()));
    }
    void TearDown() override
    {
        WatchdogTest::TearDown();
        for (const QString &name : QDir(dir.path()).entryList({QStringLiteral("*.db*")}, QDir::Files))
            QFile::remove(dir.filePath(name));
    }

    QString copyPath() const { return dir.filePath(QStringLiteral("copy.db")); }
    void removeDatabaseFile()
    {
        for (const char *suffix : {"", "-wal", "-shm"})
            ASSERT_TRUE(QFile::remove(databasePath() + QLatin1String(suffix))) << suffix;
    }
    void putCopyBack() { ASSERT_TRUE(QFile::copy(copyPath(), databasePath())); }
    // The values of t in the file on disk, through a connection of its own.
    QString valuesOnDisk() const
    {
        SharedDb reader;
        reader.open(sqliteConnectString(databasePath(), QString()), 5);
        QStringList values;
        SqlCursor cursor = reader.query(QStringLiteral("select a from t order by a"));
        while (cursor.next())
            values << cursor.text(0);
        return values.join(QLatin1Char('|'));
    }
};

TEST_F(ReplacedDatabaseFileTest, TheConnectionMovesToTheNewFileAndItsRowsReachTheDisk)
{
    removeDatabaseFile();
    putCopyBack();
    sharedDb().exec(QStringLiteral("insert into t values (2)"));  // into the removed file: lost

    EXPECT_TRUE(watchdog.checkConnection(probe));
    EXPECT_EQ(DbReady, 1);
    sharedDb().exec(QStringLiteral("insert into t values (3)"));
    EXPECT_EQ(valuesOnDisk(), QStringLiteral("3"));  // the copy was taken before row 1 left the -wal
}

TEST_F(ReplacedDatabaseFileTest, ARemovedFileLosesTheConnectionUntilAFileIsBack)
{
    removeDatabaseFile();
    EXPECT_FALSE(watchdog.checkConnection(probe));
    EXPECT_EQ(DbReady, 0);
    EXPECT_EQ(ServerReachable, 0);
    EXPECT_FALSE(sharedDb().isOpen());
    EXPECT_FALSE(QFile::exists(databasePath())) << "the driver would have created an empty database";

    putCopyBack();
    EXPECT_TRUE(watchdog.checkConnection(probe));
    sharedDb().exec(QStringLiteral("insert into t values (3)"));
    EXPECT_EQ(valuesOnDisk(), QStringLiteral("3"));
}

TEST_F(ReplacedDatabaseFileTest, TheRunningWatchdogNoticesWithinItsIdleWait)
{
    DbReady = 0;  // 1 again once the thread has checked the connection
    watchdog.start();
    ASSERT_TRUE(eventually([] { return DbReady == 1; }));
    removeDatabaseFile();
    EXPECT_TRUE(eventually([] { return DbReady == 0 && !sharedDb().isOpen(); }));
    putCopyBack();
    EXPECT_TRUE(eventually([] { return DbReady == 1 && sharedDb().isOpen(); }));
    sharedDb().exec(QStringLiteral("insert into t values (3)"));
    watchdog.stop();
    EXPECT_EQ(valuesOnDisk(), QStringLiteral("3"));
}

// How an administrator may put another database under the name of the running program's file,
// leaving the old file's -wal and -shm beside it.
enum class Swap { MovedOverIt, RenamedAwayAndCopied, DeletedAndCopied };

// The old journal must never be applied to the new file.
class SwappedDatabaseFileTest : public ReplacedDatabaseFileTest, public ::testing::WithParamInterface<Swap> {
protected:
    QString otherPath() const { return dir.filePath(QStringLiteral("other.db")); }

    void SetUp() override
    {
        ReplacedDatabaseFileTest::SetUp();
        // Enough rows in the old file's -wal to cover most pages of the other database.
        sharedDb().exec(QStringLiteral("create table filler (b text)"));
        for (int i = 0; i < 20; ++i)
            sharedDb().exec(QStringLiteral("insert into filler values (printf('%.*c', 2000, 'x'))"));
        SharedDb other;
        other.open(QStringLiteral("DRIVER=SQLite3;Database=%1;").arg(otherPath()), 5);
        other.exec(QStringLiteral("create table u (c text)"));
        other.exec(QStringLiteral("create table t (a integer)"));
        for (int i = 0; i < 20; ++i)
            other.exec(QStringLiteral("insert into u values (printf('%.*c', 1500, 'y'))"));
        other.exec(QStringLiteral("insert into t values (7)"));
        ASSERT_TRUE(watchdog.checkConnection(probe));  // a cycle of the watchdog before the swap
    }
    void swap(Swap way) const
    {
        switch (way) {
        case Swap::MovedOverIt: ASSERT_EQ(::rename(qPrintable(otherPath()), qPrintable(databasePath())), 0); break;
        case Swap::RenamedAwayAndCopied:
            ASSERT_TRUE(QFile::rename(databasePath(), dir.filePath(QStringLiteral("aside.db"))));
            ASSERT_TRUE(QFile::copy(otherPath(), databasePath()));
            break;
        case Swap::DeletedAndCopied:
            ASSERT_TRUE(QFile::remove(databasePath()));
            ASSERT_TRUE(QFile::copy(otherPath(), databasePath()));
            break;
        }
    }
    QString integrityOnDisk() const
    {
        SharedDb reader;
        reader.open(QStringLiteral("DRIVER=SQLite3;Database=%1;").arg(databasePath()), 5);
        SqlCursor cursor = reader.query(QStringLiteral("pragma integrity_check"));
        return cursor.next() ? cursor.text(0) : QString();
    }
};

TEST_P(SwappedDatabaseFileTest, TheNewFileIsNeverWrittenWithTheOldFilesJournal)
{
    ASSERT_TRUE(QFile::exists(databasePath() + QStringLiteral("-wal")));
    swap(GetParam());

    ASSERT_TRUE(watchdog.checkConnection(probe));
    sharedDb().exec(QStringLiteral("insert into t values (8)"));  // reported as written
    CloseDb();
    EXPECT_EQ(integrityOnDisk(), QStringLiteral("ok"));
    EXPECT_EQ(valuesOnDisk(), QStringLiteral("7|8")) << "the old file's row 1 came from its journal";
    const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("test.db-wal.replaced-*")}, QDir::Files);
    EXPECT_EQ(aside.size(), 1) << "the old journal is kept aside";
}

INSTANTIATE_TEST_SUITE_P(EveryWay, SwappedDatabaseFileTest,
                         ::testing::Values(Swap::MovedOverIt, Swap::RenamedAwayAndCopied, Swap::DeletedAndCopied));

// Another database copied over the file in place (`cp other.db test.db`): the same file, new content.
// The connection's journal belongs to the old content and must never reach the new one.
TEST_F(SwappedDatabaseFileTest, AFileOverwrittenInPlaceIsNeverWrittenWithTheOldJournal)
{
    ASSERT_TRUE(QFile::exists(databasePath() + QStringLiteral("-wal")));
    const auto before = fileIdentity(databasePath());
    writeFileBytes(databasePath(), readFileBytes(otherPath()));  // truncated and written, as cp does
    ASSERT_EQ(fileIdentity(databasePath()), before);

    ASSERT_TRUE(watchdog.checkConnection(probe));
    sharedDb().exec(QStringLiteral("insert into t values (8)"));  // reported as written
    sharedDb().exec(QStringLiteral("insert into u values ('z')"));
    ASSERT_TRUE(watchdog.checkConnection(probe));  // the program's own writes are no overwrite
    sharedDb().query(QStringLiteral("pragma wal_checkpoint")).next();
    ASSERT_TRUE(watchdog.checkConnection(probe));
    sharedDb().exec(QStringLiteral("insert into t values (9)"));
    CloseDb();
    EXPECT_EQ(integrityOnDisk(), QStringLiteral("ok"));
    EXPECT_EQ(valuesOnDisk(), QStringLiteral("7|8|9")) << "the old file's row 1 came from its journal";
    const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("test.db-wal.replaced-*")}, QDir::Files);
    EXPECT_EQ(aside.size(), 1) << "the old journal is kept aside";
}

// A long job's connection on the file shares SQLite's shared memory of the old journal with any new
// connection of the process: the watchdog sets the journal aside and reconnects once the job has ended.
TEST_F(SwappedDatabaseFileTest, AnOverwrittenFileIsReopenedOnlyAfterTheProgramsOtherConnectionsEnded)
{
    SharedDb job;
    job.open(sqliteConnectString(databasePath(), QString()), 5);
    job.query(QStringLiteral("select count(*) from t")).next();
    writeFileBytes(databasePath(), readFileBytes(otherPath()));

    EXPECT_FALSE(watchdog.checkConnection(probe));
    EXPECT_EQ(DbReady, 0);
    EXPECT_FALSE(sharedDb().isOpen());
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("test.db-wal.replaced-*")}).size(), 1);
    EXPECT_FALSE(watchdog.checkConnection(probe)) << "the job is still on the old journal";
    job.close();  // the block keeps its close from checkpointing the old journal into the file

    ASSERT_TRUE(watchdog.checkConnection(probe));
    sharedDb().exec(QStringLiteral("insert into t values (8)"));
    CloseDb();
    EXPECT_EQ(integrityOnDisk(), QStringLiteral("ok"));
    EXPECT_EQ(valuesOnDisk(), QStringLiteral("7|8"));
}

// What writes the file through SQLite: the program's connection, another connection of the program,
// another process. Their checkpoints change the file's first page too, and are no overwrite.
enum class Writer { Shared, OtherConnection, OtherProcess };
struct Step {
    Writer writer;
    const char *statement;
};

class CheckpointTest : public SwappedDatabaseFileTest {
protected:
    void SetUp() override
    {
        SwappedDatabaseFileTest::SetUp();
        // Reopened: the fixture's file copies closed descriptors of the file, which drops every lock the
        // process holds on it, and the shell would then take the connection for the last one.
        CloseDb();
        DbReady = 0;
        ASSERT_TRUE(watchdog.checkConnection(probe));
        sharedDb().query(QStringLiteral("select count(*) from t")).next();
    }
    void run(Writer writer, const char *statement)
    {
        switch (writer) {
        case Writer::Shared: sharedDb().query(QLatin1String(statement)).next(); break;
        case Writer::OtherConnection: {
            SharedDb other;
            other.open(sqliteConnectString(databasePath(), QString()), 5);
            other.query(QLatin1String(statement)).next();
            break;
        }
        case Writer::OtherProcess:
            QProcess shell;
            shell.start(QStringLiteral("sqlite3"), {databasePath(), QLatin1String(statement)});
            ASSERT_TRUE(shell.waitForFinished(10000));
            ASSERT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().toStdString();
            break;
        }
    }
    QStringList asideFiles() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("test.db-*.replaced-*")}, QDir::Files);
    }
};

TEST_F(CheckpointTest, CheckpointsOfEveryWriterAreNoOverwrite)
{
    if (QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty())
        GTEST_SKIP() << "no sqlite3 shell";
    const struct {
        const char *what;
        std::vector<Step> steps;
    } cases[] = {
        {"the file grows and is checkpointed",
         {{Writer::Shared, "insert into filler select b from filler"}, {Writer::Shared, "pragma wal_checkpoint"}}},
        {"the -wal starts over",
         {{Writer::Shared, "insert into filler select b from filler limit 5"},
          {Writer::Shared, "pragma wal_checkpoint(restart)"},
          {Writer::Shared, "update filler set b = upper(b)"},
          {Writer::Shared, "insert into filler select b from filler limit 5"},
          {Writer::Shared, "pragma wal_checkpoint(truncate)"},
          {Writer::Shared, "insert into t values (2)"}}},
        {"another connection of the program",
         {{Writer::OtherConnection, "insert into filler select b from filler"},
          {Writer::OtherConnection, "pragma wal_checkpoint"}}},
        {"another process",
         {{Writer::OtherProcess, "insert into filler select b from filler; pragma wal_checkpoint;"},
          {Writer::OtherProcess, "create table more (c); pragma wal_checkpoint(restart);"},
          {Writer::Shared, "insert into more values (1)"}}},
        {"the file shrinks",
         {{Writer::Shared, "delete from filler"},
          {Writer::Shared, "vacuum"},
          {Writer::Shared, "pragma wal_checkpoint"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        for (const Step &step : c.steps) {
            run(step.writer, step.statement);
            EXPECT_TRUE(watchdog.checkConnection(probe)) << step.statement;
        }
        EXPECT_EQ(DbReady, 1);
        EXPECT_EQ(asideFiles(), QStringList());
        EXPECT_EQ(valuesOnDisk().left(1), QStringLiteral("1")) << "row 1 was written before";
    }
    CloseDb();
    EXPECT_EQ(integrityOnDisk(), QStringLiteral("ok"));
}

// A checkpoint of page 1 followed by a -wal started over and written past that frame, all between two
// looks: the check cannot tell it from an overwrite, so writing stops and the journal stays whole.
TEST_F(CheckpointTest, WhereTheCheckIsUnsureWritingStopsAndNothingIsLost)
{
    for (const char *statement :
         {"pragma wal_checkpoint(restart)", "insert into filler select b from filler limit 3",
          "pragma wal_checkpoint(restart)", "update filler set b = upper(b)", "insert into t values (2)"})
        run(Writer::Shared, statement);
    EXPECT_FALSE(watchdog.checkConnection(probe));
    EXPECT_EQ(DbReady, 0);
    EXPECT_FALSE(sharedDb().isOpen());
    EXPECT_EQ(asideFiles(), QStringList());
    EXPECT_FALSE(watchdog.checkConnection(probe)) << "stays stopped while the journal is there";
    watchdog.stop();
    EXPECT_EQ(valuesOnDisk(), QStringLiteral("1|2"));
    EXPECT_EQ(integrityOnDisk(), QStringLiteral("ok"));
}

// With the installation's waits (ten seconds between checks), what the watchdog waits for wakes it:
// a statement's handler clearing DbReady, the database file written over in place and the file removed
// (seen through the event loop of the thread that started it).
TEST_F(ReplacedDatabaseFileTest, TheInstallationsWatchdogIsWokenByWhatItWaitsFor)
{
    static int argc = 1;
    static char name[] = "test_core";
    static char *argv[] = {name, nullptr};
    const QCoreApplication app(argc, argv);
    const auto within2s = [](const std::function<bool()> &done) {
        const auto end = std::chrono::steady_clock::now() + 2s;
        while (!done() && std::chrono::steady_clock::now() < end) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(5ms);
        }
        return done();
    };
    DbWatchdog installation;
    DbReady = 0;
    installation.start();
    ASSERT_TRUE(within2s([] { return DbReady == 1; }));
    std::this_thread::sleep_for(1100ms);  // past the cycle's pause, into the ten seconds' idle wait

    DbReady = 0;
    EXPECT_TRUE(within2s([] { return DbReady == 1; }));
    std::this_thread::sleep_for(1100ms);

    const QString otherPath = dir.filePath(QStringLiteral("other.db"));
    {
        SharedDb other;
        other.open(QStringLiteral("DRIVER=SQLite3;Database=%1;").arg(otherPath), 5);
        other.query(QStringLiteral("pragma journal_mode=wal")).next();
        other.exec(QStringLiteral("create table t (a integer, b text)"));
    }
    writeFileBytes(databasePath(), readFileBytes(otherPath));  // written over in place
    EXPECT_TRUE(within2s([&] {
        return DbReady == 1 && !QDir(dir.path()).entryList({QStringLiteral("test.db-wal.replaced-*")}).isEmpty();
    }));
    sharedDb().exec(QStringLiteral("insert into t values (4, 'x')"));  // the new file's table
    std::this_thread::sleep_for(1100ms);

    removeDatabaseFile();
    EXPECT_TRUE(within2s([] { return DbReady == 0 && !sharedDb().isOpen(); }));
    installation.stop();
}

TEST_F(WatchdogTest, EndsSoonAfterExitIsRequested)
{
    DbWatchdog watchdog;  // the installation's waits: ten seconds between checks
    watchdog.start();
    ASSERT_TRUE(eventually([] { return DbReady == 1; }));
    std::this_thread::sleep_for(50ms);
    const auto begin = std::chrono::steady_clock::now();
    ExitRequested = 1;
    watchdog.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, 1s);
}

}  // namespace
}  // namespace dbkeel::test
