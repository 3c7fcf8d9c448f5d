// Every statement builder in the SQL Server dialect, with ordinary and hostile values, sent through the
// recording driver: the T-SQL check (tsql_check) then parses each text. A builder may refuse a value
// (a DbError before anything runs); it may never make a text that breaks or runs what the value holds.

#include "core/SchemaUpgrade.h"
#include "core/SharedDb.h"
#include "core/SqlDialect.h"
#include "dictionaries/DictionarySql.h"
#include "dictionaries/DictionaryVariant.h"
#include "dictionaries/LineTypeEditor.h"
#include "dictionaries/OutlineItemEditor.h"
#include "dictionaries/SubIdSql.h"
#include "dictionaries/SubIdTables.h"
#include "maintenance/ClearingEditor.h"
#include "maintenance/DebugQueryEditor.h"
#include "maintenance/ItemParamCheckEditor.h"
#include "maintenance/PlateCorrectionEditor.h"
#include "maintenance/SystemLogEditor.h"
#include "maintenance/TableBrowser.h"
#include "maintenance/VersionEditor.h"
#include "stats/StatTableEditor.h"
#include "stats/VehicleDesignEditor.h"
#include "tests/support/RecordingServer.h"

#include <gtest/gtest.h>

#include <functional>

namespace dbkeel::test {
namespace {

const Dialect kServer = Dialect::SqlServer;

class SqlServerStatements : public ::testing::Test {
protected:
    void SetUp() override { sharedDb().open(server.connectString(), 10); }
    void TearDown() override { sharedDb().close(); }

    // Sends what the builder makes of each hostile value; a value the builder refuses sends nothing.
    void sendEach(const std::function<QStringList(const QString &)> &build)
    {
        for (const QString &value : hostileValues()) {
            QStringList texts;
            try {
                texts = build(value);
            } catch (const DbError &) {
                continue;  // refused before running
            }
            for (const QString &text : texts)
                if (!text.isEmpty())
                    sharedDb().exec(text);
        }
    }
    static void runGuardedTexts(const GuardedStatement &s)
    {
        for (const QString &text : {s.text, s.onlyIfRow, s.onlyIfNoRow})
            if (!text.isEmpty())
                sharedDb().exec(text);
    }
    void sendGuarded(const std::function<GuardedStatement(const QString &)> &build)
    {
        sendEach([&](const QString &v) {
            const GuardedStatement s = build(v);
            return QStringList{s.text, s.onlyIfRow, s.onlyIfNoRow};
        });
    }

