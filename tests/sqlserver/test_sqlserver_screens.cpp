// The screens' work on SQL Server where its behaviour differs from the embedded database's, and whole
// editors storing ordinary and hostile values, so that the T-SQL check parses what they send.

#include "core/AppState.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "core/WriteHistory.h"
#include "dictionaries/DictionaryEditor.h"
#include "dictionaries/OutlineItemEditor.h"
#include "dictionaries/SubIdEditor.h"
#include "indexfiles/IndexFileBuild.h"
#include "maintenance/SqlWorkspaceEditor.h"
#include "platform/Gbk.h"
#include "platform/ScriptedPrompt.h"
#include "screens/JobRunner.h"
#include "stats/VehicleTransfer.h"
#include "tests/support/RecordingServer.h"
#include "tests/support/TestSupport.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <iostream>

namespace dbkeel::test {
namespace {

class SqlServerScreens : public ::testing::Test {
protected:
    void SetUp() override { sharedDb().open(server.connectString(), 10); }
    void TearDown() override { sharedDb().close(); }

    RecordingServer server;
    ScriptedPrompt prompts;
};

// A deadlock victim (1205) in the middle of the default main IDs: the server has rolled back the
// updates before it, so the screen stops there, commits nothing and says so instead of "已更新!!".
TEST_F(SqlServerScreens, DefaultMainIdsStopWhenTheServerRollsTheRunBack)
{
    server.setScript(QStringLiteral("on where infosubid=10060005 \n"
                                    "error 40001 1205 abort Transaction (Process ID 53) was deadlocked on lock "
                                    "resources with another process and has been chosen as the deadlock victim.\n"));
    SubIdEditor editor;
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    editor.applyDefaultMainIds();

    ASSERT_EQ(prompts.calls().size(), 2u);
    EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("错误"));
    EXPECT_TRUE(prompts.lastCall().text.contains(QStringLiteral("deadlock victim")));
    EXPECT_TRUE(prompts.lastCall().text.contains(QStringLiteral("@@TRANCOUNT")));
    const QStringList log = server.log();
    EXPECT_FALSE(log.contains(QStringLiteral("commit")));
    EXPECT_EQ(log.last(), QStringLiteral("rollback"));
    EXPECT_TRUE(server.statements().filter(QStringLiteral("infosubid=10060006 ")).isEmpty());
}

// SQL Server runs the workspace's text as one batch: every result is read, each failed statement is
// reported, the counts are summed and the first result set is listed.
TEST_F(SqlServerScreens, TheWorkspaceReadsEveryResultOfTheBatch)
{
    server.setScript(QStringLiteral("on ^update a\n"
                                    "count 3\n"
                                    "rows lintype|linename\nrow 1|安检线\nrow 2|环保线\n"
                                    "error 42S02 208 keep Invalid object name 'nowhere'.\n"
                                    "count 2\n"
                                    "rows n\nrow 9\n"
                                    "error 22018 245 keep Conversion failed when converting the varchar value 'x' to "
                                    "data type int.\n"));
    SqlWorkspaceEditor workspace;
    workspace.setConnectString(server.connectString());
    DbReady = 1;
    workspace.execute(QStringLiteral("update a set b = 1\nselect lintype, linename from tb_id_linetype\n"
                                     "select * from nowhere\ndelete from c\nselect 9 as n\nselect 'x' + 1"));
    ASSERT_TRUE(workspace.runner().wait(std::chrono::seconds(60)));

    EXPECT_EQ(workspace.log(), QStringLiteral("[FreeTDS][SQL Server]Invalid object name 'nowhere'.\n"
                                              "[FreeTDS][SQL Server]Conversion failed when converting the varchar "
                                              "value 'x' to data type int.\r\n\r\n"));
    EXPECT_EQ(DbReady, 0);
    ASSERT_EQ(workspace.result().rowCount(), 2);
    EXPECT_EQ(workspace.result().itemText(1, 1), QStringLiteral("环保线"));
    EXPECT_TRUE(workspace.status().left().startsWith(QStringLiteral("返回2行,影响5行,用时")))
        << workspace.status().left().toStdString();
}

// sametypeid is varchar(10): compared with a number, SQL Server converts every row's value and fails on
// one that is not a number (Msg 245), so the index build compares it as text.
TEST_F(SqlServerScreens, TheIndexBuildComparesTheLoginFlagAsText)
{
    if (!hostLib().isLoaded()) {
        ASSERT_EQ(hostLib().load(1, buildBinDir()), 1) << hostLib().errorString().toStdString();
    }
    server.setScript(QStringLiteral("on sametypeid\\s*=\\s*[0-9]\n"
                                    "error 22018 245 keep Conversion failed when converting the varchar value '是' "
                                    "to data type int.\n"));
    QTemporaryDir dir;
    const IndexFileTargets targets{dir.filePath(QStringLiteral("SystemIndex.ini")), dir.path()};

    const IndexBuildResult result = buildIndexFiles(targets, server.connectString());

    EXPECT_TRUE(result.succeeded()) << result.failedParts().join(u',').toStdString();
    const QStringList flagged = server.statements().filter(QStringLiteral("sametypeid"));
    EXPECT_EQ(flagged.size(), 2) << flagged.join(u'\n').toStdString();
    for (const QString &statement : flagged)
        EXPECT_TRUE(statement.contains(QStringLiteral("sametypeid = '1'"))) << statement.toStdString();
}

// An empty value of the exchange file (what the export writes for NULL) goes in as NULL: SQL Server
// would store '' in an integer column as 0.
TEST_F(SqlServerScreens, TheVehicleTypeImportKeepsEmptyValuesNull)
{
    QTemporaryDir dir;
    historySettings().enabled = false;
    const QString file = dir.filePath(QStringLiteral("VehicleInfo.VEH"));
    writeFileBytes(file,
                   toGbk(QStringLiteral("[tb_type_base_ini]\r\nItemsum=3\r\nItemname=ziduan,ziduanleixing,remark\r\n"
                                        "Itemval_0='CLXH','',''\r\nItemval_1='','3','车辆型号'\r\nItemvalsum=2\r\n")));
    server.setScript(QStringLiteral("on OBJECT_ID\\(N'tb_type_base_ini'\\)\nrows name\nrow ID\nrow ziduan\n"
                                    "row ziduanleixing\nrow remark\n"));
    JobRunner runner;
    TransferReport report;
    ASSERT_TRUE(runner.start([&](JobContext &job) { importVehicleTypes(job, file, report); }, server.connectString()));
    ASSERT_TRUE(runner.wait(std::chrono::seconds(60)));
    historySettings() = HistorySettings{};

    EXPECT_EQ(report.warnings, QStringList());
    const std::string inserts =
        server.statements().filter(QStringLiteral("insert into tb_type_base_ini")).join(u'\n').toStdString();
    EXPECT_NE(inserts.find("'CLXH',NULL,NULL"), std::string::npos) << inserts;
    EXPECT_NE(inserts.find("NULL,'3','车辆型号'"), std::string::npos) << inserts;
    EXPECT_EQ(inserts.find("''"), std::string::npos) << inserts;
}

// Each element dictionary's editor stores a renamed row and a new row for every hostile value through
// SQL Server; the T-SQL check parses each statement it sent.
TEST_F(SqlServerScreens, DictionaryEditorsStoreHostileValues)
{
    historySettings().enabled = false;
    DbReady = 1;
    int sent = 0;
    for (const DictionaryVariant *variant : {&deviceDictionary(), &itemDictionary(), &parameterDictionary()}) {
        const QString key = variant->hasKey() ? QStringLiteral("|") + variant->keyColumn : QString();
        server.setScript(QStringLiteral("on ^select \\* from %1\nrows ID|%2|%3%4|res|remark|insertdate\n"
                                        "row 1|%5|旧名%6|使用|注|2026-12-11 10:00:00\non ^(update|insert)\ncount 1\n")
                             .arg(variant->table, variant->codeColumn, variant->nameColumn, key,
                                  QString::number(variant->minCode),
                                  variant->hasKey() ? QStringLiteral("|K") : QString()));
        server.clearLog();
        DictionaryEditor editor(*variant);
        editor.load();
        ASSERT_EQ(editor.list().rowCount(), 1) << variant->table.toStdString();
        editor.list().setItemText(0, DictionaryVariant::NameColumn, QStringLiteral("O'Brien"));
        const QStringList values = hostileValues();
        for (int i = 0; i < values.size(); ++i) {
            const int row = editor.list().appendRow(DictionaryEditor::kPending);
            editor.list().setItemText(row, DictionaryVariant::NameColumn, values.at(i) + QString::number(i));
            editor.list().setItemText(row, DictionaryVariant::CodeColumn, QString::number(variant->minCode + 1 + i));
            editor.list().setItemText(row, editor.variant().stateColumn(), values.at(i));
            if (variant->hasKey())
                editor.list().setItemText(row, editor.variant().stateColumn() - 1, values.at(i));  // the key
        }
        editor.store();
        EXPECT_EQ(editor.status().left(), variant->storeDoneStatus) << variant->table.toStdString();
        const QStringList written = server.statements().filter(QRegularExpression(QStringLiteral("^(insert|update)")));
        EXPECT_EQ(written.size(), values.size() + 1) << written.join(u'\n').toStdString();
        sent += int(server.statements().size());
    }
    historySettings() = HistorySettings{};
    EXPECT_TRUE(prompts.calls().empty());
    std::cout << "dictionary editors: " << sent << " statements through the recorder\n";
}

// The external-item editor changes its row and inserts new ones with every hostile value, as its row
// dialog leaves them (cut to the widths).
TEST_F(SqlServerScreens, OutlineEditorStoresHostileValues)
{
    server.setScript(
        QStringLiteral("on ^select \\* from tb_id_eval\nrows ID|pingdingid|pingdingname|remark|usetypeabout|alias\n"
                       "row 1|101|灯光|否决项|说明|别名\n"));
    OutlineItemEditor editor;
    editor.load();
    ASSERT_EQ(editor.list().rowCount(), 1);
    server.clearLog();
    const QStringList values = hostileValues();
    for (int i = 0; i < values.size(); ++i) {
        ASSERT_TRUE(editor.prepareEdit(0));
        OutlineRecord &record = outlineRecord();
        record.operation = i % 2 ? OutlineRecord::Insert : OutlineRecord::Change;
        record.code = QString::number(200 + i);
        record.name = record.description = record.alias = values.at(i);
        record.cutToWidths();
        editor.finishEdit(0, true);
    }
    EXPECT_TRUE(prompts.calls().empty());
    EXPECT_EQ(server.statements().size(), values.size());
    std::cout << "external-item editor: " << server.statements().size() << " statements through the recorder\n";
}

}  // namespace
}  // namespace dbkeel::test
