// Prints how fast the shared connection writes and reads through the SQLite3 driver:
// single-statement inserts (as the screens write rows) with and without WAL, and a
// 100,000-row read by column name through the forward-only cursor.

#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "tests/support/TestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace dbkeel;

namespace {

double insertsPerSecond(const QString &connectString, int rows)
{
    SharedDb db;
    db.open(connectString, 10);
    db.exec(QStringLiteral("create table t (ID INTEGER PRIMARY KEY, code INTEGER, name TEXT) STRICT"));
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rows; ++i)
        db.exec(QStringLiteral("insert into t(code,name)values(%1,%2) ;")
                    .arg(sqlNumber(i), sqlText(QStringLiteral("检测参数%1").arg(i))));
    return rows * 1000.0 / qMax<qint64>(1, timer.elapsed());
}

}  // namespace

int main()
{
    QTemporaryDir dir;
    const auto source = [&](const char *file, const char *options) {
        return test::sqliteConnectString(dir.filePath(QLatin1String(file)), QLatin1String(options));
    };
    try {
        std::printf("inserts, default journal: %8.0f rows/s\n", insertsPerSecond(source("plain.db", ""), 2000));
        const QString wal = source("wal.db", "JournalMode=WAL;StepAPI=1;");
        std::printf("inserts, WAL:             %8.0f rows/s\n", insertsPerSecond(wal, 20000));

        SharedDb db;
        db.open(wal, 10);
        db.exec(QStringLiteral("insert into t(code,name) select code + 20000, name from t; "
                               "insert into t(code,name) select code + 40000, name from t; "
                               "insert into t(code,name) select code + 80000, name from t where code < 20000"));
        QElapsedTimer timer;
        timer.start();
        SqlCursor cursor = db.query(QStringLiteral("select * from t order by ID"));
        long long sum = 0;
        while (cursor.next())
            sum += cursor.toInt("code") + cursor.text("name").size();
        const qint64 ms = qMax<qint64>(1, timer.elapsed());
        std::printf("read by name:             %8.0f rows/s (%lld rows in %lld ms, checksum %lld)\n",
                    cursor.rowsRead() * 1000.0 / ms, cursor.rowsRead(), static_cast<long long>(ms), sum);
    } catch (const DbError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
