// The screens opened through their menu commands and driven through their controls; the statistics
// library and the vehicle-type manager of our components.

#include "components/vehicletypes/VehicleTypeManager.h"
#include "extensions/ComponentAbi.h"
#include "extensions/StatisticsLibrary.h"
#include "screens/ScreenStatus.h"
#include "stats/StatTableDialog.h"
#include "stats/StatsScreens.h"
#include "stats/VehicleDataDialog.h"
#include "stats/VehicleDesignDialog.h"
#include "tests/stats/StatsFixture.h"
#include "tests/support/ScreenTest.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace dbkeel::test {
namespace {

class StatsScreenTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        registerStatsScreens();
        run(QStringLiteral(
            "insert into tb_id_paramid (paramid, paramname) values (3001, '左轮制动力'), (3002, '右轮制动力');"
            "insert into tb_type_base_ini (ziduan, ziduanming, ziduanleixing, datatype) values "
            "('CLXH', '车辆型号', 1, 2), ('CLPP', '车辆品牌', 1, 2);"
            "insert into tb_type_vehicle (CLXH, CLPP) values ('SVW7182', '桑塔纳');"));
    }
};

TEST_F(StatsScreenTest, StatisticsTableScreenAddsFieldsFromADictionaryAndCreatesThem)
{
    prompts.answer(PromptButton::Ok);  // no statistics library in this installation
    openCommand(command::StatisticsTable, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("建立统计表"));
        auto *tables = control<QComboBox>(screen, "sourceTable");
        ASSERT_EQ(tables->findText(QStringLiteral("tb_id_paramid")) >= 0, true);
        tables->setCurrentText(QStringLiteral("tb_id_paramid"));
        emit tables->textActivated(QStringLiteral("tb_id_paramid"));
        EXPECT_EQ(control<QComboBox>(screen, "attribute")->currentText(), QStringLiteral("检测结果"));
        click(screen, "checkAllButton");
        click(screen, "addOneButton");
        auto *fields = control<ReportListView>(screen, "fieldList");
        EXPECT_EQ(fields->reportModel()->itemText(fields->model()->rowCount() - 1, 0), QStringLiteral("RESULT_3002"));
        screenshot(screen, QStringLiteral("stat-table"));
        prompts.answer(PromptButton::Ok);
        click(screen, "createButton");
        EXPECT_EQ(control<QLabel>(screen, "status")->text(), QStringLiteral("创建成功"));
        click(screen, "cancelButton");
    });
    EXPECT_EQ(firstColumn(QStringLiteral("select name from pragma_table_info('tb_stat_all')")).mid(11),
              (QStringList{"RESULT_3001", "RESULT_3002"}));
}

TEST_F(StatsScreenTest, VehicleTypeDataScreenExportsOnAWorkerAndClosesAfterIt)
{
    openCommand(command::VehicleTypeTransfer, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("车型管理"));
        auto &dialog = static_cast<VehicleDataDialog &>(screen);
        dialog.transfer().setConnectString(workerConnectString(dir));
        prompts.answerFolder(dir.path());
        click(screen, "exportButton");
        EXPECT_FALSE(control<QPushButton>(screen, "exportButton")->isEnabled());
        ASSERT_TRUE(waitUntil([&] { return !dialog.transfer().isRunning(); }));
        EXPECT_TRUE(control<QPushButton>(screen, "exportButton")->isEnabled());
        EXPECT_EQ(control<QLabel>(screen, "status")->text(), QStringLiteral("导出结束"));
        screenshot(screen, QStringLiteral("vehicle-type-data"));
        click(screen, "cancelButton");
    });
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("VehicleInfo.VEH"))));
}

TEST_F(StatsScreenTest, VehicleDesignScreenShowsTheDefinitionsOfTheChosenTable)
{
    openCommand(command::VehicleTypeDesign, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("车型表设计"));
        auto *table = control<QComboBox>(screen, "table");
        table->setCurrentIndex(0);
        emit table->activated(0);
        auto *list = control<ReportListView>(screen, "fieldList");
        ASSERT_EQ(list->model()->rowCount(), 2);
        emit list->clicked(list->model()->index(1, 1));
        EXPECT_EQ(control<QLineEdit>(screen, "fieldName")->text(), QStringLiteral("CLPP"));
        EXPECT_EQ(control<QComboBox>(screen, "inputStyle")->currentText(), QStringLiteral("编辑框"));
        control<QLineEdit>(screen, "fieldName")->setText(QStringLiteral("HBDJ"));
        click(screen, "addButton");
        EXPECT_EQ(list->model()->rowCount(), 3);
        screenshot(screen, QStringLiteral("vehicle-design"));
        click(screen, "quitButton");
    });
}

