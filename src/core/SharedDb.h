#pragma once
// The one process-wide ODBC connection and its forward-only cursors.

#include "core/SqlDialect.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace dbkeel {

// Every database failure: the driver's diagnostic text, all records joined by line breaks.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &text, bool transactionRolledBack = false);
    QString text() const { return m_text; }
    // True when the failure ended the open transaction (SQL Server rolls it back on a batch-aborting
    // error): nothing of it is stored, and the transaction takes no further statement.
    bool transactionRolledBack() const { return m_transactionRolledBack; }

private:
    QString m_text;
    bool m_transactionRolledBack = false;
};

class DbConnection;  // the connection handle, shared by the cursors it opened

// A forward-only result set. Every column is read as text with trailing blanks removed;
// NULL reads as the empty text.
class SqlCursor {
public:
    SqlCursor(SqlCursor &&) noexcept;
    SqlCursor &operator=(SqlCursor &&) noexcept;
    ~SqlCursor();

    bool next();  // moves to the next row; false at the end of the set
    QStringList columnNames() const;
    int columnCount() const;
    // Rows read so far (the read pattern's record count; never negative). The driver's own
    // count is not used: drivers may report -1 for a result set.
    long long rowsRead() const;
    // Rows changed by the statements of the text that came before its result set (by all of
    // them when it has none).
    long long rowsAffected() const;

    // Column by name (without regard to case) or by position from 0; DbError when there is none.
    QString text(const QString &column) const;
    QString text(int position) const;
    int toInt(const QString &column) const;  // decimal text-to-integer conversion
    int toInt(int position) const;
    bool isNull(const QString &column) const;
    bool isNull(int position) const;

    // A cursor of SharedDb::batch: moves past the current result set to the next one of the batch,
    // adding the row counts of the statements between them to rowsAffected() and the failures of
    // statements among them to errors(); false when the batch has no further result set.
    bool nextResultSet();
    // The driver's texts of the batch's statements that failed so far (SharedDb::batch).
    QStringList errors() const;

    void close();

private:
    friend class SharedDb;
    struct State;
    explicit SqlCursor(std::unique_ptr<State> state);
    int indexOf(const QString &column) const;
    const State &current() const;
    std::unique_ptr<State> m_state;
};

class SharedDb {
public:
    static constexpr int kQueryTimeoutSeconds = 60000;

    SharedDb();
    ~SharedDb();
    SharedDb(const SharedDb &) = delete;
    SharedDb &operator=(const SharedDb &) = delete;

    // Connects without ever showing a driver dialog; DbError on failure. Every statement run on
    // the connection may take up to `queryTimeoutSeconds`.
    void open(const QString &connectString, int loginTimeoutSeconds, int queryTimeoutSeconds = kQueryTimeoutSeconds);
    void close();
    bool isOpen() const { return m_open.load(); }
    // Cancels the statements running or open on the connection (SQLCancel); callable from any
    // thread. The cancelled call returns in its own thread with a DbError, or (the embedded driver)
    // as a result without rows.
    void cancel();
    // True when the driver reports the open connection as broken.
    bool isConnectionDead() const;

    QString dbmsName() const;
    Dialect dialect() const;
    // SQL_DBMS_VER as the driver gives it ("10.50.1600", "3.40.1"), read at connect.
    QString dbmsVersion() const;
    // Name and version for the log: "Microsoft SQL Server 10.50.1600", "SQLite 3.40.1".
    QString serverVersion() const;
    // The major version of SQL Server (8 is 2000, 10 is 2008; see SqlDialect.h); 0 on the embedded database.
    int sqlServerMajor() const;

    // Runs one batch; the rows affected by all its statements. An UPDATE or DELETE that
    // touches nothing is success. On the embedded database the batch is split into its
    // statements (splitStatements) and they run in order, stopping at the first error.
    long long exec(const QString &batch);
    SqlCursor query(const QString &text);
    // Runs one batch and reads it to its first result set, as query() does, except that a failed
    // statement does not end it: its text goes to the cursor's errors() and the batch is read on
    // (SQL Server goes on after most errors). With nextResultSet() every result of the batch is read.
    SqlCursor batch(const QString &text);
    // True when the query returns at least one row.
    bool exists(const QString &text);

private:
    friend class SqlTransaction;
    std::shared_ptr<DbConnection> connection() const;
    long long execOne(const std::shared_ptr<DbConnection> &connection, const QString &statement);
    SqlCursor openCursor(const std::shared_ptr<DbConnection> &connection, const QString &text, bool goOnAfterErrors);

    mutable std::mutex m_mutex;
    std::shared_ptr<DbConnection> m_connection;
    std::atomic<bool> m_open{false};
};

// All or nothing: every statement run on `db` while the scope lives belongs to one transaction,
// which commit() makes lasting and which is rolled back when the scope is left without it (an
// exception, an early return). One scope at a time on a connection.
class SqlTransaction {
public:
    explicit SqlTransaction(SharedDb &db);  // DbError when the connection cannot begin one
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction &) = delete;
    SqlTransaction &operator=(const SqlTransaction &) = delete;

    // DbError when the commit fails; the scope then rolls everything back when it is left.
    void commit();

private:
    void end(bool commit);

    std::shared_ptr<DbConnection> m_connection;
    bool m_open = false;
};

// The process-wide connection.
SharedDb &sharedDb();

}  // namespace dbkeel
