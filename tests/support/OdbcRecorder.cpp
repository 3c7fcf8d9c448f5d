// A recording ODBC driver for the tests: it answers as a SQL Server of a chosen version, writes every
// statement text it is given to a log, and answers the statements from a script instead of running them.
//
// Loaded by unixODBC like any driver (a data source or connect string whose Driver is this library's
// path). Configured through the environment when a connection is made:
//   DBKEEL_RECORDER_LOG      file the statements are appended to, one per line ("exec: …" or
//                            "prepare: …", with \ n r escaped), and the transaction events ("commit",
//                            "rollback")
//   DBKEEL_RECORDER_SCRIPT   the answers (read again for every statement, so a test may change it)
//   DBKEEL_RECORDER_VERSION  SQL_DBMS_VER, "16.00.1000" when unset
//
// The script: blocks that begin with "on <regular expression>"; the first block whose expression is
// found in a statement answers it with its results in order, one per line:
//   rows a|b          a result set with these columns; "row x|y" lines add its rows (\N is NULL)
//   count N           N rows affected
//   error STATE NATIVE abort|keep MESSAGE
//                     the error SQL Server gives; "abort" also ends the transaction as a batch-aborting
//                     error does (@@TRANCOUNT 0)
// A statement no block answers gets one count of 0 rows, apart from a SELECT of literals alone
// ("select 'a', N'b'"), which returns them as one row, and "select @@TRANCOUNT", which returns the
// count of open transactions.

#include <sql.h>
#include <sqlext.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Diagnostic {
    std::string state;
    long native = 0;
    std::string message;
};

struct Result {
    enum Kind { RowSet, Count, Error } kind = Count;
    std::vector<std::string> columns;
    std::vector<std::vector<std::optional<std::string>>> rows;
    long long count = 0;
    Diagnostic error;
    bool aborts = false;

    static Result rowSet(std::vector<std::string> columns)
    {
        Result result;
        result.kind = RowSet;
        result.columns = std::move(columns);
        return result;
    }
    static Result affected(long long count)
    {
        Result result;
        result.count = count;
        return result;
    }
};

struct Handle {
    std::vector<Diagnostic> diagnostics;
};

struct Environment : Handle {};

struct Connection : Handle {
    std::string logPath, scriptPath, version = "16.00.1000";
    bool autocommit = true;
    bool transactionOpen = false;  // an implicit transaction began since the last commit or rollback

    void log(const std::string &line) const
    {
        if (logPath.empty())
            return;
        std::ofstream(logPath, std::ios::app) << line << '\n';
    }
};

struct Statement : Handle {
    Connection *connection = nullptr;
    std::vector<Result> results;
    size_t current = 0;
    long row = -1;
    std::vector<size_t> readOffsets;  // bytes of each column of the current row already given out
    std::string prepared;
};

std::string escaped(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::vector<std::string> splitBars(const std::string &text)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, '|'))
        parts.push_back(part);
    if (!text.empty() && text.back() == '|')
        parts.emplace_back();
    return parts;
}

std::string rest(const std::string &line, size_t from)
{
    return from < line.size() ? line.substr(from) : std::string();
}

// The results of the first script block that matches the statement; nullopt when none does.
std::optional<std::vector<Result>> scripted(const std::string &scriptPath, const std::string &text)
{
    std::ifstream in(scriptPath);
    std::string line;
    bool matching = false, found = false;
    std::vector<Result> results;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("on ", 0) == 0) {
            if (found)
                break;
            matching = std::regex_search(text, std::regex(line.substr(3), std::regex::icase));
            found = matching;
            continue;
        }
        if (!matching)
            continue;
        if (line.rfind("rows ", 0) == 0) {
            results.push_back(Result::rowSet(splitBars(rest(line, 5))));
        } else if (line.rfind("row ", 0) == 0 && !results.empty()) {
            std::vector<std::optional<std::string>> row;
            for (const std::string &value : splitBars(rest(line, 4)))
                row.push_back(value == "\\N" ? std::nullopt : std::optional<std::string>(value));
            results.back().rows.push_back(row);
        } else if (line.rfind("count ", 0) == 0) {
            results.push_back(Result::affected(std::atoll(line.c_str() + 6)));
        } else if (line.rfind("error ", 0) == 0) {
            std::istringstream fields(line.substr(6));
            Result error;
            error.kind = Result::Error;
            std::string mode;
            fields >> error.error.state >> error.error.native >> mode;
            std::getline(fields >> std::ws, error.error.message);
            error.error.message = "[FreeTDS][SQL Server]" + error.error.message;
            error.aborts = mode == "abort";
            results.push_back(error);
        }
    }
    if (!found)
        return std::nullopt;
    return results;
}