TEST_F(StatsScreenTest, OutputFieldScreenStagesAnAssociationFromItsEditors)
{
    setHostEntry(3, dir.path());
    openCommand(command::OutputFieldMatching, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("外输联网数据表字段匹配"));
        auto *list = control<ReportListView>(screen, "paramList");
        ASSERT_EQ(list->model()->rowCount(), 2);
        emit list->clicked(list->model()->index(0, 0));
        control<QLineEdit>(screen, "tableName")->setText(QStringLiteral("tb_out"));
        control<QLineEdit>(screen, "dataColumn")->setText(QStringLiteral("zlzdl"));
        click(screen, "stageButton");
        EXPECT_EQ(list->reportModel()->itemText(0, 2), QStringLiteral("tb_out"));
        screenshot(screen, QStringLiteral("output-fields"));
        prompts.answer(PromptButton::Yes).answer(PromptButton::Ok);
        click(screen, "okButton");
        click(screen, "cancelButton");
    });
    EXPECT_EQ(readFileBytes(dir.filePath(QStringLiteral("DevOutNetExchangeField.ini"))),
              QByteArray("[FIELD_PARAMID]\r\n3001=zlzdl,,tb_out\r\n3002=,,\r\n"));
}

TEST_F(StatsScreenTest, TheStatisticsLibraryReportsInTheStatusLineItWasGiven)
{
    qputenv("DBKEEL_SYSDIR", dir.filePath(QStringLiteral("no-system")).toLocal8Bit());  // no host configuration
    ScreenStatus status;
    StatusLineRelay line(status, nullptr);
    StatisticsLibrary library;
    ASSERT_TRUE(library.load(buildBinDir() + QStringLiteral("/DayTally.so")));
    EXPECT_EQ(library.init(&line), 1);
    EXPECT_TRUE(library.canBuild());
    EXPECT_EQ(library.build(), 0);
    EXPECT_EQ(library.buildStatus(), 0);
    ASSERT_TRUE(waitUntil([&] { return !status.left().isEmpty(); }));
    EXPECT_TRUE(status.left().startsWith(QStringLiteral("统计失败:"))) << status.left().toStdString();
    EXPECT_EQ(library.release(), 1);
    qunsetenv("DBKEEL_SYSDIR");
}

TEST_F(StatsScreenTest, TheVehicleTypeManagerEditsAndSavesTheModelsUnderTheirCaptions)
{
    VehicleTypeManager manager(sharedDb());
    QTableWidget *models = manager.table(0);
    ASSERT_EQ(models->columnCount(), 6);
    EXPECT_EQ(models->horizontalHeaderItem(0)->text(), QStringLiteral("车辆型号"));
    EXPECT_EQ(models->horizontalHeaderItem(2)->text(), QStringLiteral("CLLX"));  // no definition: its name
    EXPECT_EQ(models->item(0, 1)->text(), QStringLiteral("桑塔纳"));
    models->item(0, 1)->setText(QStringLiteral("帕萨特"));
    manager.addRow();
    models->setItem(1, 0, new QTableWidgetItem(QStringLiteral("BJ7150")));
    screenshot(manager, QStringLiteral("vehicle-type-manager"));
    EXPECT_TRUE(manager.save());
    EXPECT_EQ(rows(QStringLiteral("select CLXH, CLPP from tb_type_vehicle order by ID")),
              QStringLiteral("SVW7182,帕萨特|BJ7150,"));
    run(QStringLiteral("drop table tb_type_fdjxh;"));
    EXPECT_FALSE(manager.save());  // the engine table is gone: reported
    EXPECT_TRUE(manager.status().startsWith(QStringLiteral("保存[tb_type_fdjxh]失败")));
}

}  // namespace
}  // namespace dbkeel::test
