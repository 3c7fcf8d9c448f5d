#include "core/SharedDb.h"

#include "platform/Text.h"

#include <QVector>

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <vector>

namespace dbkeel {

DbError::DbError(const QString &text, bool transactionRolledBack)
    : std::runtime_error(text.toStdString()), m_text(text), m_transactionRolledBack(transactionRolledBack)
{}

namespace {

// The encoding of every text crossing the connection: UTF-8 through unixODBC's ANSI functions
// (the SQLite3 driver keeps it as it is; FreeTDS converts with ClientCharset = UTF-8).
QByteArray toDriver(const QString &text)
{
    return text.toUtf8();
}
QString fromDriver(const char *bytes, qsizetype length = -1)
{
    return QString::fromUtf8(bytes, length);
}

bool succeeded(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

// All diagnostic records of a handle, joined by line breaks.
QString diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    QStringList records;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLINTEGER nativeError = 0;
        SQLSMALLINT length = 0;
        QByteArray message(1024, '\0');
        SQLRETURN rc = SQLGetDiagRec(handleType, handle, record, state, &nativeError,
                                     reinterpret_cast<SQLCHAR *>(message.data()), SQLSMALLINT(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= message.size()) {
            message.resize(length + 1);
            rc = SQLGetDiagRec(handleType, handle, record, state, &nativeError,
                               reinterpret_cast<SQLCHAR *>(message.data()), SQLSMALLINT(message.size()), &length);
        }
        if (!succeeded(rc))
            break;
        records << fromDriver(message.constData(), qMin<qsizetype>(length, message.size() - 1));
    }
    return records.join(QLatin1Char('\n'));
}

[[noreturn]] void fail(SQLSMALLINT handleType, SQLHANDLE handle, const char *call)
{
    const QString text = diagnostics(handleType, handle);
    throw DbError(text.isEmpty() ? QStringLiteral("%1 failed").arg(QLatin1String(call)) : text);
}

void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const char *call)
{
    if (!succeeded(rc))
        fail(handleType, handle, call);
}

// The ODBC environment, allocated once for the process.
SQLHENV environment()
{
    static const SQLHENV env = [] {
        SQLHENV handle = SQL_NULL_HENV;
        if (!succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &handle)))
            throw DbError(QStringLiteral("cannot allocate the ODBC environment"));
        SQLSetEnvAttr(handle, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return handle;
    }();
    return env;
}

}  // namespace

class DbConnection {
public:
    SQLHDBC handle = SQL_NULL_HDBC;
    QString dbmsName;
    QString dbmsVersion;
    Dialect dialect = Dialect::SqlServer;
    int queryTimeoutSeconds = SharedDb::kQueryTimeoutSeconds;
    bool inTransaction = false;    // a SqlTransaction scope is open
    bool transactionLost = false;  // and the server rolled it back after an error

    DbConnection()
    {
        check(SQLAllocHandle(SQL_HANDLE_DBC, environment(), &handle), SQL_HANDLE_ENV, environment(), "SQLAllocHandle");
    }
    ~DbConnection()
    {
        if (connected)
            SQLDisconnect(handle);
        SQLFreeHandle(SQL_HANDLE_DBC, handle);
    }
    DbConnection(const DbConnection &) = delete;
    DbConnection &operator=(const DbConnection &) = delete;

    void connect(const QString &connectString, int loginTimeoutSeconds)
    {
        SQLSetConnectAttr(handle, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(intptr_t(loginTimeoutSeconds)),
                          0);
        QByteArray text = toDriver(connectString);
        SQLCHAR completed[1024];
        SQLSMALLINT completedLength = 0;
        check(SQLDriverConnect(handle, nullptr, reinterpret_cast<SQLCHAR *>(text.data()), SQLSMALLINT(text.size()),
                               completed, sizeof completed, &completedLength, SQL_DRIVER_NOPROMPT),
              SQL_HANDLE_DBC, handle, "SQLDriverConnect");
        connected = true;
        dbmsName = info(SQL_DBMS_NAME);
        dbmsVersion = info(SQL_DBMS_VER);
        dialect = dialectForDbms(dbmsName);
    }

