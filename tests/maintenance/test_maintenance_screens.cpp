#include "core/AppConfig.h"
#include "maintenance/DebugQueryDialog.h"
#include "maintenance/ListedRows.h"
#include "maintenance/MaintenanceScreens.h"
#include "maintenance/SqlWorkspaceDialog.h"
#include "tests/support/ScreenTest.h"
#include "tests/support/TestSupport.h"
#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace dbkeel::test {
namespace {

constexpr auto kLimit = std::chrono::seconds(60);

class MaintenanceScreenTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        registerMaintenanceScreens();
    }
    QString jobConnectString() const { return sqliteConnectString(dir.filePath(QStringLiteral("test.db"))); }
    static ReportListModel &model(QDialog &screen, const char *objectName)
    {
        return *control<ReportListView>(screen, objectName)->reportModel();
    }
};

TEST_F(MaintenanceScreenTest, EveryCommandOpensItsScreen)
{
    const struct {
        int command;
        const char *objectName, *title;
    } cases[] = {
        {32792, "ClearingDialog", "清除临时数据"},
        {32793, "ItemParamCheckDialog", "校验项目参数对应关系"},
        {32801, "PlateCorrectionDialog", "修正号牌错误问题"},
        {32799, "DebugQueryDialog", "调试查询(只用于开发调试使用)"},
        {32786, "SqlWorkspaceDialog", "SQL语句执行"},
        {32779, "SystemLogDialog", "系统日志管理"},
        {32800, "VersionDialog", "数据库版本管理"},
    };
    for (const auto &c : cases) {
        openCommand(c.command, [&](QDialog &screen) {
            EXPECT_EQ(screen.objectName(), QString::fromLatin1(c.objectName));
            EXPECT_EQ(screen.windowTitle(), QString::fromUtf8(c.title));
            screenshot(screen, QString::fromLatin1(c.objectName));
            screen.reject();
        });
    }
}

TEST_F(MaintenanceScreenTest, ClearingRunsFromItsButton)
{
    run(QStringLiteral("insert into tb_login_queu(loginid, teststatus) values ('L1', 1), ('L2', 2)"));
    openCommand(32792, [&](QDialog &screen) {
        EXPECT_EQ(control<QLabel>(screen, "progressLine")->text(), QStringLiteral("==执行清理垃圾数据=="));
        click(screen, "runButton");
        EXPECT_EQ(control<QLabel>(screen, "progressLine")->text(), QStringLiteral("清除相关临时数据成功"));
        EXPECT_EQ(control<QPlainTextEdit>(screen, "statusRecord")->toPlainText(), QStringLiteral("清除结束"));
        screenshot(screen, QStringLiteral("ClearingDialog-done"));
        click(screen, "cancelButton");
    });
    EXPECT_EQ(rows(QStringLiteral("select loginid from tb_login_queu")), QStringLiteral("L2"));
}

TEST_F(MaintenanceScreenTest, WorkspaceStaysUsableWhileAStatementRunsAndStopsIt)
{
    openCommand(32786, [&](QDialog &screen) {
        auto &workspace = static_cast<SqlWorkspaceDialog &>(screen).editor();
        workspace.setConnectString(jobConnectString());
        control<QPlainTextEdit>(screen, "statement")
            ->setPlainText(QStringLiteral("with recursive c(n) as (select 1 union all select n + 1 from c) "
                                          "select count(*) from c"));
        click(screen, "executeButton");
        EXPECT_TRUE(workspace.isRunning());
        EXPECT_FALSE(control<QPushButton>(screen, "executeButton")->isEnabled());
        screen.reject();  // refused while the statement runs
        EXPECT_TRUE(screen.isVisible());
        QTimer::singleShot(200, &screen, [&] { click(screen, "stopButton"); });
        ASSERT_TRUE(workspace.runner().wait(kLimit));
        EXPECT_TRUE(control<QPlainTextEdit>(screen, "log")->toPlainText().startsWith(QStringLiteral("执行已停止")));

        control<QPlainTextEdit>(screen, "statement")->setPlainText(QStringLiteral("select 1 as one, '二' as two"));
        click(screen, "executeButton");
        ASSERT_TRUE(workspace.runner().wait(kLimit));
        EXPECT_EQ(model(screen, "result").itemText(0, 1), QStringLiteral("二"));
        screenshot(screen, QStringLiteral("SqlWorkspaceDialog-rows"));
        click(screen, "cancelButton");
    });
}

// The browser fills its list from a 100,000-row table while the window's thread keeps running: a
// timer on that thread ticks and the status line counts up before the last row has come.
TEST_F(MaintenanceScreenTest, DebugQueryBrowsesALargeTableWhileTheWindowRepaints)
{
    run(QStringLiteral("create table tb_big (n integer, name text)"));
    run(QStringLiteral("insert into tb_big with recursive c(n) as (select 1 union all select n + 1 from c "
                       "where n < 100000) select n, '车辆' || n from c"));
    openCommand(32799, [&](QDialog &screen) {
        TableBrowser &browser = static_cast<DebugQueryDialog &>(screen).editor().browser();
        browser.setConnectString(jobConnectString());
        auto *tables = control<QComboBox>(screen, "browseTable");
        tables->setCurrentText(QStringLiteral("tb_big"));
        EXPECT_EQ(browser.columnCount(), 2);

        auto *list = control<ReportListView>(screen, "browseList");
        int paints = 0;
        QStringList counting;
        QTimer repaint;
        QObject::connect(&repaint, &QTimer::timeout, [&] {
            list->viewport()->repaint();
            ++paints;
            counting << control<QLabel>(screen, "browseStatus")->text();
        });
        repaint.start(10);
        prompts.answer(PromptButton::Ok);
        click(screen, "browseButton");
        EXPECT_FALSE(control<QPushButton>(screen, "browseButton")->isEnabled());
        ASSERT_TRUE(browser.runner().wait(kLimit));
        repaint.stop();
        EXPECT_EQ(browser.list().rowCount(), kListedRows + 1);  // the listed rows and "……其余N行未列出"
        EXPECT_EQ(control<QLabel>(screen, "browseStatus")->text(), QStringLiteral("共查询到[100000]条记录"));
        EXPECT_GT(paints, 0);
        EXPECT_TRUE(std::any_of(counting.begin(), counting.end(),
                                [](const QString &text) { return text.startsWith(QStringLiteral("查询中...[")); }));
        screenshot(screen, QStringLiteral("DebugQueryDialog-browse"));
        click(screen, "quitButton");
    });
}

TEST_F(MaintenanceScreenTest, SystemLogHidesDeleteAboveLevelOne)
{
    const qint16 before = UserLevel;
    UserLevel = 2;
    openCommand(32779, [&](QDialog &screen) {
        EXPECT_TRUE(control<QPushButton>(screen, "deleteButton")->isHidden());
        control<QComboBox>(screen, "filter")->setCurrentIndex(1);
        EXPECT_TRUE(
            control<QLineEdit>(screen, "filterText")->text().startsWith(QDate::currentDate().toString(u"yyyy-MM-dd")));
        screen.reject();
    });
    UserLevel = before;
}

}  // namespace
}  // namespace dbkeel::test
