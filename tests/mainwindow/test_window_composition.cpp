// A new line composed on the demo installation through the layout screen appears in the main
// window's tree and computer list once the screen closes with 建立.

#include "tests/mainwindow/ProgramFixture.h"

#include "app/CommandTable.h"
#include "app/MainWindowPanel.h"
#include "console/ConsoleState.h"
#include "screens/CommandIds.h"
#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>

using namespace dbkeel;
using dbkeel::test::ProgramFixture;

TEST_F(ProgramFixture, ALineBuiltOnTheLayoutScreenAppearsInTheTree)
{
    makeDemo();
    StartupSweepDone = 1;  // the computer list is drawn by the build alone
    startProgram();
    window->commands().enableMenus(0, true);
    prompt.answerModal([this](QDialog &screen) {
        // The screen loads the devices, line types and layout on its opening timer.
        ASSERT_TRUE(
            waitFor([&screen] { return screen.findChild<QComboBox *>(QStringLiteral("device"))->count() > 0; }));
        const auto choose = [&screen](const char *name, const QString &text) {
            auto *box = screen.findChild<QComboBox *>(QLatin1String(name));
            box->setCurrentIndex(box->findText(text));
        };
        choose("line", QStringLiteral("3"));
        choose("lineType", QStringLiteral("环检线"));
        choose("station", QStringLiteral("1"));
        choose("device", QStringLiteral("前照灯检测仪"));
        screen.findChild<QPushButton *>(QStringLiteral("add"))->click();
        choose("station", QStringLiteral("2"));
        choose("device", QStringLiteral("侧滑检验台"));
        screen.findChild<QPushButton *>(QStringLiteral("add"))->click();
        prompt.answer(PromptButton::Ok);  // 已经建立,请查看!
        screen.findChild<QPushButton *>(QStringLiteral("build"))->click();
    });
    window->commands().trigger(command::QuickLineBuild);
    const QStringList tree = treeTexts();
    const qsizetype line = tree.indexOf(QStringLiteral("  [3]环检线"));
    ASSERT_GE(line, 0) << tree.join(u'\n').toStdString();
    EXPECT_EQ(tree.mid(line + 1, 2), (QStringList{QStringLiteral("    [1]工位(127.0.0.1->15001)"),
                                                  QStringLiteral("    [2]工位(127.0.0.1->15001)")}));
    EXPECT_TRUE(tree.contains(QStringLiteral("    [3]工位(127.0.0.1->15023)")));  // the loaded layout was built again
    const ReportListModel *computers = window->panel()->computerList()->reportModel();
    QStringList rows;
    for (int row = 0; row < computers->rowCount(); ++row)
        rows << computers->itemText(row, 0) + u' ' + computers->itemText(row, 2);
    EXPECT_TRUE(rows.contains(QStringLiteral("[3]线,[1]工位 15001"))) << rows.join(u'\n').toStdString();
    EXPECT_TRUE(rows.contains(QStringLiteral("[3]线,[2]工位 15001")));
}