    QString info(SQLUSMALLINT type) const
    {
        SQLCHAR value[256] = {};
        SQLSMALLINT length = 0;
        check(SQLGetInfo(handle, type, value, sizeof value, &length), SQL_HANDLE_DBC, handle, "SQLGetInfo");
        return fromDriver(reinterpret_cast<const char *>(value)).trimmed();
    }

    // The statements open on the connection, so that another thread can cancel them.
    void enrol(SQLHSTMT statement)
    {
        std::lock_guard lock(m_statementsMutex);
        m_statements.push_back(statement);
    }
    void withdraw(SQLHSTMT statement)
    {
        std::lock_guard lock(m_statementsMutex);
        std::erase(m_statements, statement);
    }
    // Marks a statement as computing (inside SQLExecDirect or before its first row) or done with that.
    void executing(SQLHSTMT statement, bool inside)
    {
        std::lock_guard lock(m_statementsMutex);
        if (inside)
            m_executing.push_back(statement);
        else
            std::erase(m_executing, statement);
    }
    // The embedded database's driver closes the statement inside SQLCancel: the rows being read in the
    // statement's own thread are freed under it. There only a statement still computing (inside
    // SQLExecDirect, or fetching its first row) is cancelled; its thread waits for the cancel to end
    // before it goes on. Once rows come, the row loops see the stop themselves.
    void cancelStatements()
    {
        std::lock_guard lock(m_statementsMutex);  // a statement is freed only after its withdrawal
        for (SQLHSTMT statement : dialect == Dialect::Sqlite ? m_executing : m_statements)
            SQLCancel(statement);
    }

private:
    bool connected = false;
    std::mutex m_statementsMutex;
    std::vector<SQLHSTMT> m_statements;
    std::vector<SQLHSTMT> m_executing;
};

namespace {

// A statement handle with the query timeout set; keeps its connection alive.
class Statement {
public:
    explicit Statement(std::shared_ptr<DbConnection> connection) : m_connection(std::move(connection))
    {
        check(SQLAllocHandle(SQL_HANDLE_STMT, m_connection->handle, &m_handle), SQL_HANDLE_DBC, m_connection->handle,
              "SQLAllocHandle");
        m_connection->enrol(m_handle);
        SQLSetStmtAttr(m_handle, SQL_ATTR_QUERY_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(intptr_t(m_connection->queryTimeoutSeconds)), 0);
    }
    ~Statement()
    {
        m_connection->withdraw(m_handle);
        SQLFreeHandle(SQL_HANDLE_STMT, m_handle);
    }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    SQLHSTMT handle() const { return m_handle; }

    // Runs the text. SQL_NO_DATA (an UPDATE or DELETE that touched nothing) is success; the
    // further results of a batch follow with moreResults() either way.
    void execute(const QString &text)
    {
        QByteArray bytes = toDriver(text);
        m_connection->executing(m_handle, true);
        const SQLRETURN rc = SQLExecDirect(m_handle, reinterpret_cast<SQLCHAR *>(bytes.data()),
                                           SQLINTEGER(bytes.size()));
        m_connection->executing(m_handle, false);
        if (rc != SQL_NO_DATA)
            check(rc, SQL_HANDLE_STMT, m_handle, "SQLExecDirect");
    }
    // Fetches the next row. Before the first row of a result the statement may still be computing it:
    // until then it may be cancelled from another thread (see DbConnection::cancelStatements).
    SQLRETURN fetch(bool firstRow)
    {
        if (!firstRow)
            return SQLFetch(m_handle);
        m_connection->executing(m_handle, true);
        const SQLRETURN rc = SQLFetch(m_handle);
        m_connection->executing(m_handle, false);
        return rc;
    }
    // Moves to the next result of a batch; false when there is none.
    bool moreResults()
    {
        const SQLRETURN rc = SQLMoreResults(m_handle);
        if (rc == SQL_NO_DATA)
            return false;
        check(rc, SQL_HANDLE_STMT, m_handle, "SQLMoreResults");
        return true;
    }
    int columnCount() const
    {
        SQLSMALLINT count = 0;
        check(SQLNumResultCols(m_handle, &count), SQL_HANDLE_STMT, m_handle, "SQLNumResultCols");
        return count;
    }
    QString columnName(int position) const
    {
        SQLCHAR name[256] = {};
        SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        check(SQLDescribeCol(m_handle, SQLUSMALLINT(position + 1), name, sizeof name, &nameLength, &type, &size,
                             &digits, &nullable),
              SQL_HANDLE_STMT, m_handle, "SQLDescribeCol");
        return fromDriver(reinterpret_cast<const char *>(name));
    }
    long long rowCount() const
    {
        SQLLEN count = -1;
        if (!succeeded(SQLRowCount(m_handle, &count)))
            return -1;
        return count;
    }

private:
    std::shared_ptr<DbConnection> m_connection;
    SQLHSTMT m_handle = SQL_NULL_HSTMT;
};

struct Value {
    QString text;
    bool null = true;
};

// One column of the current row, read in pieces and joined as bytes before decoding.
Value readColumn(SQLHSTMT statement, int position)
{
    QByteArray bytes;
    char piece[4096];
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(statement, SQLUSMALLINT(position + 1), SQL_C_CHAR, piece, sizeof piece,
                                        &indicator);
        if (rc == SQL_NO_DATA)
            break;
        check(rc, SQL_HANDLE_STMT, statement, "SQLGetData");
        if (indicator == SQL_NULL_DATA)
            return {};
        const bool truncated = indicator == SQL_NO_TOTAL || indicator >= SQLLEN(sizeof piece);
        if (!truncated && bytes.isEmpty())  // the usual short value, read in one piece
            return {trimRight(fromDriver(piece, qsizetype(indicator))), false};
        bytes.append(piece, truncated ? qsizetype(sizeof piece - 1) : qsizetype(indicator));
        if (!truncated)
            break;
    }
    return {trimRight(fromDriver(bytes.constData(), bytes.size())), false};
}