// The literals of "select 'a' , N'b'" (nothing else in the statement); nullopt for any other text.
std::optional<std::vector<std::string>> literalSelect(const std::string &text)
{
    static const std::regex head(R"(^\s*select\s+)", std::regex::icase);
    std::smatch match;
    if (!std::regex_search(text, match, head))
        return std::nullopt;
    std::vector<std::string> values;
    size_t i = match.length(0);
    for (;;) {
        if (i < text.size() && (text[i] == 'N' || text[i] == 'n'))
            ++i;
        if (i >= text.size() || text[i] != '\'')
            return std::nullopt;
        std::string value;
        for (++i;; ++i) {
            if (i >= text.size())
                return std::nullopt;
            if (text[i] == '\'') {
                if (i + 1 < text.size() && text[i + 1] == '\'') {
                    value += '\'';
                    ++i;
                    continue;
                }
                break;
            }
            value += text[i];
        }
        values.push_back(value);
        ++i;
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        if (i >= text.size() || text[i] == ';')
            return values;
        if (text[i] != ',')
            return std::nullopt;
        ++i;
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
    }
}

std::vector<Result> answer(Connection &connection, const std::string &text)
{
    if (auto results = scripted(connection.scriptPath, text))
        return *results;
    static const std::regex trancount(R"(^\s*select\s+@@trancount\s*;?\s*$)", std::regex::icase);
    if (std::regex_match(text, trancount)) {
        Result count = Result::rowSet({""});
        count.rows.push_back({std::to_string(connection.transactionOpen ? 1 : 0)});
        return {count};
    }
    if (auto literals = literalSelect(text)) {
        Result row = Result::rowSet(std::vector<std::string>(literals->size()));
        row.rows.push_back({literals->begin(), literals->end()});
        return {row};
    }
    return {Result::affected(0)};
}

void setError(Handle *handle, const Diagnostic &diagnostic)
{
    handle->diagnostics = {diagnostic};
}

// Makes the statement's current result the one it reached: an error is reported (and ends the
// transaction when it aborts the batch).
SQLRETURN arrive(Statement *statement)
{
    statement->row = -1;
    const Result &result = statement->results[statement->current];
    if (result.kind == Result::RowSet)
        statement->readOffsets.assign(result.columns.size(), 0);
    if (result.kind != Result::Error)
        return SQL_SUCCESS;
    if (result.aborts)
        statement->connection->transactionOpen = false;
    setError(statement, result.error);
    return SQL_ERROR;
}

SQLRETURN run(Statement *statement, const std::string &text, const char *how)
{
    Connection &connection = *statement->connection;
    connection.log(std::string(how) + ": " + escaped(text));
    statement->diagnostics.clear();
    static const std::regex trancount(R"(@@trancount)", std::regex::icase);
    if (!connection.autocommit && !std::regex_search(text, trancount))
        connection.transactionOpen = true;  // the implicit transaction a statement begins
    statement->results = answer(connection, text);
    statement->current = 0;
    return arrive(statement);
}

std::string textOf(SQLCHAR *text, SQLINTEGER length)
{
    if (!text)
        return {};
    const char *bytes = reinterpret_cast<const char *>(text);
    return length == SQL_NTS ? std::string(bytes) : std::string(bytes, size_t(length));
}

void copyText(const std::string &value, SQLPOINTER target, SQLLEN capacity, SQLSMALLINT *length)
{
    if (length)
        *length = SQLSMALLINT(value.size());
    if (target && capacity > 0) {
        const size_t n = std::min(value.size(), size_t(capacity - 1));
        std::memcpy(target, value.data(), n);
        static_cast<char *>(target)[n] = '\0';
    }
}

Handle *handleOf(SQLSMALLINT, SQLHANDLE handle)
{
    return static_cast<Handle *>(handle);
}

void endTransaction(Connection *connection, SQLSMALLINT completion)
{
    connection->log(completion == SQL_COMMIT ? "commit" : "rollback");
    connection->transactionOpen = false;
}

}  // namespace

