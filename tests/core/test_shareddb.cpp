#include "core/SqlValue.h"
#include "tests/support/DbFixture.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace dbkeel::test {
namespace {

using SharedDbTest = DbFixture;

TEST_F(SharedDbTest, ReportsTheEmbeddedDialect)
{
    EXPECT_EQ(db.dbmsName(), QStringLiteral("SQLite"));
    EXPECT_EQ(db.dialect(), Dialect::Sqlite);
    // The driver's SQLite version, read at connect; no SQL Server version.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^SQLite 3\\.\\d+\\.\\d+$")).match(db.serverVersion()).hasMatch())
        << db.serverVersion().toStdString();
    EXPECT_EQ(db.sqlServerMajor(), 0);
}

TEST_F(SharedDbTest, ReadsColumnsByNameAndPositionWithTrailingBlanksRemoved)
{
    run(QStringLiteral("create table t (code integer, name text, note text)"));
    run(QStringLiteral("insert into t values (7, '  制动台   ', null)"));
    SqlCursor cursor = db.query(QStringLiteral("select code, name, note from t"));
    EXPECT_EQ(cursor.columnNames(), QStringList({"code", "name", "note"}));
    ASSERT_TRUE(cursor.next());
    EXPECT_EQ(cursor.toInt("CODE"), 7);
    EXPECT_EQ(cursor.text("Name"), QStringLiteral("  制动台"));
    EXPECT_EQ(cursor.text(1), cursor.text("name"));
    EXPECT_EQ(cursor.text("note"), QString());
    EXPECT_TRUE(cursor.isNull("note"));
    EXPECT_FALSE(cursor.isNull("name"));
    EXPECT_FALSE(cursor.next());
    EXPECT_FALSE(cursor.next());
    EXPECT_EQ(cursor.rowsRead(), 1);
}

TEST_F(SharedDbTest, UnknownColumnOrPositionIsAnError)
{
    run(QStringLiteral("create table t (a integer)"));
    run(QStringLiteral("insert into t values (1)"));
    SqlCursor cursor = db.query(QStringLiteral("select a from t"));
    ASSERT_TRUE(cursor.next());
    EXPECT_THROW(cursor.text("b"), DbError);
    EXPECT_THROW(cursor.text(1), DbError);
    EXPECT_THROW(cursor.text(-1), DbError);
}

TEST_F(SharedDbTest, ChineseAndLongTextsRoundTrip)
{
    // A text longer than one read piece, with multi-byte characters across the piece borders.
    QString longText;
    for (int i = 0; i < 3000; ++i)
        longText += QStringLiteral("检测线%1,").arg(i % 10);
    run(QStringLiteral("create table t (name text)"));
    for (const QString &value : {QStringLiteral("苏A·12345 车籍区县"), longText})
        run(QStringLiteral("insert into t values (%1)").arg(sqlText(value)));
    EXPECT_EQ(column(QStringLiteral("select name from t")), QStringLiteral("苏A·12345 车籍区县|") + longText);
    EXPECT_EQ(column(QStringLiteral("select count(*) from t where name like '%检测线9%'")), QStringLiteral("1"));
}

TEST_F(SharedDbTest, DriverErrorTextIsCarried)
{
    try {
        db.exec(QStringLiteral("select * from missing_table"));
        FAIL() << "no error";
    } catch (const DbError &error) {
        EXPECT_TRUE(error.text().startsWith(QStringLiteral("[SQLite]"))) << error.what();
        EXPECT_TRUE(error.text().contains(QStringLiteral("missing_table"))) << error.what();
    }
    EXPECT_THROW(db.query(QStringLiteral("select nonsense from")), DbError);
}

TEST_F(SharedDbTest, UpdateOrDeleteTouchingNothingSucceeds)
{
    run(QStringLiteral("create table t (a integer)"));
    EXPECT_EQ(db.exec(QStringLiteral("update t set a = 1 where a = 2")), 0);
    EXPECT_EQ(db.exec(QStringLiteral("delete from t where a = 2")), 0);
    run(QStringLiteral("insert into t values (2)"));
    EXPECT_EQ(db.exec(QStringLiteral("update t set a = 3 where a = 2")), 1);
}

TEST_F(SharedDbTest, BatchRunsStatementByStatementAndStopsAtTheFirstError)
{
    run(QStringLiteral("create table t (a integer, b text)"));
    EXPECT_EQ(db.exec(QStringLiteral("insert into t values (1, 'x;y');\n-- a comment; with a semicolon\n"
                                     "insert into t values (2, '[;]'); ")),
              2);
    EXPECT_EQ(column(QStringLiteral("select b from t order by a")), QStringLiteral("x;y|[;]"));

    EXPECT_THROW(db.exec(QStringLiteral("insert into t values (3, 'c'); insert into nowhere values (4); "
                                        "insert into t values (5, 'e')")),
                 DbError);
    EXPECT_EQ(column(QStringLiteral("select a from t order by a")), QStringLiteral("1|2|3"));
}

TEST_F(SharedDbTest, TriggerBodiesStayWholeInABatch)
{
    run(QStringLiteral("create table t (a integer); create table log (a integer);"
                       "create trigger keep after insert on t begin insert into log values (new.a); "
                       "insert into log values (new.a * 10); end; insert into t values (4)"));
    EXPECT_EQ(column(QStringLiteral("select a from log order by a")), QStringLiteral("4|40"));
}

TEST_F(SharedDbTest, ACursorCountsTheRowsItsTextChanged)
{
    run(QStringLiteral("create table t (a integer)"));
    EXPECT_EQ(db.query(QStringLiteral("insert into t values (1), (2), (3)")).rowsAffected(), 3);
    SqlCursor select = db.query(QStringLiteral("select a from t"));
    EXPECT_EQ(select.rowsAffected(), 0);
    EXPECT_EQ(select.columnCount(), 1);
}

TEST_F(SharedDbTest, CancelFromAnotherThreadEndsARunningStatement)
{
    std::atomic<bool> ended{false};
    bool counted = false;
    std::thread worker([&] {
        try {  // a count that would take hours
            SqlCursor cursor = db.query(QStringLiteral("with recursive c(n) as (select 1 union all select n + 1 "
                                                       "from c) select count(*) from c"));
            counted = cursor.next();
        } catch (const DbError &) {
            // the driver reports the interruption
        }
        ended = true;
    });
    while (!ended) {  // again until it lands: a cancel before the statement began has nothing to end
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        db.cancel();
    }
    worker.join();
    EXPECT_FALSE(counted);
    EXPECT_EQ(column(QStringLiteral("select 7")), QStringLiteral("7"));  // the connection goes on
}

TEST_F(SharedDbTest, NameWithApostropheIsStoredAsTyped)
{
    run(QStringLiteral("create table t (name text)"));
    const QString name = QStringLiteral("O'Neil's 灯光仪 ''");
    run(QStringLiteral("insert into t values (%1)").arg(sqlText(name)));
    EXPECT_EQ(column(QStringLiteral("select name from t where name = %1").arg(sqlText(name))), name);
}

TEST_F(SharedDbTest, NumberValueOfTheWrongTypeFailsOnAStrictColumn)
{
    run(QStringLiteral("create table u (v integer) strict"));
    run(QStringLiteral("insert into u values (%1)").arg(sqlNumber(QStringLiteral(" -12 "))));
    try {
        db.exec(QStringLiteral("insert into u values (%1)").arg(sqlText(QStringLiteral("1); drop table u; --"))));
        FAIL() << "no error";
    } catch (const DbError &error) {
        EXPECT_EQ(error.text(), QStringLiteral("[SQLite]cannot store TEXT value in INTEGER column u.v (19)"));
    }
    EXPECT_THROW(db.exec(QStringLiteral("insert into u values (%1)")
                             .arg(sqlNumber(QStringLiteral("1); drop table u; --")))),
                 DbError);
    EXPECT_EQ(column(QStringLiteral("select v from u")), QStringLiteral("-12"));
}

TEST_F(SharedDbTest, ClosedConnectionRefusesStatementsButOpenCursorsFinish)
{
    run(QStringLiteral("create table t (a integer)"));
    run(QStringLiteral("insert into t values (1); insert into t values (2)"));
    SqlCursor cursor = db.query(QStringLiteral("select a from t order by a"));
    ASSERT_TRUE(cursor.next());
    db.close();
    EXPECT_FALSE(db.isOpen());
    EXPECT_THROW(db.exec(QStringLiteral("select 1")), DbError);
    ASSERT_TRUE(cursor.next());
    EXPECT_EQ(cursor.text(0), QStringLiteral("2"));
}

// A transaction scope on the embedded database, as every replace-all write uses it.
class TransactionTest : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        run(QStringLiteral("create table t (code integer not null, name text) strict"));
        run(QStringLiteral("insert into t values (1, 'old1'), (2, 'old2')"));
    }
    // Delete every row, insert `codes` in order, commit: the pattern of a replace-all write.
    void replaceAll(const QStringList &codes)
    {
        SqlTransaction transaction(db);
        db.exec(QStringLiteral("delete from t"));
        for (const QString &code : codes)
            db.exec(QStringLiteral("insert into t values (%1, 'new')").arg(sqlNumber(code)));
        transaction.commit();
    }
};