const QString kTransactionLost = QStringLiteral("[Dbkeel]服务器已回滚整个事务(@@TRANCOUNT = 0): 本次的修改全部未保存");

// The transactions open on the server for this connection; 0 when even that cannot be asked.
int openTransactions(const std::shared_ptr<DbConnection> &connection)
{
    try {
        Statement count(connection);
        count.execute(QStringLiteral("select @@TRANCOUNT"));
        if (!succeeded(SQLFetch(count.handle())))
            return 0;
        return toInt(readColumn(count.handle(), 0).text);
    } catch (const DbError &) {
        return 0;
    }
}

// Runs a statement of the connection. On SQL Server an error that aborts the batch (conversion 245,
// deadlock 1205, …) rolls the open transaction back, and the statements after it would run outside of
// it: after a failed statement inside a transaction scope @@TRANCOUNT tells, and a lost transaction
// refuses every further statement and its commit.
template <typename Run>
auto guarded(DbConnection &connection, const std::shared_ptr<DbConnection> &shared, Run run) -> decltype(run())
{
    if (connection.transactionLost)
        throw DbError(kTransactionLost, true);
    try {
        return run();
    } catch (const DbError &error) {
        if (connection.dialect != Dialect::SqlServer || !connection.inTransaction || openTransactions(shared) > 0)
            throw;
        connection.transactionLost = true;
        throw DbError(error.text() + u'\n' + kTransactionLost, true);
    }
}

}  // namespace

struct SqlCursor::State {
    Statement statement;
    QStringList names;
    QVector<Value> row;
    long long rowsRead = 0;
    long long rowsAffected = 0;
    bool atEnd = false;
    bool goOnAfterErrors = false;  // a batch(): failed statements are collected, not thrown
    QStringList errors;

    explicit State(std::shared_ptr<DbConnection> connection) : statement(std::move(connection)) {}

    // From the result the statement is on (`arrived`: false when getting there failed) to the next
    // result set, or to the end of the batch.
    void seekResultSet(bool arrived)
    {
        for (;; arrived = advance()) {
            if (arrived) {
                const int columns = statement.columnCount();
                if (columns > 0) {
                    names.clear();
                    for (int i = 0; i < columns; ++i)
                        names << statement.columnName(i);
                    rowsRead = 0;
                    atEnd = false;
                    return;
                }
                rowsAffected += qMax(0LL, statement.rowCount());
            }
            if (!hasMore) {
                names.clear();
                atEnd = true;
                return;
            }
        }
    }
    // Moves to the next result: true when it was reached without an error. hasMore turns false at the end.
    bool advance()
    {
        try {
            hasMore = statement.moreResults();
            return hasMore;
        } catch (const DbError &error) {
            collect(error);
            return false;
        }
    }
    void collect(const DbError &error)
    {
        if (!goOnAfterErrors)
            throw error;
        errors << error.text();
    }

