// The connection on SQL Server: dialect and version, several results of one batch, transactions.

#include "core/SharedDb.h"
#include "tests/support/RecordingServer.h"

#include <gtest/gtest.h>

namespace dbkeel::test {
namespace {

TEST(SqlServerConnection, TakesTheSqlServerDialect)
{
    RecordingServer server;
    server.setScript(QStringLiteral("on ^select a, b from t$\nrows a|b\nrow 1|\\N\nrow 2|二\n"));
    SharedDb db;
    db.open(server.connectString(), 10);
    EXPECT_EQ(db.dialect(), Dialect::SqlServer);
    SqlCursor cursor = db.query(QStringLiteral("select a, b from t"));
    ASSERT_TRUE(cursor.next());
    EXPECT_TRUE(cursor.isNull(QStringLiteral("b")));
    ASSERT_TRUE(cursor.next());
    EXPECT_EQ(cursor.text(QStringLiteral("b")), QStringLiteral("二"));
    EXPECT_FALSE(cursor.next());
    EXPECT_EQ(server.statements(), QStringList{QStringLiteral("select a, b from t")});
}

// A batch-aborting error (conversion 245, deadlock 1205) rolls the whole transaction back on SQL Server;
// the statements after it would run outside of it and the commit would report success.
TEST(SqlServerConnection, AnAbortedTransactionRefusesFurtherStatementsAndItsCommit)
{
    RecordingServer server;
    server.setScript(QStringLiteral("on values \\('x'\\)\n"
                                    "error 22018 245 abort Conversion failed when converting the varchar value 'x' "
                                    "to data type int.\n"));
    SharedDb db;
    db.open(server.connectString(), 10);
    SqlTransaction transaction(db);
    db.exec(QStringLiteral("insert into t (n) values (1)"));
    try {
        db.exec(QStringLiteral("insert into t (n) values ('x')"));
        FAIL() << "the conversion error was not reported";
    } catch (const DbError &error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("Conversion failed")));
        EXPECT_TRUE(error.transactionRolledBack());
    }
    EXPECT_THROW(db.exec(QStringLiteral("insert into t (n) values (3)")), DbError);
    try {
        transaction.commit();
        FAIL() << "the commit of a transaction the server rolled back succeeded";
    } catch (const DbError &error) {
        EXPECT_TRUE(error.transactionRolledBack());
    }
    EXPECT_FALSE(server.statements().contains(QStringLiteral("insert into t (n) values (3)")));
    EXPECT_FALSE(server.log().contains(QStringLiteral("commit")));
}

// An error that leaves the transaction open (a duplicate key, 2627) is the caller's to handle.
TEST(SqlServerConnection, AnErrorThatKeepsTheTransactionLetsItGoOn)
{
    RecordingServer server;
    server.setScript(QStringLiteral("on values \\(2\\)\nerror 23000 2627 keep Violation of PRIMARY KEY constraint.\n"));
    SharedDb db;
    db.open(server.connectString(), 10);
    SqlTransaction transaction(db);
    db.exec(QStringLiteral("insert into t (n) values (1)"));
    try {
        db.exec(QStringLiteral("insert into t (n) values (2)"));
        FAIL() << "the key violation was not reported";
    } catch (const DbError &error) {
        EXPECT_FALSE(error.transactionRolledBack());
    }
    db.exec(QStringLiteral("insert into t (n) values (3)"));
    transaction.commit();
    EXPECT_EQ(server.log().filter(QStringLiteral("commit")).size(), 1);
}

}  // namespace
}  // namespace dbkeel::test
