#pragma once
// A SQL Server that is not there: the recording ODBC driver of tests/support/OdbcRecorder.cpp, set up
// for one test. Statements sent through its connection are answered from a script and recorded;
// every recorded statement is also appended to the suite's file of SQL Server texts, which the T-SQL
// check (tests/sqlserver/tsql-check) parses.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace dbkeel::test {

class RecordingServer {
public:
    // A server answering SQL_DBMS_VER with `version` ("08.00.2039" is SQL Server 2000).
    explicit RecordingServer(const QString &version = QStringLiteral("16.00.1000"));
    ~RecordingServer();
    RecordingServer(const RecordingServer &) = delete;
    RecordingServer &operator=(const RecordingServer &) = delete;

    // The connect string of the driver (for SharedDb::open), and an odbc.ini holding the data source
    // `name` on it (for ODBCINI, when the program connects by data-source name).
    QString connectString() const;
    QString writeDataSource(const QString &name) const;

    // The answers to the statements (the format is described in OdbcRecorder.cpp).
    void setScript(const QString &script);

    // The statement texts recorded so far, and the whole log (statements, "commit", "rollback").
    QStringList statements() const;
    QStringList log() const;
    void clearLog();

private:
    QTemporaryDir m_dir;
};

// Ordinary and hostile values for the statement builders: Chinese, a number, empty, quotes, an injection,
// LIKE wildcards, brackets, a character outside the BMP, a long text, line breaks, arg markers, backslash.
QStringList hostileValues();

}  // namespace dbkeel::test