    bool hasMore = true;

    const Value &at(int position) const
    {
        if (position < 0 || position >= row.size())
            throw DbError(QStringLiteral("no column %1 in the current row").arg(position));
        return row.at(position);
    }
};

SqlCursor::SqlCursor(std::unique_ptr<State> state) : m_state(std::move(state)) {}
SqlCursor::SqlCursor(SqlCursor &&) noexcept = default;
SqlCursor &SqlCursor::operator=(SqlCursor &&) noexcept = default;
SqlCursor::~SqlCursor() = default;

bool SqlCursor::next()
{
    if (!m_state || m_state->atEnd)
        return false;
    const SQLHSTMT handle = m_state->statement.handle();
    const SQLRETURN rc = m_state->statement.fetch(m_state->rowsRead == 0);
    if (rc == SQL_NO_DATA) {
        m_state->atEnd = true;
        m_state->row.clear();
        return false;
    }
    check(rc, SQL_HANDLE_STMT, handle, "SQLFetch");
    m_state->row.resize(m_state->names.size());
    for (int i = 0; i < m_state->names.size(); ++i)
        m_state->row[i] = readColumn(handle, i);
    ++m_state->rowsRead;
    return true;
}

QStringList SqlCursor::columnNames() const
{
    return m_state ? m_state->names : QStringList();
}
int SqlCursor::columnCount() const
{
    return int(columnNames().size());
}
long long SqlCursor::rowsRead() const
{
    return m_state ? m_state->rowsRead : 0;
}
long long SqlCursor::rowsAffected() const
{
    return m_state ? m_state->rowsAffected : 0;
}

int SqlCursor::indexOf(const QString &column) const
{
    const QStringList names = columnNames();
    for (int i = 0; i < names.size(); ++i)
        if (names.at(i).compare(column, Qt::CaseInsensitive) == 0)
            return i;
    throw DbError(QStringLiteral("no column named %1 in the result").arg(column));
}

const SqlCursor::State &SqlCursor::current() const
{
    if (!m_state)
        throw DbError(QStringLiteral("the result set is closed"));
    return *m_state;
}

QString SqlCursor::text(int position) const
{
    return current().at(position).text;
}
QString SqlCursor::text(const QString &column) const
{
    return text(indexOf(column));
}
int SqlCursor::toInt(const QString &column) const
{
    return dbkeel::toInt(text(column));
}
int SqlCursor::toInt(int position) const
{
    return dbkeel::toInt(text(position));
}
bool SqlCursor::isNull(const QString &column) const
{
    return isNull(indexOf(column));
}
bool SqlCursor::isNull(int position) const
{
    return current().at(position).null;
}

bool SqlCursor::nextResultSet()
{
    if (!m_state || !m_state->hasMore)
        return false;
    m_state->seekResultSet(m_state->advance());
    return !m_state->atEnd;
}

QStringList SqlCursor::errors() const
{
    return m_state ? m_state->errors : QStringList();
}

void SqlCursor::close()
{
    m_state.reset();
}

SharedDb::SharedDb() = default;
SharedDb::~SharedDb() = default;

void SharedDb::open(const QString &connectString, int loginTimeoutSeconds, int queryTimeoutSeconds)
{
    auto connection = std::make_shared<DbConnection>();
    connection->queryTimeoutSeconds = queryTimeoutSeconds;
    connection->connect(connectString, loginTimeoutSeconds);
    std::lock_guard lock(m_mutex);
    m_connection = std::move(connection);
    m_open = true;
}

void SharedDb::close()
{
    std::shared_ptr<DbConnection> closing;
    {
        std::lock_guard lock(m_mutex);
        closing.swap(m_connection);
        m_open = false;
    }
    // Disconnected here, or when the last cursor on it is gone.
}

std::shared_ptr<DbConnection> SharedDb::connection() const
{
    std::lock_guard lock(m_mutex);
    if (!m_connection)
        throw DbError(QStringLiteral("the database connection is not open"));
    return m_connection;
}

