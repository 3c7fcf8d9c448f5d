#pragma once
// Opening and closing the shared connection from the host configuration.

#include <QLoggingCategory>
#include <QString>

namespace dbkeel {

inline constexpr int kLoginTimeoutSeconds = 100;

// Trace output of the connection and the watchdog (off unless enabled by QT_LOGGING_RULES).
Q_DECLARE_LOGGING_CATEGORY(dbTrace)

// Data-source name, user and password of one database entry of the host configuration.
struct DbCredentials {
    QString dataSource;  // at most 59 bytes
    QString user;        // at most 255 bytes
    QString password;    // at most 255 bytes
};

// Field `index` of host configuration entry `entry`, decoded from GBK and cut to `maxBytes`;
// empty when the field is missing.
QString databaseEntryField(int entry, int index, int maxBytes = 615);

// Fields 0, 5 and 6 of database entry `type` (0 local, 1 remote); empty texts for any other type.
DbCredentials databaseCredentials(int type);
// The database file of a data source whose driver is the embedded database's; empty otherwise.
QString dataSourceDatabaseFile(const QString &dataSource);

// "DSN=%s;UID=%s;PWD=%s;", with "NoCreat=1;" for the embedded database: a missing database file
// is never created by a connection.
QString connectStringFor(const DbCredentials &credentials);
// The connect string last built by OpenDb (the installation's ConnectString).
QString connectString();

// Opens sharedDb() with the credentials of entry DBODBCTYPE unless it is open: 1, or 0 with the
// driver's text in `error` and DbReady cleared. While the connection is open it returns 1 at
// once and leaves `error` as it was. A missing database file of the embedded database is named in
// `error` and not created.
int OpenDb(QString &error);
// Closes sharedDb() if it is open.
void CloseDb();
// How many times OpenDb has opened sharedDb(): a new count is a connection opened anew.
quint64 sharedConnectionOpens();

}  // namespace dbkeel