    RecordingServer server;
};

TEST_F(SqlServerStatements, Catalogue)
{
    sendEach([](const QString &v) {
        return QStringList{tableExistsQuery(kServer, v), columnExistsQuery(kServer, v, v), userTablesQuery(kServer, v),
                           tableColumnsQuery(kServer, v)};
    });
}

TEST_F(SqlServerStatements, SchemaUpgrade)
{
    QStringList texts{
        createTablesStep(kServer, {QStringLiteral("tb_sys_log"), QStringLiteral("tb_login_lineindex")}).batch};
    for (int row = 0; row < 4; ++row)
        texts << seedInfoFieldStep(kServer, row).batch;
    const UpgradeStep added = addColumnsStep(kServer, QStringLiteral("tb_line_info"),
                                             {{QStringLiteral("stationip"), QStringLiteral("varchar(50)")}}, true);
    texts << added.batch << added.runWhenFound;
    for (const QString &text : texts)
        if (!text.isEmpty())
            sharedDb().exec(text);
}

TEST_F(SqlServerStatements, Dictionaries)
{
    for (const DictionaryVariant *variant : {&deviceDictionary(), &itemDictionary(), &parameterDictionary()}) {
        sendEach([&](const QString &v) {
            const DictionaryRow row{QStringLiteral("7"), v, QStringLiteral("12"), v, v, v, v};
            return QStringList{dictionaryInsertStatement(*variant, row), dictionaryDeleteStatement(*variant, row),
                               dictionaryUpdateStatement(*variant, row)};
        });
        sendEach([&](const QString &v) {
            const ImportRecord record{QStringLiteral("12"), v, v, v, v};
            return QStringList{dictionaryImportStatement(kServer, *variant, record, false),
                               dictionaryImportStatement(kServer, *variant, record, true)};
        });
    }
    sendEach([](const QString &v) {
        const OutlineItem item{QStringLiteral("C1"), v, v, v, v};
        return QStringList{outlineLoadQuery(), outlineExportQuery(), outlineClearStatement(),
                           outlineSaveStatement(kServer, item), outlineImportStatement(kServer, item)};
    });
    sendEach([](const QString &v) {
        return QStringList{lineTypeLoadQuery(), lineTypeStoreStatement(kServer, QStringLiteral("3"), v),
                           lineTypeRenameStatement(v, QStringLiteral("3"), v),
                           lineTypeDeleteStatement(QStringLiteral("3"), v)};
    });
}

TEST_F(SqlServerStatements, SubIds)
{
    sendEach([](const QString &v) {
        const SubIdValue value{QStringLiteral("1005"), v, QStringLiteral("10050001"), v, v, QStringLiteral("10000001")};
        return QStringList{subIdListQuery(),
                           subIdListQuery(QStringLiteral("1005")),
                           fieldNameQuery(v),
                           subIdInsertStatement(value),
                           subIdDeleteStatement(QStringLiteral("10050001")),
                           mainAttributeStatement(v, QStringLiteral("10000001"), QStringLiteral("1005"), v),
                           loginFlagStatement(true, 3),
                           transInfoExportQuery(v),
                           transInfoImportStatement(kServer, value)};
    });
    for (const DefaultMainId &entry : defaultMainIds().mid(0, 5))
        sharedDb().exec(defaultMainIdStatement(entry));
}

TEST_F(SqlServerStatements, Maintenance)
{
    for (const ClearingStep &step : clearingSteps(kServer))
        sharedDb().exec(step.statement);
    sendEach([](const QString &v) {
        QStringList texts{queueQuery({v, true, true, true, QDate(2026, 12, 11)}),
                          queueQuery({v, false, false, false, {}}), plateLookupQuery(v, QStringLiteral("02")),
                          queueStatusQuery(v), resetNumberingStatement()};
        for (DebugList view : {DebugList::Queue, DebugList::Info, DebugList::Items, DebugList::Standards,
                               DebugList::Checks, DebugList::Tasks})
            texts << inspectionQuery(view, v);
        return texts;
    });
    sendEach([](const QString &v) {
        return QStringList{itemParamLoadQuery(),
                           itemParamDeleteStatement(QStringLiteral("5"), QStringLiteral("200"), v), plateKindsQuery(),
                           plateSearchQuery(v), plateUpdateStatement(QStringLiteral("02"), v, v)};
    });
    sendEach([](const QString &v) {
        QStringList texts{logDeleteStatement(QStringLiteral("9")), versionCleanUpStatement(), versionLoadQuery(),
                          browseQuery(QStringLiteral("tb_sys_log"), QString())};
        for (LogFilter filter : {LogFilter::None, LogFilter::DateTime, LogFilter::Operator, LogFilter::Program})
            texts << logQuery(logCondition(filter, v));
        texts << versionUpdateStatements(v, v, v, [] { return QStringLiteral("2026-12-11 13:00:00"); });
        return texts;
    });
}

TEST_F(SqlServerStatements, Statistics)
{
    sharedDb().exec(statBaseTableStatement(kServer));
    sharedDb().exec(statDropStatement(kServer));
    for (int major : {kSqlServer2000, kSqlServer2005, kSqlServer2008}) {
        sharedDb().exec(statColumnsQuery(kServer, major));
        sharedDb().exec(statScriptColumnsQuery(QStringLiteral("tb_stat"), major));
    }
    // The statistics columns are named from the catalogue (ITEM_200, STD_3001 …), not by a user.
    for (const char *name : {"ITEM_200", "STD_3001", "RESULT_3001"})
        runGuardedTexts(statColumnStatement(kServer, QLatin1String(name), QStringLiteral("varchar"),
                                            QStringLiteral("50"), QStringLiteral("Chinese_PRC_CI_AS")));
    sendEach([](const QString &v) {
        const FieldDefinition field{v, v, v, v, v, v};
        return QStringList{definitionStoreStatement(kServer, QStringLiteral("tb_type_define"), field)};
    });
    sendGuarded([](const QString &v) { return addDataColumnStatement(kServer, QStringLiteral("tb_type_vehicle"), v); });
    sendGuarded(
        [](const QString &v) { return dropDataColumnStatement(kServer, QStringLiteral("tb_type_vehicle"), v); });
}

}  // namespace
}  // namespace dbkeel::test
