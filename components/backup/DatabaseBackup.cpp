#include "components/backup/DatabaseBackup.h"

#include "components/ComponentSupport.h"
#include "core/Database.h"
#include "core/DbWatchdog.h"
#include "core/SharedDb.h"
#include "platform/FileWrite.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <memory>

namespace dbkeel {

namespace {

struct SqliteHandle {
    sqlite3 *db = nullptr;
    ~SqliteHandle() { sqlite3_close(db); }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(db)); }
};

bool openSqlite(SqliteHandle &handle, const QString &path, int flags, QString &error)
{
    if (sqlite3_open_v2(path.toUtf8().constData(), &handle.db, flags, nullptr) == SQLITE_OK)
        return true;
    error = QStringLiteral("%1: %2").arg(path, handle.error());
    return false;
}

// Reading the schema fails on a file that is not a database.
bool isDatabase(SqliteHandle &handle, QString &error)
{
    if (sqlite3_exec(handle.db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    error = handle.error();
    return false;
}

QString currentDatabaseName(SharedDb &db)
{
    SqlCursor cursor = db.query(QStringLiteral("select DB_NAME() as name"));
    return cursor.next() ? cursor.text(0) : QString();
}

// The database file `from`, opened for reading; refused when it is missing or no database.
bool openSource(SqliteHandle &source, const QString &from, QString &error)
{
    if (!QFileInfo(from).isFile()) {
        error = QStringLiteral("文件不存在:%1").arg(from);
        return false;
    }
    return openSqlite(source, from, SQLITE_OPEN_READONLY, error) && isDatabase(source, error);
}

// Every page of `source` into `target`, as one transaction on it.
bool copyPages(SqliteHandle &source, SqliteHandle &target, QString &error, const BackupProgress &progress)
{
    sqlite3_busy_timeout(target.db, 5000);
    sqlite3_backup *backup = sqlite3_backup_init(target.db, "main", source.db, "main");
    if (!backup) {
        error = target.error();
        return false;
    }
    int step = SQLITE_OK;
    while (step == SQLITE_OK || step == SQLITE_BUSY || step == SQLITE_LOCKED) {
        step = sqlite3_backup_step(backup, 64);
        const int total = sqlite3_backup_pagecount(backup);
        if (progress && total > 0)
            progress(100 * (total - sqlite3_backup_remaining(backup)) / total);
        if (step == SQLITE_BUSY || step == SQLITE_LOCKED)
            sqlite3_sleep(20);
    }
    sqlite3_backup_finish(backup);
    if (step != SQLITE_DONE) {
        error = QString::fromUtf8(sqlite3_errstr(step));
        return false;
    }
    return true;
}

}  // namespace

bool configuredBackupSource(BackupSource &source, QString &error)
{
    if (!loadHostConfiguration(error))
        return false;
    source.dataSource = databaseCredentials(configuredDatabaseType()).dataSource;
    if (source.dataSource.isEmpty()) {
        error = QStringLiteral("主机配置中没有数据源名称");
        return false;
    }
    source.databaseFile = dataSourceDatabaseFile(source.dataSource);
    return true;
}

bool copySqliteDatabase(const QString &from, const QString &to, QString &error, const BackupProgress &progress)
{
    SqliteHandle source, target;
    return openSource(source, from, error) && openSqlite(target, to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error)
           && copyPages(source, target, error, progress);
}

bool backupSqliteFile(const QString &database, const QString &target, QString &error, const BackupProgress &progress)
{
    // Copied into memory, then written through the checked writer: the file is replaced only by a
    // whole backup, and a failure gives the system's reason.
    error = nonRegularTargetError(target);
    SqliteHandle source, memory;
    if (!error.isEmpty() || !openSource(source, database, error)
        || !openSqlite(memory, QStringLiteral(":memory:"), SQLITE_OPEN_READWRITE, error)
        || !copyPages(source, memory, error, progress))
        return false;
    sqlite3_int64 size = 0;
    const std::unique_ptr<unsigned char, decltype(&sqlite3_free)> image(sqlite3_serialize(memory.db, "main", &size, 0),
                                                                        &sqlite3_free);
    if (!image) {
        error = memory.error();
        return false;
    }
    StagedFile file(target);
    if (file.write(QByteArray::fromRawData(reinterpret_cast<const char *>(image.get()), qsizetype(size)))
        && file.commit())
        return true;
    error = file.error();
    return false;
}

bool restoreSqliteFile(const QString &backup, const QString &database, QString &error, const BackupProgress &progress)
{
    return copySqliteDatabase(backup, database, error, progress);
}

QString sqlServerBackupStatement(const QString &database, const QString &file)
{
    return QStringLiteral("BACKUP DATABASE [%1] TO DISK = N'%2' WITH INIT")
        .arg(QString(database).replace(QLatin1Char(']'), QLatin1String("]]")),
             QString(file).replace(QLatin1Char('\''), QLatin1String("''")));
}

QString sqlServerRestoreStatement(const QString &database, const QString &file)
{
    return QStringLiteral("RESTORE DATABASE [%1] FROM DISK = N'%2' WITH REPLACE")
        .arg(QString(database).replace(QLatin1Char(']'), QLatin1String("]]")),
             QString(file).replace(QLatin1Char('\''), QLatin1String("''")));
}

bool backupSqlServer(SharedDb &db, const QString &file, QString &error)
{
    try {
        db.exec(sqlServerBackupStatement(currentDatabaseName(db), file));
        return true;
    } catch (const DbError &failure) {
        error = failure.text();
        return false;
    }
}

bool restoreSqlServer(SharedDb &db, const QString &file, QString &error)
{
    try {
        const QString name = currentDatabaseName(db);
        db.exec(QStringLiteral("use master"));  // a database in use cannot be restored
        db.exec(sqlServerRestoreStatement(name, file));
        db.close();
        return true;
    } catch (const DbError &failure) {
        error = failure.text();
        db.close();
        return false;
    }
}

}  // namespace dbkeel
