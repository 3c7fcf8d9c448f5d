#pragma once
// A fresh SQLite database file in a temporary folder, reached through the real driver manager.

#include "core/SharedDb.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dbkeel::test {

class DbFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SharedDb db;

    QString databasePath() const { return dir.filePath(QStringLiteral("test.db")); }
    QString driverConnectString() const { return sqliteConnectString(databasePath()); }
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db.open(driverConnectString(), 10);
    }
    // Runs a statement, failing the test with the driver's text.
    void run(const QString &batch)
    {
        try {
            db.exec(batch);
        } catch (const DbError &error) {
            FAIL() << error.what();
        }
    }
    // The first column of every row, joined by "|".
    QString column(const QString &query)
    {
        QStringList values;
        SqlCursor cursor = db.query(query);
        while (cursor.next())
            values << cursor.text(0);
        return values.join(QLatin1Char('|'));
    }
};

}  // namespace dbkeel::test
