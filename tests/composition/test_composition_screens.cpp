// The composition screens opened through their menu commands and driven through their controls.

#include "composition/CompositionScreens.h"
#include "composition/LineLayoutEditor.h"
#include "tests/composition/CompositionFixture.h"
#include "tests/support/ScreenTest.h"
#include "widgets/IpAddressEdit.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace dbkeel::test {
namespace {

// Counts the main window's tree reloads a screen asks for.
struct CountingHost : TestScreenHost {
    int reloads = 0;
    void reloadLineLayout() override { ++reloads; }
};

class CompositionScreenTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        upgradeSchema();
        seedDictionaries();
        registerCompositionScreens();
    }
    // Runs the menu command on `countingHost`; `script` drives the screen and must close it.
    void openOnCountingHost(int commandId, ScriptedPrompt::DialogScript script)
    {
        prompts.answerModal(std::move(script));
        registeredCommand(commandId)(countingHost);
    }
    static void choose(QDialog &screen, const char *box, const QString &text)
    {
        auto *combo = control<QComboBox>(screen, box);
        combo->setCurrentIndex(combo->findText(text));
    }
    CountingHost countingHost;
};

TEST_F(CompositionScreenTest, DeviceItemScreenWritesTheDefaultOfTheChosenDevice)
{
    openCommand(command::DeviceItemRelations, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("创建设备项目对应关系"));
        EXPECT_EQ(control<QComboBox>(screen, "owner")->currentIndex(), -1);
        choose(screen, "owner", QStringLiteral("底盘测功机"));
        auto *assigned = control<ReportListView>(screen, "assigned");
        EXPECT_EQ(assigned->model()->rowCount(), 5);
        screenshot(screen, QStringLiteral("DeviceItemRelationDialog"));
        prompts.answer(PromptButton::Ok);
        click(screen, "write");
        EXPECT_EQ(prompts.lastCall().text, QStringLiteral("建立成功!"));
        click(screen, "cancel");
    });
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_dev_item where devid = 12")), QStringLiteral("5"));
}

TEST_F(CompositionScreenTest, ItemParameterScreenOpens)
{
    openCommand(command::ItemParameterRelations, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("创建项目参数对应关系"));
        choose(screen, "owner", QStringLiteral("左外灯"));  // item 200: default 5000, 5001
        EXPECT_EQ(control<ReportListView>(screen, "assigned")->model()->rowCount(), 2);
        screenshot(screen, QStringLiteral("ItemParameterRelationDialog"));
        click(screen, "cancel");
    });
}

TEST_F(CompositionScreenTest, LayoutScreenBuildsAndTheTreeIsReloaded)
{
    seedRelations();
    openOnCountingHost(command::QuickLineBuild, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("线、工位、设备信息建立"));
        EXPECT_EQ(control<QLabel>(screen, "hint")->text(), QStringLiteral("双击左键删除行,单击右键修改行"));
        QTest::qWait(700);  // the opening timer
        EXPECT_EQ(control<QLabel>(screen, "hint")->text(), QStringLiteral("已创建参数信息"));
        choose(screen, "line", QStringLiteral("1"));
        choose(screen, "lineType", QStringLiteral("安检线"));
        choose(screen, "station", QStringLiteral("1"));
        choose(screen, "device", QStringLiteral("灯光仪"));
        EXPECT_EQ(control<QLineEdit>(screen, "port")->text(), QStringLiteral("15001"));
        EXPECT_EQ(control<QLabel>(screen, "deviceCode")->text(), QStringLiteral("设备号:1"));
        click(screen, "add");
        choose(screen, "station", QStringLiteral("2"));
        choose(screen, "device", QStringLiteral("侧滑台"));
        click(screen, "add");
        auto *list = control<ReportListView>(screen, "list");
        ASSERT_EQ(list->model()->rowCount(), 2);
        screenshot(screen, QStringLiteral("LineLayoutDialog"));

        prompts.answerModal([&](QDialog &editor) {
            EXPECT_EQ(editor.objectName(), QStringLiteral("StationRowDialog"));
            control<IpAddressEdit>(editor, "address")->setText(QStringLiteral("10.0.0.2"));
            click(editor, "ok");
        });
        emit list->doubleClicked(list->model()->index(1, 1));
        EXPECT_EQ(list->reportModel()->itemText(1, LineLayoutEditor::Address), QStringLiteral("10.0.0.2"));

        prompts.answer(PromptButton::Ok);  // 已经建立
        click(screen, "build");
    });
    EXPECT_EQ(countingHost.reloads, 1);
    EXPECT_EQ(rows(QStringLiteral("select stationid,stationip from tb_line_info order by runorder")),
              QStringLiteral("1,127.0.0.1|2,10.0.0.2"));
}

TEST_F(CompositionScreenTest, LayoutScreenCancelledReloadsNothing)
{
    openOnCountingHost(command::QuickLineBuild, [&](QDialog &screen) { click(screen, "cancel"); });
    EXPECT_EQ(countingHost.reloads, 0);
}

TEST_F(CompositionScreenTest, BundleScreenRebuildsAndShowsItsLog)
{
    openCommand(command::ElementExchange, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("建线基本设备项目参数ID信息导入导出"));
        prompts.answer(PromptButton::Ok);
        click(screen, "build");
        // The build's last line, under the note of where its history entry went.
        const QStringList lines = control<QPlainTextEdit>(screen, "log")->toPlainText().split(u'\n');
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines.at(0).trimmed(), QStringLiteral("历史记录: ") + historyEntries().last().path);
        EXPECT_EQ(lines.at(1).trimmed(), QStringLiteral("重新创建成功!"));
        screenshot(screen, QStringLiteral("BundleDialog"));
        click(screen, "cancel");
    });
}

}  // namespace
}  // namespace dbkeel::test
