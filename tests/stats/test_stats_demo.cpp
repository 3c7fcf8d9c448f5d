// On the demo installation, through its data source and host configuration as the program runs:
// the statistics table is designed, created and filled by the statistics library; the vehicle types
// are exported and imported into a fresh database.

#include "core/AppState.h"
#include "core/Database.h"
#include "core/SharedDb.h"
#include "platform/ScriptedPrompt.h"
#include "screens/ScreenStatus.h"
#include "stats/StatTableEditor.h"
#include "stats/VehicleDataTransfer.h"
#include "stats/VehicleTransfer.h"
#include "tests/stats/WaitUntil.h"
#include "tests/support/DbTestSupport.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>

namespace dbkeel::test {
namespace {

class StatsDemoTest : public StartupFixture {
protected:
    ScriptedPrompt prompts;

    void SetUp() override
    {
        StartupFixture::SetUp();
        resetDemoDatabase();
        open();
    }
    void TearDown() override
    {
        StartupFixture::TearDown();
        EXPECT_EQ(prompts.pendingAnswers(), 0);
    }
    static void open()
    {
        QString error;
        ASSERT_EQ(OpenDb(error), 1) << error.toStdString();
    }
    static QString vehicleTypeRows()
    {
        QStringList all;
        for (const QString &table : vehicleTypeTables())
            all << rows(QStringLiteral("select * from %1 order by ID").arg(table));
        return all.join(QLatin1Char('\n'));
    }
};

TEST_F(StatsDemoTest, TheStatisticsTableIsDesignedCreatedAndFilledByTheLibrary)
{
    StatTableEditor editor;
    editor.load(buildBinDir() + QStringLiteral("/DayTally.so"));
    editor.chooseSourceTable(QStringLiteral("tb_id_itemid"));
    editor.setAttribute(QStringLiteral("检测项目"));
    editor.source().setAllChecked(true);
    editor.addChecked();
    editor.setAttribute(QStringLiteral("项目次数"));
    editor.chooseType(QStringLiteral("int"));
    editor.addChecked();
    editor.chooseSourceTable(QStringLiteral("tb_id_paramid"));
    editor.setAttribute(QStringLiteral("检测标准"));
    editor.chooseType(QStringLiteral("varchar"));
    editor.addAll();
    prompts.answer(PromptButton::Ok);
    editor.create();
    ASSERT_EQ(editor.status().left(), QStringLiteral("创建成功"));

    editor.buildStatistics();
    ASSERT_TRUE(waitUntil([&] { return !editor.isBuilding(); }));
    QCoreApplication::processEvents();  // the library's last status text
    EXPECT_EQ(editor.status().left(), QStringLiteral("创建结束"));
    EXPECT_EQ(rows(QStringLiteral("select loginid, INFO_1001, ITEM_200, ITEM_SUM_200 from tb_stat_all order by ID")),
              QStringLiteral(
                  "苏A1234510120002,苏A12345,1,1|苏A8B76510120001,苏A8B765,,|苏A6789X10120010,苏A6789X,1,1"));
    EXPECT_TRUE(editor.close());
}

TEST_F(StatsDemoTest, ABuildTheLibraryReportsAsFailedKeepsItsReason)
{
    StatTableEditor editor;
    editor.load(buildBinDir() + QStringLiteral("/DayTally.so"));
    sharedDb().exec(QStringLiteral("drop table if exists tb_stat_all"));  // nothing to fill
    editor.buildStatistics();
    ASSERT_TRUE(waitUntil([&] { return !editor.isBuilding(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(editor.status().left().startsWith(QStringLiteral("统计失败:"))) << editor.status().left().toStdString();
    EXPECT_TRUE(editor.close());
}

TEST_F(StatsDemoTest, VehicleTypesMoveIntoAFreshDatabase)
{
    ScreenStatus status;
    VehicleDataTransfer transfer(status, VehicleDataTransfer::Window::Data);
    prompts.answerFolder(demoFolder());
    transfer.exportData();
    ASSERT_TRUE(waitUntil([&] { return !transfer.isRunning(); }));
    const QString before = vehicleTypeRows();
    ASSERT_FALSE(before.isEmpty());

    emptyInstallation();
    open();
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_type_vehicle")), QStringLiteral("0"));
    prompts.answerFile(vehicleDataFilePath(demoFolder())).answer(PromptButton::No);
    transfer.importData();
    ASSERT_TRUE(waitUntil([&] { return !transfer.isRunning(); }));
    EXPECT_TRUE(status.left().startsWith(QStringLiteral("导入结束  历史记录: "))) << status.left().toStdString();
    EXPECT_EQ(vehicleTypeRows(), before);
}

}  // namespace
}  // namespace dbkeel::test
