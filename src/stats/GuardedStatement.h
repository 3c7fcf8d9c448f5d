#pragma once
// A structural statement that must only run when an object is there or missing. The T-SQL text
// carries its own guard; on the embedded database the guard is a query run first.

#include <QString>

namespace dbkeel {

class SharedDb;

struct GuardedStatement {
    QString text;
    QString onlyIfRow;    // runs only when this query returns a row (empty: no condition)
    QString onlyIfNoRow;  // runs only when this query returns none (empty: no condition)
};

// Runs the statement when its guards allow; DbError from the driver.
void runGuarded(SharedDb &db, const GuardedStatement &statement);

// The column type of the embedded database's strict tables for a SQL Server type name.
QString sqliteColumnType(const QString &sqlServerType);

}  // namespace dbkeel
