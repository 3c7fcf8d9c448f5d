#include "core/AppConfig.h"
#include "core/SchemaUpgrade.h"
#include "maintenance/SystemLogEditor.h"
#include "tests/maintenance/MaintenanceFixture.h"

namespace dbkeel::test {
namespace {

TEST(SystemLogSql, ConditionsAndStatements)
{
    EXPECT_EQ(logCondition(LogFilter::None, QStringLiteral("x")), QString());
    EXPECT_EQ(logCondition(LogFilter::DateTime, QStringLiteral("2026-12")),
              QStringLiteral(" where InsertDate like '%2026-12%' "));
    EXPECT_EQ(logCondition(LogFilter::Operator, QStringLiteral("O'K")),
              QStringLiteral(" where UserTrueName like '%O''K%' "));
    EXPECT_EQ(logCondition(LogFilter::Program, QStringLiteral("db")),
              QStringLiteral(" where ProgramName like '%db%' "));
    EXPECT_EQ(logQuery(QString()), QStringLiteral("select * from tb_sys_log  "));
    EXPECT_EQ(logDeleteStatement(QStringLiteral("7")), QStringLiteral("delete from tb_sys_log  where ID = 7  "));
    EXPECT_TRUE(SystemLogEditor::filterPreset(LogFilter::DateTime).has_value());
    EXPECT_FALSE(SystemLogEditor::filterPreset(LogFilter::Operator).has_value());
}

class SystemLogTest : public MaintenanceFixture {
protected:
    SystemLogEditor log;
    QStringList titles;

    void SetUp() override
    {
        MaintenanceFixture::SetUp();
        runUpgradeGroup1(sharedDb());
        run(QStringLiteral(
            "insert into tb_sys_log(UserID, UserTrueName, UserPower, Zt2SysLog, ProgramName, InsertDate) "
            "values ('1', '张三', '1', '登录', 'Dbkeel', '2026-12-10 08:00:00'), "
            "('2', '李四', '2', '修改', 'Dbkeel', '2026-12-11 09:00:00'), "
            "('3', '王小三', '2', '删除', 'Station', '2026-12-11 10:00:00'), "
            "('4', '赵六', '1', '退出', 'Station', '2026-12-11 11:00:00')"));
        QObject::connect(&log, &SystemLogEditor::titleChanged, [this](const QString &title) { titles << title; });
    }
    QStringList names()
    {
        QStringList all;
        for (int row = 0; row < log.list().rowCount(); ++row)
            all << log.list().itemText(row, 2);
        return all;
    }
};

TEST_F(SystemLogTest, FiltersFindTheTextAnywhere)
{
    const struct {
        LogFilter filter;
        const char *text;
        QStringList names;
    } cases[] = {
        {LogFilter::None, "ignored", {"张三", "李四", "王小三", "赵六"}},
        {LogFilter::Operator, "三", {"张三", "王小三"}},
        {LogFilter::DateTime, "12-11 1", {"王小三", "赵六"}},
        {LogFilter::Program, "tat", {"王小三", "赵六"}},
    };
    for (const auto &c : cases) {
        log.query(c.filter, QString::fromUtf8(c.text));
        EXPECT_EQ(names(), c.names) << c.text;
    }
    EXPECT_EQ(titles.last(), QStringLiteral("系统日志管理-->共2条记录"));
    EXPECT_EQ(log.list().column(0).width, 0);
}

TEST_F(SystemLogTest, DeletesEverySelectedRowThenQueriesAgain)
{
    prompts.answer(PromptButton::Ok);
    log.query(LogFilter::None, QString());
    log.deleteRows({}, LogFilter::None, QString());
    EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("用户信息"));
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("请至少选择一行要删除的记录！"));

    prompts.answer(PromptButton::Ok);
    log.deleteRows({0, 2, 3}, LogFilter::None, QString());
    EXPECT_EQ(names(), QStringList{"李四"});
    EXPECT_EQ(rows(QStringLiteral("select UserTrueName from tb_sys_log")), QStringLiteral("李四"));
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("已成功删除!"));
    EXPECT_EQ(titles.last(), QStringLiteral("系统日志管理-->共1条记录"));
}

TEST_F(SystemLogTest, OnlyLevelsUpToOneMayDelete)
{
    const qint16 before = UserLevel;
    for (qint16 level : {0, 1, 2, 3}) {
        UserLevel = level;
        EXPECT_EQ(SystemLogEditor::mayDelete(), level <= 1) << level;
    }
    UserLevel = before;
}

}  // namespace
}  // namespace dbkeel::test
