#pragma once
// Backing up and restoring the installation's database: an embedded database file through SQLite's
// own backup facility, a SQL Server database through BACKUP/RESTORE DATABASE.

#include <QString>

#include <functional>

namespace dbkeel {

class SharedDb;

using BackupProgress = std::function<void(int percent)>;

// The database the configured data source names.
struct BackupSource {
    QString dataSource;
    QString databaseFile;  // set for an embedded database; empty for a server
    bool isFile() const { return !databaseFile.isEmpty(); }
};
// From the database entry of the host configuration the program uses; false with the reason.
bool configuredBackupSource(BackupSource &source, QString &error);

// Copies the database file `from` into `to` page by page; `to` is replaced only as a whole (the copy
// is one transaction on it). Refuses a `from` that is not a database. False with the reason.
bool copySqliteDatabase(const QString &from, const QString &to, QString &error, const BackupProgress &progress = {});

// A backup of the database file into `target`: copied page by page into memory, then written through
// the checked writer (platform/FileWrite.h), so an existing file is replaced only by a whole backup and
// a failure gives the system's reason. A `target` that is no regular file is refused.
bool backupSqliteFile(const QString &database, const QString &target, QString &error,
                      const BackupProgress &progress = {});
// The backup copied into the database file (the program's connection must be closed).
bool restoreSqliteFile(const QString &backup, const QString &database, QString &error,
                       const BackupProgress &progress = {});

QString sqlServerBackupStatement(const QString &database, const QString &file);
QString sqlServerRestoreStatement(const QString &database, const QString &file);
// On a server connection of its own: the current database name, backed up or restored from `file`.
bool backupSqlServer(SharedDb &db, const QString &file, QString &error);
bool restoreSqlServer(SharedDb &db, const QString &file, QString &error);

}  // namespace dbkeel