extern "C" {

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE *output)
{
    switch (type) {
    case SQL_HANDLE_ENV: *output = new Environment; return SQL_SUCCESS;
    case SQL_HANDLE_DBC: *output = new Connection; return SQL_SUCCESS;
    case SQL_HANDLE_STMT: {
        auto *statement = new Statement;
        statement->connection = static_cast<Connection *>(input);
        *output = statement;
        return SQL_SUCCESS;
    }
    default: return SQL_ERROR;
    }
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle)
{
    if (type == SQL_HANDLE_ENV)
        delete static_cast<Environment *>(handle);
    else if (type == SQL_HANDLE_DBC)
        delete static_cast<Connection *>(handle);
    else if (type == SQL_HANDLE_STMT)
        delete static_cast<Statement *>(handle);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option)
{
    if (option == SQL_DROP)
        return SQLFreeHandle(SQL_HANDLE_STMT, handle);
    auto *statement = static_cast<Statement *>(handle);
    if (option == SQL_CLOSE)
        statement->results.clear();
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle)
{
    static_cast<Statement *>(handle)->results.clear();
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER, SQLINTEGER)
{
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV, SQLINTEGER, SQLPOINTER value, SQLINTEGER, SQLINTEGER *)
{
    if (value)
        *static_cast<SQLINTEGER *>(value) = SQL_OV_ODBC3;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR *in, SQLSMALLINT inLength, SQLCHAR *out,
                                   SQLSMALLINT outCapacity, SQLSMALLINT *outLength, SQLUSMALLINT)
{
    auto *connection = static_cast<Connection *>(handle);
    const auto setting = [](const char *name) {
        const char *value = std::getenv(name);
        return value ? std::string(value) : std::string();
    };
    connection->logPath = setting("DBKEEL_RECORDER_LOG");
    connection->scriptPath = setting("DBKEEL_RECORDER_SCRIPT");
    if (!setting("DBKEEL_RECORDER_VERSION").empty())
        connection->version = setting("DBKEEL_RECORDER_VERSION");
    const std::string text = textOf(in, inLength);
    connection->log("connect: " + escaped(text));
    copyText(text, out, outCapacity, outLength);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR *, SQLSMALLINT, SQLCHAR *, SQLSMALLINT, SQLCHAR *, SQLSMALLINT)
{
    return SQLDriverConnect(handle, nullptr, nullptr, 0, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC)
{
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value, SQLSMALLINT capacity,
                             SQLSMALLINT *length)
{
    auto *connection = static_cast<Connection *>(handle);
    switch (type) {
    case SQL_DBMS_NAME: copyText("Microsoft SQL Server", value, capacity, length); return SQL_SUCCESS;
    case SQL_DBMS_VER: copyText(connection->version, value, capacity, length); return SQL_SUCCESS;
    case SQL_DRIVER_ODBC_VER: copyText("03.00", value, capacity, length); return SQL_SUCCESS;
    case SQL_DRIVER_NAME: copyText("libdbkeel_odbc_recorder.so", value, capacity, length); return SQL_SUCCESS;
    case SQL_CURSOR_COMMIT_BEHAVIOR:
    case SQL_CURSOR_ROLLBACK_BEHAVIOR:
        if (value)
            *static_cast<SQLUSMALLINT *>(value) = SQL_CB_PRESERVE;
        return SQL_SUCCESS;
    default:
        if (value && capacity >= 4)
            std::memset(value, 0, 4);
        if (length)
            *length = 0;
        return SQL_SUCCESS;
    }
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER)
{
    auto *connection = static_cast<Connection *>(handle);
    if (attribute == SQL_ATTR_AUTOCOMMIT) {
        const bool on = reinterpret_cast<SQLULEN>(value) == SQL_AUTOCOMMIT_ON;
        if (on && !connection->autocommit && connection->transactionOpen)
            endTransaction(connection, SQL_COMMIT);
        connection->autocommit = on;
    }
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER, SQLINTEGER *)
{
    auto *connection = static_cast<Connection *>(handle);
    if (!value)
        return SQL_SUCCESS;
    if (attribute == SQL_ATTR_AUTOCOMMIT)
        *static_cast<SQLUINTEGER *>(value) = connection->autocommit ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    else
        *static_cast<SQLUINTEGER *>(value) = 0;  // SQL_ATTR_CONNECTION_DEAD among them: alive
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT completion)
{
    if (type == SQL_HANDLE_DBC)
        endTransaction(static_cast<Connection *>(handle), completion);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT, SQLINTEGER, SQLPOINTER, SQLINTEGER)
{
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT handle, SQLINTEGER, SQLPOINTER value, SQLINTEGER, SQLINTEGER *)
{
    if (value)
        *static_cast<SQLPOINTER *>(value) = handle;  // a descriptor stands for its statement
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR *text, SQLINTEGER length)
{
    auto *statement = static_cast<Statement *>(handle);
    return run(statement, textOf(text, length), "exec");
}

SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR *text, SQLINTEGER length)
{
    auto *statement = static_cast<Statement *>(handle);
    statement->prepared = textOf(text, length);
    statement->connection->log("prepare: " + escaped(statement->prepared));
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT handle)
{
    auto *statement = static_cast<Statement *>(handle);
    return run(statement, statement->prepared, "execute");
}

