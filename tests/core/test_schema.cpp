#include "core/ColumnWidths.h"
#include "tests/support/DbFixture.h"
#include "tests/support/TestSupport.h"

#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <functional>

namespace dbkeel::test {
namespace {

// Table name → column names, in declaration order.
using Tables = QMap<QString, QStringList>;

// Calls `take(table, column, declaration)` for every column of the SQL Server script, the declaration
// being what follows the bracketed column name.
void readSqlServerColumns(const std::function<void(const QString &, const QString &, const QString &)> &take)
{
    QString current;
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE \\[dbo\\]\\.\\[(\\w+)\\]"));
    static const QRegularExpression column(QStringLiteral("^\\t\\[(\\w+)\\](.*)"));
    for (const QString &line : schemaText(QStringLiteral("sqlserver.sql")).split(QLatin1Char('\n'))) {
        if (const auto m = table.match(line); m.hasMatch())
            current = m.captured(1);
        else if (const auto c = column.match(line); c.hasMatch())
            take(current, c.captured(1), c.captured(2));
    }
}

Tables sqlServerTables()
{
    Tables tables;
    readSqlServerColumns(
        [&](const QString &table, const QString &column, const QString &) { tables[table] << column; });
    return tables;
}

// "table.column" → n of every varchar(n) column of the SQL Server script.
QMap<QString, int> sqlServerVarcharWidths()
{
    QMap<QString, int> widths;
    static const QRegularExpression varchar(QStringLiteral("^ \\[varchar\\] \\((\\d+)\\)"));
    readSqlServerColumns([&](const QString &table, const QString &column, const QString &declaration) {
        if (const auto m = varchar.match(declaration); m.hasMatch())
            widths[table + u'.' + column] = m.captured(1).toInt();
    });
    return widths;
}

class SchemaTest : public DbFixture {
protected:
    void SetUp() override
    {
        DbFixture::SetUp();
        run(schemaText(QStringLiteral("sqlite.sql")));
    }
    Tables loadedTables()
    {
        Tables tables;
        for (const QString &name :
             column(QStringLiteral("select name from sqlite_master where type = 'table' order by name"))
                 .split(QLatin1Char('|')))
            tables[name] = column(QStringLiteral("select name from pragma_table_info('%1') order by cid").arg(name))
                               .split(QLatin1Char('|'));
        return tables;
    }
    // Rows of a query that break a rule of the demo data, for the failure message.
    QString violations(const QString &query) { return column(query); }
};

TEST_F(SchemaTest, BothDialectsDeclareTheSameTablesAndColumns)
{
    const Tables embedded = loadedTables();
    const Tables server = sqlServerTables();
    EXPECT_EQ(embedded.keys(), server.keys());
    for (auto it = embedded.begin(); it != embedded.end(); ++it)
        EXPECT_EQ(it.value(), server.value(it.key())) << it.key().toStdString();
}

// The editors' column widths are the SQL Server script's varchar widths and TEXT columns of the embedded one.
TEST_F(SchemaTest, ColumnWidthsAreTheScriptsOwn)
{
    const QMap<QString, int> server = sqlServerVarcharWidths();
    for (const ColumnWidth &width : kColumnWidths) {
        const QString table = QString::fromLatin1(width.table), name = QString::fromLatin1(width.column);
        EXPECT_EQ(server.value(table + u'.' + name, -1), width.bytes) << table.toStdString() << '.' << width.column;
        EXPECT_EQ(column(QStringLiteral("select type from pragma_table_info('%1') where name = '%2'").arg(table, name)),
                  QStringLiteral("TEXT"))
            << table.toStdString() << '.' << width.column;
    }
}

TEST_F(SchemaTest, LeavesTheProgramsOwnTablesToTheProgram)
{
    const Tables tables = loadedTables();
    for (const char *own : {"tb_sys_log", "tb_status_memstd", "tb_login_ip_info", "tb_login_lineindex"})
        EXPECT_FALSE(tables.contains(QLatin1String(own))) << own;
    for (const char *added : {"stationip", "stationport", "BrakeType", "LineCode", "jcjgid", "netid", "devPath"})
        EXPECT_FALSE(tables.value(QStringLiteral("tb_line_info")).contains(QLatin1String(added))) << added;
}

TEST_F(SchemaTest, StrictTablesRefuseTextInIntegerColumnsAndFillInsertDate)
{
    EXPECT_THROW(db.exec(QStringLiteral("insert into tb_id_devid(devid,devname) values ('12a','x')")), DbError);
    run(QStringLiteral("insert into tb_id_devid(devid,devname) values ('12','x')"));  // converts as SQL Server does
    SqlCursor cursor = db.query(QStringLiteral("select * from tb_id_devid"));
    ASSERT_TRUE(cursor.next());
    EXPECT_EQ(cursor.toInt("ID"), 1);
    EXPECT_EQ(cursor.toInt("devid"), 12);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(cursor.text("insertdate"))
                    .hasMatch())
        << cursor.text("insertdate").toStdString();
}

TEST_F(SchemaTest, DemoDataLoadsAndHoldsTogether)
{
    run(schemaText(QStringLiteral("demo-data.sql")));
    // codes within their dictionaries' ranges
    EXPECT_EQ(violations(QStringLiteral("select devid from tb_id_devid where devid < 1 or devid > 199")), QString());
    EXPECT_EQ(violations(QStringLiteral("select itemid from tb_id_itemid where itemid < 200 or itemid > 1000")),
              QString());
    EXPECT_EQ(violations(QStringLiteral("select paramid from tb_id_paramid where paramid < 5000 or paramid > 10000")),
              QString());
    // relations and the layout refer to dictionary entries
    EXPECT_EQ(violations(
                  QStringLiteral("select devid from tb_id_dev_item where devid not in (select devid from tb_id_devid) "
                                 "or itemid not in (select itemid from tb_id_itemid)")),
              QString());
    EXPECT_EQ(violations(QStringLiteral("select itemid from tb_id_item_param where itemid not in (select itemid from "
                                        "tb_id_itemid) or paramid not in (select paramid from tb_id_paramid)")),
              QString());
    EXPECT_EQ(violations(
                  QStringLiteral("select devid from tb_line_info where devid not in (select devid from tb_id_devid) "
                                 "or linetype not in (select lintype from tb_id_linetype)")),
              QString());
    // two lines of three stations, each station one address and its own port
    EXPECT_EQ(column(QStringLiteral("select count(distinct lineid) || ',' || count(distinct lineid * 100 + stationid) "
                                    "from tb_line_info")),
              QStringLiteral("2,6"));
    EXPECT_EQ(violations(QStringLiteral("select stationport from tb_line_info group by stationport "
                                        "having count(distinct lineid * 100 + stationid) > 1")),
              QString());
    EXPECT_EQ(violations(QStringLiteral("select lineid, stationid from tb_line_info group by lineid, stationid "
                                        "having count(distinct stationport) > 1 or max(stationip) <> '127.0.0.1'")),
              QString());
    // sub-IDs numbered from their info ID; queue vehicles registered as plate + plate kind
    EXPECT_EQ(violations(QStringLiteral("select infosubid from tb_login_ini where infosubid / 10000 <> infoid")),
              QString());
    EXPECT_EQ(column(
                  QStringLiteral("select count(distinct infoid) from tb_login_ini where infoid in (1005, 1012, 1082)")),
              QStringLiteral("3"));
    EXPECT_EQ(violations(QStringLiteral("select q.loginid from tb_login_queu q left join tb_vehicle_info v on "
                                        "v.loginid = q.loginid where v.loginid is null or "
                                        "v.loginid <> v.INFO_1001 || v.INFO_1012")),
              QString());
    EXPECT_EQ(column(QStringLiteral("select UserType from tb_user where UserName = 'admin' and Password = 'admin'")),
              QStringLiteral("0"));
    // the derived run tables match the relations
    EXPECT_NE(column(QStringLiteral("select count(*) from tb_id_param")), QStringLiteral("0"));
}

}  // namespace
}  // namespace dbkeel::test
