#pragma once
// The two SQL dialects of the shared connection and the statements whose text differs.
//
// The pattern every module follows: a statement the installation's programs run as T-SQL
// and that the embedded database cannot run is one function taking the Dialect and
// returning the text for it; the SQL Server text stays exactly as the installation writes it.

#include <QString>
#include <QStringList>

namespace dbkeel {

enum class Dialect { SqlServer, Sqlite };

// The dialect of a connection from its SQL_DBMS_NAME.
Dialect dialectForDbms(const QString &dbmsName);

// SQL Server's major versions where a statement's form changes (SQL_DBMS_VER "08.00.2039" is 8).
inline constexpr int kSqlServer2000 = 8;   // the oldest supported: SysProperties, one row per INSERT
inline constexpr int kSqlServer2005 = 9;   // sys.extended_properties
inline constexpr int kSqlServer2008 = 10;  // INSERT … VALUES (…),(…)

// The leading number of a SQL_DBMS_VER text; 0 when it has none.
int majorVersion(const QString &dbmsVersion);
// True when `major` is a known SQL Server version older than `release`; 0 (the embedded database, or a
// version text without a number) is never older.
bool sqlServerBefore(int major, int release);
// "SQL Server 2008" for 10 (7 is 7.0, 11 is 2012 … 16 is 2022); "SQL Server <major>" for one not listed.
QString sqlServerRelease(int major);

// A table or column name that comes from a user or a file, fit for a statement: a plain word (letters,
// digits, _, not starting with a digit) as it is, anything else quoted as the dialect quotes names:
// [a]]b] on SQL Server, "a""b" on SQLite.
QString sqlIdentifier(Dialect dialect, const QString &name);

// The operand of `like` for a filter on user text: the text matched as it is, at the start of the value
// (Prefix) or anywhere in it (Contains). Its %, _, [ (a wildcard on SQL Server) and ! are escaped with !,
// and the escape clause follows: '%50!%%' escape '!'. Both dialects read that form; a text without these
// characters gives the plain pattern ('%50%'), as the installation writes it.
enum class LikeMatch { Prefix, Contains };
QString sqlLike(const QString &text, LikeMatch match);

// Catalogue tests: queries that return a row when the object exists.
QString tableExistsQuery(Dialect dialect, const QString &table);
QString columnExistsQuery(Dialect dialect, const QString &table, const QString &column);

// Catalogue lists: user tables whose name is like the pattern (column `name`);
// the columns of a table in their order (column `name`).
QString userTablesQuery(Dialect dialect, const QString &likePattern);
QString tableColumnsQuery(Dialect dialect, const QString &table);

// A batch split into its statements at semicolons outside quotes ('…', "…", `…`),
// brackets […] and comments (-- to the end of the line, /* … */). Comments are replaced
// by a blank (the embedded driver does not know them and would stop at a semicolon in one);
// statements are trimmed and empty ones dropped. A CREATE TRIGGER statement runs to the END of
// its body: the semicolons between its BEGIN and END stay in it.
QStringList splitStatements(const QString &batch);

}  // namespace dbkeel