SQLRETURN SQL_API SQLCancel(SQLHSTMT)
{
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle)
{
    auto *statement = static_cast<Statement *>(handle);
    statement->diagnostics.clear();
    if (statement->current + 1 >= statement->results.size()) {
        statement->results.clear();
        return SQL_NO_DATA;
    }
    ++statement->current;
    return arrive(statement);
}

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT *count)
{
    auto *statement = static_cast<Statement *>(handle);
    *count = 0;
    if (statement->current < statement->results.size() && statement->results[statement->current].kind == Result::RowSet)
        *count = SQLSMALLINT(statement->results[statement->current].columns.size());
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN *count)
{
    auto *statement = static_cast<Statement *>(handle);
    *count = -1;
    if (statement->current < statement->results.size() && statement->results[statement->current].kind == Result::Count)
        *count = SQLLEN(statement->results[statement->current].count);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT column, SQLCHAR *name, SQLSMALLINT capacity,
                                 SQLSMALLINT *length, SQLSMALLINT *type, SQLULEN *size, SQLSMALLINT *digits,
                                 SQLSMALLINT *nullable)
{
    auto *statement = static_cast<Statement *>(handle);
    const Result &result = statement->results.at(statement->current);
    copyText(result.columns.at(column - 1), name, capacity, length);
    if (type)
        *type = SQL_VARCHAR;
    if (size)
        *size = 8000;
    if (digits)
        *digits = 0;
    if (nullable)
        *nullable = SQL_NULLABLE;
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT handle)
{
    auto *statement = static_cast<Statement *>(handle);
    if (statement->current >= statement->results.size())
        return SQL_NO_DATA;
    const Result &result = statement->results[statement->current];
    if (size_t(statement->row + 1) >= result.rows.size())
        return SQL_NO_DATA;
    ++statement->row;
    statement->readOffsets.assign(result.columns.size(), 0);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT, SQLPOINTER target, SQLLEN capacity,
                             SQLLEN *indicator)
{
    auto *statement = static_cast<Statement *>(handle);
    const Result &result = statement->results.at(statement->current);
    const auto &value = result.rows.at(size_t(statement->row)).at(column - 1);
    if (!value) {
        *indicator = SQL_NULL_DATA;
        return SQL_SUCCESS;
    }
    size_t &offset = statement->readOffsets.at(column - 1);
    if (offset > 0 && offset >= value->size())
        return SQL_NO_DATA;
    const std::string remaining = value->substr(offset);
    SQLSMALLINT ignored = 0;
    copyText(remaining, target, capacity, &ignored);
    *indicator = SQLLEN(remaining.size());
    const size_t given = std::min(remaining.size(), size_t(capacity > 0 ? capacity - 1 : 0));
    offset += given;
    if (given < remaining.size()) {
        setError(statement, {"01004", 0, "String data, right truncated"});
        return SQL_SUCCESS_WITH_INFO;
    }
    offset = value->size() + 1;  // the whole value was given: the next call answers SQL_NO_DATA
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, SQLCHAR *state,
                                SQLINTEGER *native, SQLCHAR *message, SQLSMALLINT capacity, SQLSMALLINT *length)
{
    const Handle *h = handleOf(type, handle);
    if (!h || record < 1 || size_t(record) > h->diagnostics.size())
        return SQL_NO_DATA;
    const Diagnostic &diagnostic = h->diagnostics[size_t(record - 1)];
    if (state)
        copyText(diagnostic.state, state, 6, nullptr);
    if (native)
        *native = SQLINTEGER(diagnostic.native);
    copyText(diagnostic.message, message, capacity, length);
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, SQLSMALLINT field,
                                  SQLPOINTER value, SQLSMALLINT, SQLSMALLINT *)
{
    const Handle *h = handleOf(type, handle);
    if (record == 0 && field == SQL_DIAG_NUMBER && value) {
        *static_cast<SQLINTEGER *>(value) = SQLINTEGER(h ? h->diagnostics.size() : 0);
        return SQL_SUCCESS;
    }
    return SQL_NO_DATA;
}

}  // extern "C"
