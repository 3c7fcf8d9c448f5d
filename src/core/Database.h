#pragma once
// Opening and closing the shared connection from the host configuration.

#include <QLoggingCategory>
#include <QString>

namespace dbkeel {

class SharedDb;

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

// A connect-string value as ODBC reads it: as it is, or in braces with } doubled when it holds ; or }
// or starts with {.
QString odbcValue(const QString &value);
// "DSN=%s;UID=%s;PWD=%s;" with each value as odbcValue writes it. For the embedded database "NoCreat=1;"
// follows (a missing database file is never created by a connection), and a user or password that
// would need braces is left out (its driver knows none; it has no users).
QString connectStringFor(const DbCredentials &credentials);
// The connect string last built by OpenDb (the installation's ConnectString).
QString connectString();

// Chinese text selected as a plain literal and as N'…' on SQL Server, and what came back. Through
// FreeTDS without ClientCharset = UTF-8 both come back garbled; with a database collation whose code
// page lacks the characters the plain literal comes back as ?.
struct TextRoundTrip {
    QString sent, plainBack, nationalBack;
    bool plainEqual() const { return plainBack == sent; }
    bool nationalEqual() const { return nationalBack == sent; }
    bool passed() const { return plainEqual() && nationalEqual(); }
};
// The round trip on `db`; DbError when the select fails. On the embedded database nothing is sent and
// it passes.
TextRoundTrip chineseRoundTrip(SharedDb &db);
// What to fix on data source `dataSource` for a failed round trip ("请在 odbc.ini …"); empty when it passed.
QString roundTripAdvice(const TextRoundTrip &trip, const QString &dataSource);
// The connection's refusal when the round trip failed, naming the setting to fix on data source
// `dataSource`; empty when it passed.
QString roundTripFault(const TextRoundTrip &trip, const QString &dataSource);

// Whether OpenDb refuses a SQL Server connection whose Chinese text does not come back equal.
enum class TextCheck { Refuse, Skip };

// Opens sharedDb() with the credentials of entry DBODBCTYPE unless it is open: 1, or 0 with the
// driver's text in `error` and DbReady cleared. While the connection is open it returns 1 at
// once and leaves `error` as it was. A missing database file of the embedded database is named in
// `error` and not created. On SQL Server the Chinese round trip follows (unless `check` is Skip, as for
// the doctor, which reports it): a failed one closes the connection with roundTripFault in `error`.
int OpenDb(QString &error, TextCheck check = TextCheck::Refuse);
// Closes sharedDb() if it is open.
void CloseDb();
// How many times OpenDb has opened sharedDb(): a new count is a connection opened anew.
quint64 sharedConnectionOpens();

}  // namespace dbkeel