TEST_F(TransactionTest, CommittedWorkStaysAndLaterStatementsAreOnTheirOwnAgain)
{
    replaceAll({"7", "8"});
    EXPECT_EQ(column(QStringLiteral("select code from t order by code")), QStringLiteral("7|8"));
    run(QStringLiteral("insert into t values (9, 'autocommit')"));
    SharedDb second;  // another connection sees every row: nothing is left uncommitted
    second.open(driverConnectString(), 10);
    SqlCursor count = second.query(QStringLiteral("select count(*) from t"));
    ASSERT_TRUE(count.next());
    EXPECT_EQ(count.toInt(0), 3);
}

TEST_F(TransactionTest, AFailureInTheMiddleLeavesEveryOldRow)
{
    EXPECT_THROW(replaceAll({"7", "x", "8"}), DbError);  // 'x' is refused after 7 was inserted
    EXPECT_EQ(column(QStringLiteral("select name from t order by code")), QStringLiteral("old1|old2"));
    replaceAll({"5"});  // the connection is usable for the next scope
    EXPECT_EQ(column(QStringLiteral("select code from t")), QStringLiteral("5"));
}

TEST_F(TransactionTest, AScopeLeftWithoutCommitRollsBack)
{
    {
        SqlTransaction transaction(db);
        run(QStringLiteral("delete from t"));
    }
    EXPECT_EQ(column(QStringLiteral("select code from t order by code")), QStringLiteral("1|2"));
}

