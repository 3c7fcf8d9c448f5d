#include "core/SharedDb.h"
#include "core/SqlDialect.h"
#include "core/SqlValue.h"

#include <gtest/gtest.h>

namespace dbkeel::test {
namespace {

TEST(SqlValue, TextIsQuotedWithQuotesDoubled)
{
    EXPECT_EQ(sqlText(QString()), QStringLiteral("''"));
    EXPECT_EQ(sqlText(QStringLiteral("O'Neil")), QStringLiteral("'O''Neil'"));
    EXPECT_EQ(sqlText(QStringLiteral("''")), QStringLiteral("''''''"));
}

TEST(SqlValue, NumberIsWrittenAsItIsWhenItIsADecimalInteger)
{
    const struct {
        const char *value;
        const char *written;
    } cases[] = {{"12", "12"}, {" -7 ", "-7"}, {"+3", "+3"}, {"007", "007"}};
    for (const auto &c : cases)
        EXPECT_EQ(sqlNumber(QString::fromUtf8(c.value)), QString::fromUtf8(c.written)) << c.value;
    EXPECT_EQ(sqlNumber(-42LL), QStringLiteral("-42"));
}

// SQL Server turns '' into 0 and the embedded database compares a text with a number as unequal:
// neither would fail, so every value that is not a number is refused before a statement runs.
TEST(SqlValue, AnythingElseIsRefusedWithADriverStyleError)
{
    const char *refused[] = {"", "  ", "-", "1.5", "12abc", "0x10", "1 2", "1 or 1=1", "5'", "１２"};
    for (const char *value : refused) {
        try {
            sqlNumber(QString::fromUtf8(value));
            ADD_FAILURE() << "accepted: " << value;
        } catch (const DbError &error) {
            EXPECT_EQ(error.text(), QStringLiteral("[Dbkeel]Conversion failed when converting the varchar value %1 to "
                                                   "data type int.")
                                        .arg(sqlText(QString::fromUtf8(value))));
        }
    }
}

TEST(SqlDialect, DialectFollowsTheDbmsName)
{
    EXPECT_EQ(dialectForDbms(QStringLiteral("Microsoft SQL Server")), Dialect::SqlServer);
    EXPECT_EQ(dialectForDbms(QStringLiteral("MICROSOFT")), Dialect::SqlServer);
    EXPECT_EQ(dialectForDbms(QStringLiteral("SQLite")), Dialect::Sqlite);
}

TEST(SqlDialect, SqlServerCatalogueTextsAreTheInstallationsOwn)
{
    EXPECT_EQ(tableExistsQuery(Dialect::SqlServer, QStringLiteral("tb_line_info")),
              QStringLiteral("select * from dbo.sysobjects where id = object_id(N'[dbo].[tb_line_info]') and "
                             "OBJECTPROPERTY(id, N'IsUserTable') = 1"));
    EXPECT_EQ(columnExistsQuery(Dialect::SqlServer, QStringLiteral("tb_line_info"), QStringLiteral("stationip")),
              QStringLiteral(
                  "select name from syscolumns where id = object_id('tb_line_info') and name = 'stationip'"));
    EXPECT_EQ(userTablesQuery(Dialect::SqlServer, QStringLiteral("tb_%")),
              QStringLiteral("select name from sysobjects where xtype = 'U' and name like 'tb_%' ;"));
    EXPECT_EQ(tableColumnsQuery(Dialect::SqlServer, QStringLiteral("tb_type_vehicle")),
              QStringLiteral(
                  "SELECT name FROM syscolumns WHERE (id = OBJECT_ID(N'tb_type_vehicle')) order by colorder ;"));
}

// Names with a quote or a bracket stay names: the catalogue queries are safe whoever calls them.
TEST(SqlDialect, SqlServerCatalogueTextsEscapeTheNames)
{
    const QString name = QStringLiteral("O'Brien]'; drop table hostile_marker; --");
    EXPECT_EQ(tableExistsQuery(Dialect::SqlServer, name),
              QStringLiteral("select * from dbo.sysobjects where id = object_id(N'[dbo].[O''Brien]]''; drop table "
                             "hostile_marker; --]') and OBJECTPROPERTY(id, N'IsUserTable') = 1"));
    EXPECT_EQ(columnExistsQuery(Dialect::SqlServer, name, QStringLiteral("a'b")),
              QStringLiteral("select name from syscolumns where id = object_id('O''Brien]''; drop table "
                             "hostile_marker; --') and name = 'a''b'"));
    EXPECT_EQ(userTablesQuery(Dialect::SqlServer, QStringLiteral("tb_'%")),
              QStringLiteral("select name from sysobjects where xtype = 'U' and name like 'tb_''%' ;"));
    EXPECT_EQ(tableColumnsQuery(Dialect::SqlServer, QStringLiteral("a'b")),
              QStringLiteral("SELECT name FROM syscolumns WHERE (id = OBJECT_ID(N'a''b')) order by colorder ;"));
}

TEST(SqlDialect, IdentifiersAreQuotedAsEachDialectQuotesThem)
{
    EXPECT_EQ(sqlIdentifier(Dialect::SqlServer, QStringLiteral("CLZL_2")), QStringLiteral("CLZL_2"));
    EXPECT_EQ(sqlIdentifier(Dialect::SqlServer, QStringLiteral("2a")), QStringLiteral("[2a]"));
    EXPECT_EQ(sqlIdentifier(Dialect::SqlServer, QStringLiteral("车型")), QStringLiteral("[车型]"));
    EXPECT_EQ(sqlIdentifier(Dialect::SqlServer, QStringLiteral("a]b; drop")), QStringLiteral("[a]]b; drop]"));
    EXPECT_EQ(sqlIdentifier(Dialect::Sqlite, QStringLiteral("a\"b")), QStringLiteral("\"a\"\"b\""));
}

// A filter text's wildcards are escaped with ! and the clause added; an ordinary text keeps the plain form.
TEST(SqlDialect, LikeOperandsMatchTheTextAsItIs)
{
    const struct {
        const char *text;
        LikeMatch match;
        const char *operand;
    } cases[] = {
        {"京A", LikeMatch::Prefix, "'京A%'"},
        {"三", LikeMatch::Contains, "'%三%'"},
        {"", LikeMatch::Contains, "'%%'"},
        {"50%_[a]!", LikeMatch::Contains, "'%50!%!_![a]!!%' escape '!'"},
        {"O'Brien_", LikeMatch::Prefix, "'O''Brien!_%' escape '!'"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(sqlLike(QString::fromUtf8(c.text), c.match), QString::fromUtf8(c.operand)) << c.text;
}

TEST(SqlDialect, SplitRespectsQuotesBracketsCommentsAndTriggerBodies)
{
    const struct {
        const char *batch;
        QStringList statements;
    } cases[] = {
        {"select 1", {"select 1"}},
        {" select 1 ; select 2 ;; ", {"select 1", "select 2"}},
        {"insert into t values ('a;b', 'it''s;')", {"insert into t values ('a;b', 'it''s;')"}},
        {"select \"x;y\", [a;b], `c;d` from t; select 2", {"select \"x;y\", [a;b], `c;d` from t", "select 2"}},
        {"select 1 -- one; two\n; select 2", {"select 1", "select 2"}},
        {"select /* ; */ 1; /* only a comment; */ ; -- tail;", {"select   1"}},
        {"select '--', '/*' from t", {"select '--', '/*' from t"}},
        {"select 'open;", {"select 'open;"}},
        {"create trigger t before delete on a begin delete from b; select case when 1 then 2 end; end; select 3",
         {"create trigger t before delete on a begin delete from b; select case when 1 then 2 end; end", "select 3"}},
        {"CREATE TEMP TRIGGER t AFTER INSERT ON a BEGIN SELECT RAISE(ABORT, 'end;'); END;select [end]; select 4",
         {"CREATE TEMP TRIGGER t AFTER INSERT ON a BEGIN SELECT RAISE(ABORT, 'end;'); END", "select [end]",
          "select 4"}},
        {"select begin_date from t; select 5", {"select begin_date from t", "select 5"}},
        {"", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(splitStatements(QString::fromUtf8(c.batch)), c.statements) << c.batch;
}

}  // namespace
}  // namespace dbkeel::test
