#include "app/CommandTable.h"
#include "screens/ScreenRegistry.h"
#include "tests/support/TestScreenHost.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <gtest/gtest.h>

using namespace dbkeel;

namespace {

// Every menu id, in menu order.
QList<int> menuIds()
{
    QList<int> ids;
    for (const MenuGroup &group : mainMenuLayout())
        for (const MenuCommand &entry : group.commands)
            ids << entry.id;
    return ids;
}

// A menu whose every command has a handler, so only EnableMenus decides what is greyed.
struct FullMenu {
    test::TestScreenHost host;
    QMenuBar bar{&host.window};
    CommandTable table{host};
    FullMenu()
    {
        for (int id : menuIds())
            table.setHandler(id, [] {});
        table.buildMenu(&bar);
    }
};

}  // namespace

TEST(CommandTable, MenuTextsIdsAndAccelerators)
{
    test::TestScreenHost host;
    QMenuBar bar(&host.window);
    CommandTable table(host);
    table.buildMenu(&bar);
    const QStringList titles = {QStringLiteral("系统(&M)"),         QStringLiteral("快速组建新线(&E)"),
                                QStringLiteral("数据清理管理(&C)"), QStringLiteral("线组成元素管理"),
                                QStringLiteral("线内关系建立(&G)"), QStringLiteral("SQL调试工具(&Q)")};
    ASSERT_EQ(bar.actions().size(), titles.size());
    for (int i = 0; i < titles.size(); ++i)
        EXPECT_EQ(bar.actions()[i]->text(), titles[i]);
    struct Case {
        int id;
        const char *text;
    };
    const Case samples[] = {{32791, "登录(&L)"},
                            {32797, "HostCfg.dll更新(&U)"},
                            {32771, "退出(&E)"},
                            {32778, "一键创建元素关系(&O)"},
                            {32801, "修正号牌错误(X)"},
                            {32777, "创建项目参数关系(P)"},
                            {32798, "导入导出全部设备项目参数(&F)"},
                            {32803, "标准管理(&Z)"},
                            {16, "关于 Dbkeel(&A)..."}};
    for (const Case &c : samples) {
        ASSERT_NE(table.action(c.id), nullptr) << c.id;
        EXPECT_EQ(table.action(c.id)->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(table.action(c.id)->objectName(), QStringLiteral("command%1").arg(c.id));
    }
    EXPECT_EQ(menuIds().size(), 33);  // 32 commands and the About entry
}

TEST(CommandTable, EnableMenusTreatsTheProtectedSet)
{
    FullMenu menu;
    menu.table.enableMenus(0, false);
    const QList<int> neverDisabled = {32771, 32791, 32797, 32799, 32800, 32801, 32802, 32803, 16};
    for (int id : menuIds()) {
        const bool available = neverDisabled.contains(id);
        EXPECT_EQ(menu.table.action(id)->isEnabled(), available) << id;
    }
    menu.table.enableMenus(0, true);
    for (int id : menuIds())
        EXPECT_EQ(menu.table.action(id)->isEnabled(), id != command::StationConfigManager) << id;
    menu.table.enableMenus(command::StationConfigManager, true);
    EXPECT_TRUE(menu.table.action(command::StationConfigManager)->isEnabled());
    menu.table.enableMenus(32786, false);
    EXPECT_FALSE(menu.table.action(32786)->isEnabled());
}

TEST(CommandTable, ACommandWithoutActionStaysGreyedUntilAScreenIsRegistered)
{
    test::TestScreenHost host;
    QMenuBar bar(&host.window);
    CommandTable table(host);
    table.buildMenu(&bar);
    table.enableMenus(0, true);
    EXPECT_FALSE(table.action(32772)->isEnabled());

    ScreenHost *openedOn = nullptr;
    registerCommand(32772, [&](ScreenHost &owner) { openedOn = &owner; });
    table.refresh();
    EXPECT_TRUE(table.action(32772)->isEnabled());
    table.action(32772)->trigger();
    EXPECT_EQ(openedOn, &host);

    table.enableMenus(0, false);
    openedOn = nullptr;
    table.trigger(32772);  // a greyed command does not run
    EXPECT_EQ(openedOn, nullptr);
    unregisterCommand(32772);
}

TEST(StandardsProgram, ArgumentsCarryTheWindowRectangle)
{
    EXPECT_EQ(standardsProgramArguments(QRect(10, 20, 800, 600)), (QStringList{"-1", "10", "20", "800", "600", "0"}));
}