TEST_F(TransactionTest, AClosedConnectionCannotBeginOne)
{
    db.close();
    EXPECT_THROW(SqlTransaction{db}, DbError);
}

TEST(SharedDbOpen, BadConnectStringThrowsTheDriverManagersText)
{
    SharedDb db;
    try {
        db.open(QStringLiteral("DSN=NoSuchSourceAnywhere;UID=;PWD=;"), 5);
        FAIL() << "no error";
    } catch (const DbError &error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("Data source name not found"))) << error.what();
    }
    EXPECT_FALSE(db.isOpen());
}

TEST(SharedDbOpen, ServerDriverErrorJoinsAllDiagnosticRecords)
{
    SharedDb db;
    try {
        db.open(QStringLiteral("DRIVER=FreeTDS;Server=127.0.0.1;Port=1;TDS_Version=7.4;UID=sa;PWD=x;"), 5);
        FAIL() << "no error";
    } catch (const DbError &error) {
        const QStringList records = error.text().split(QLatin1Char('\n'));
        ASSERT_GE(records.size(), 2) << error.what();
        EXPECT_TRUE(records.contains(QStringLiteral("[FreeTDS][SQL Server]Unable to connect to data source")))
            << error.what();
        for (const QString &record : records)
            EXPECT_TRUE(record.startsWith(QStringLiteral("[FreeTDS][SQL Server]"))) << error.what();
    }
}

}  // namespace
}  // namespace dbkeel::test
