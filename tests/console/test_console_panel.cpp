// The console's controls wired by ConsolePanel: what the command box enables and shows, "发送"
// clearing the message edit, and the sweep disabling its three buttons.

#include "console/ConsoleEvents.h"
#include "console/ConsoleOperations.h"
#include "console/ConsolePanel.h"
#include "platform/ScriptedPrompt.h"
#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>
#include <gtest/gtest.h>

namespace dbkeel::test {
namespace {

class ConsolePanelTest : public ::testing::Test {
protected:
    QWidget window;
    ReportListView *computerList = new ReportListView(&window);
    ReportListView *processList = new ReportListView(&window);
    QTextEdit *chatBox = new QTextEdit(&window);
    ConsoleWidgets widgets;
    std::unique_ptr<ConsoleOperations> operations;
    std::unique_ptr<ConsolePanel> panel;
    ScriptedPrompt scripted;

    void SetUp() override
    {
        widgets.commandBox = new QComboBox(&window);
        widgets.messageEdit = new QLineEdit(&window);
        for (QPushButton **button :
             {&widgets.connect, &widgets.execute, &widgets.sendFile, &widgets.selectAll, &widgets.invert, &widgets.send,
              &widgets.shutdown, &widgets.restart, &widgets.syncTime})
            *button = new QPushButton(&window);
        widgets.processList = processList;
        widgets.chatBox = chatBox;
        computerList->reportModel()->setColumns(QStringLiteral("计算机名称,100;IP地址,100;端口,60;连接状态,80"));
        operations = std::make_unique<ConsoleOperations>(*computerList->reportModel(), *processList->reportModel());
        panel = std::make_unique<ConsolePanel>(*operations, widgets);
        window.show();
    }
};

TEST_F(ConsolePanelTest, TheCommandBoxStartsOnTheFirstEntryWithSendDisabled)
{
    EXPECT_EQ(widgets.commandBox->count(), 5);
    EXPECT_EQ(widgets.commandBox->currentText(), QStringLiteral("测试通讯"));
    EXPECT_FALSE(widgets.send->isEnabled());
    EXPECT_TRUE(widgets.execute->isEnabled());
    EXPECT_FALSE(widgets.messageEdit->isEnabled());
    EXPECT_TRUE(processList->isVisible());
    EXPECT_FALSE(chatBox->isVisible());
    EXPECT_EQ(widgets.connect->toolTip(), QStringLiteral("扫描局域网IP"));
}

TEST_F(ConsolePanelTest, NoticeSwapsTheProcessListForTheChatAndSendsFromTheEdit)
{
    widgets.commandBox->setCurrentIndex(ConsoleOperations::Notice);
    EXPECT_TRUE(widgets.send->isEnabled());
    EXPECT_FALSE(widgets.execute->isEnabled());
    EXPECT_TRUE(widgets.messageEdit->isEnabled());
    EXPECT_TRUE(chatBox->isVisible());
    EXPECT_FALSE(processList->isVisible());
    EXPECT_EQ(window.focusWidget(), widgets.messageEdit);

    widgets.messageEdit->setText(QStringLiteral("你好"));
    scripted.answer(PromptButton::Ok);
    widgets.send->click();  // nothing ticked
    EXPECT_EQ(scripted.lastCall().text, QStringLiteral("请选择发信息的对象!!"));
    EXPECT_EQ(widgets.messageEdit->text(), QStringLiteral("你好"));

    widgets.commandBox->setCurrentIndex(ConsoleOperations::ProcessList);
    EXPECT_FALSE(chatBox->isVisible());
    EXPECT_TRUE(processList->isVisible());
    EXPECT_FALSE(widgets.messageEdit->isEnabled());
    EXPECT_FALSE(widgets.send->isEnabled());
}

TEST_F(ConsolePanelTest, ASweepDisablesConnectExecuteAndSendFileUntilItEnds)
{
    emit consoleEvents().sweepButtonsEnabled(false);
    for (QPushButton *button : {widgets.connect, widgets.execute, widgets.sendFile})
        EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(widgets.shutdown->isEnabled());
    emit consoleEvents().sweepButtonsEnabled(true);
    for (QPushButton *button : {widgets.connect, widgets.execute, widgets.sendFile})
        EXPECT_TRUE(button->isEnabled());
}

TEST_F(ConsolePanelTest, SelectAllAndInvertTickTheComputerList)
{
    ReportListModel &computers = *computerList->reportModel();
    computers.appendRow(QStringLiteral("a"));
    computers.appendRow(QStringLiteral("b"));
    computers.setChecked(1, true);
    widgets.invert->click();
    EXPECT_TRUE(computers.isChecked(0));
    EXPECT_FALSE(computers.isChecked(1));
    widgets.selectAll->click();
    EXPECT_TRUE(computers.isChecked(0) && computers.isChecked(1));
}

}  // namespace
}  // namespace dbkeel::test
