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

}  // namespace
}  // namespace dbkeel::test