void SharedDb::cancel()
{
    std::shared_ptr<DbConnection> current;
    {
        std::lock_guard lock(m_mutex);
        current = m_connection;
    }
    if (current)
        current->cancelStatements();
}

bool SharedDb::isConnectionDead() const
{
    std::shared_ptr<DbConnection> current;
    {
        std::lock_guard lock(m_mutex);
        current = m_connection;
    }
    if (!current)
        return false;
    SQLUINTEGER dead = SQL_CD_FALSE;
    if (!succeeded(SQLGetConnectAttr(current->handle, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)))
        return false;
    return dead == SQL_CD_TRUE;
}

QString SharedDb::dbmsName() const
{
    return connection()->dbmsName;
}
Dialect SharedDb::dialect() const
{
    return connection()->dialect;
}
QString SharedDb::dbmsVersion() const
{
    return connection()->dbmsVersion;
}
QString SharedDb::serverVersion() const
{
    const auto current = connection();
    return current->dbmsName + u' ' + current->dbmsVersion;
}
int SharedDb::sqlServerMajor() const
{
    const auto current = connection();
    return current->dialect == Dialect::SqlServer ? majorVersion(current->dbmsVersion) : 0;
}

long long SharedDb::exec(const QString &batch)
{
    const auto current = connection();
    return guarded(*current, current, [&] {
        if (current->dialect == Dialect::SqlServer)
            return execOne(current, batch);
        long long rows = 0;
        for (const QString &statement : splitStatements(batch))
            rows += execOne(current, statement);
        return rows;
    });
}

long long SharedDb::execOne(const std::shared_ptr<DbConnection> &connection, const QString &statement)
{
    Statement run(connection);
    run.execute(statement);
    long long rows = 0;
    do {
        if (run.columnCount() == 0)
            rows += qMax(0LL, run.rowCount());
    } while (run.moreResults());
    return rows;
}

SqlCursor SharedDb::query(const QString &text)
{
    const auto current = connection();
    return guarded(*current, current, [&] { return openCursor(current, text, false); });
}

SqlCursor SharedDb::batch(const QString &text)
{
    const auto current = connection();
    return guarded(*current, current, [&] { return openCursor(current, text, true); });
}

SqlCursor SharedDb::openCursor(const std::shared_ptr<DbConnection> &connection, const QString &text,
                               bool goOnAfterErrors)
{
    auto state = std::make_unique<SqlCursor::State>(connection);
    state->goOnAfterErrors = goOnAfterErrors;
    bool arrived = true;
    try {
        state->statement.execute(text);
    } catch (const DbError &error) {
        state->collect(error);
        arrived = false;
    }
    state->seekResultSet(arrived);
    return SqlCursor(std::move(state));
}

bool SharedDb::exists(const QString &text)
{
    return query(text).next();
}

namespace {
void setAutocommit(SQLHDBC handle, bool on)
{
    check(SQLSetConnectAttr(handle, SQL_ATTR_AUTOCOMMIT,
                            reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER),
          SQL_HANDLE_DBC, handle, "SQLSetConnectAttr");
}
}  // namespace

SqlTransaction::SqlTransaction(SharedDb &db) : m_connection(db.connection())
{
    setAutocommit(m_connection->handle, false);
    m_open = true;
    m_connection->inTransaction = true;
}

SqlTransaction::~SqlTransaction()
{
    if (!m_open)
        return;
    try {
        end(false);
    } catch (const DbError &) {
        // a connection that went away has dropped the transaction with it
    }
}

void SqlTransaction::commit()
{
    if (!m_open)
        throw DbError(QStringLiteral("the transaction has ended"));
    if (m_connection->transactionLost)
        throw DbError(kTransactionLost, true);
    end(true);  // a failed commit leaves the scope open: the destructor rolls it back
}

void SqlTransaction::end(bool commit)
{
    const SQLHDBC handle = m_connection->handle;
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, handle, commit ? SQL_COMMIT : SQL_ROLLBACK);
    if (!succeeded(rc))
        fail(SQL_HANDLE_DBC, handle, commit ? "SQLEndTran(commit)" : "SQLEndTran(rollback)");
    m_open = false;
    m_connection->inTransaction = m_connection->transactionLost = false;
    setAutocommit(handle, true);
}

SharedDb &sharedDb()
{
    static SharedDb instance;
    return instance;
}

}  // namespace dbkeel
