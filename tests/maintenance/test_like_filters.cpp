// Every screen filter that matches user text with LIKE, on a real database: a text holding %, _, [ or
// the escape character ! finds exactly the rows that hold it (contains) or begin with it (prefix).

#include "core/SchemaUpgrade.h"
#include "core/SqlValue.h"
#include "dictionaries/SubIdSql.h"
#include "maintenance/DebugQueryEditor.h"
#include "maintenance/PlateCorrectionEditor.h"
#include "maintenance/SystemLogEditor.h"
#include "tests/maintenance/MaintenanceFixture.h"

#include <functional>

namespace dbkeel::test {
namespace {

using LikeFilters = MaintenanceFixture;

TEST_F(LikeFilters, WildcardCharactersInTheTextMatchThemselves)
{
    const QStringList values{"50%", "500", "505", "a_b", "axb", "[a]b", "ab", "x!y", "x!!y", "xy", "汽油%"};
    const QStringList searches{"0%", "a_", "[a]", "x!", "!", "%", "_", "油%"};
    const struct {
        const char *name;
        bool prefix;       // true: the rows that begin with the text; false: the rows that hold it
        const char *fill;  // %1: the value
        std::function<QString(const QString &)> query;
        const char *column;
    } cases[] = {
        {"field name filter", false, "insert into tb_id_info(infoid, infoname) values (1, %1)", fieldNameQuery,
         "infoname"},
        {"sub-ID export filter", true, "insert into tb_login_ini(infoid, infoname_about, infosubid) values (1, %1, 2)",
         transInfoExportQuery, "infoname_about"},
        {"plate search", true, "insert into tb_vehicle_info(loginid, INFO_1001) values (%1, %1)", plateSearchQuery,
         "INFO_1001"},
        {"queue plate", false,
         "insert into tb_vehicle_info(loginid, INFO_1001) values (%1, %1); insert into tb_login_queu(loginid) values (%1)",
         [](const QString &text) {
             return queueQuery({text, false, false, false, {}});
         },
         "INFO_1001"},
        {"system log operator", false, "insert into tb_sys_log(UserTrueName) values (%1)",
         [](const QString &text) { return logQuery(logCondition(LogFilter::Operator, text)); }, "UserTrueName"},
    };
    runUpgradeGroup1(sharedDb());  // the log table
    for (const auto &c : cases) {
        run(QStringLiteral("delete from tb_id_info; delete from tb_login_ini; delete from tb_vehicle_info; "
                           "delete from tb_login_queu; delete from tb_sys_log"));
        for (const QString &value : values)
            run(QString::fromUtf8(c.fill).arg(sqlText(value)));
        for (const QString &search : searches) {
            QStringList expected;
            for (const QString &value : values)
                if (c.prefix ? value.startsWith(search) : value.contains(search))
                    expected << value;
            QStringList found;
            SqlCursor rows = sharedDb().query(c.query(search));
            while (rows.next())
                found << rows.text(QLatin1String(c.column));
            found.sort();
            expected.sort();
            EXPECT_EQ(found, expected) << c.name << ": " << search.toStdString();
        }
    }
}

}  // namespace
}  // namespace dbkeel::test
