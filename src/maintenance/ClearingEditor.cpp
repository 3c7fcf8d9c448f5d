#include "maintenance/ClearingEditor.h"

#include "core/AppState.h"
#include "core/SharedDb.h"

namespace dbkeel {

QList<ClearingStep> clearingSteps(Dialect dialect)
{
    const QString finished = QStringLiteral(
        "where loginid in (select loginid  from tb_login_queu where teststatus = 1 or  teststatus = 4 or teststatus = 5); ");
    const auto detail = [&finished](const char *text, const char *table) {
        return ClearingStep{QString::fromUtf8(text),
                            QStringLiteral("delete from %1 %2").arg(QLatin1String(table), finished)};
    };
    return {
        detail("正在清理项目表[tb_login_item]...9", "tb_login_item"),
        detail("正在清理信息表[tb_login_info]...8", "tb_login_info"),
        detail("正在清理标准表[tb_login_std]...7", "tb_login_std"),
        detail("正在清理请求表[tb_login_task]...6", "tb_login_task"),
        detail("正在清理检测表[tb_login_check]...5", "tb_login_check"),
        detail("正在清理过度检测表[tb_per_check]...4", "tb_per_check"),
        {QStringLiteral("正在清理队列表[tb_login_queu]...3"),
         QStringLiteral("update tb_login_queu set  teststatus = 4 where  teststatus = 1 or teststatus = 5 ; ")},
        {QStringLiteral("正在重置队列表[tb_login_queu]...2"),
         QStringLiteral("delete from tb_login_queu where  teststatus = 4 ; ")},
        {QStringLiteral("正在清理复检表[tb_print_recheck_item]...1"),
         dialect == Dialect::SqlServer ? QStringLiteral("delete tb_print_recheck_item where status = 1 ; ")
                                       : QStringLiteral("delete from tb_print_recheck_item where status = 1 ; ")},
    };
}

ClearingEditor::ClearingEditor(QObject *parent) : QObject(parent)
{
    m_status.setLeft(QStringLiteral("==执行清理垃圾数据=="));
}

void ClearingEditor::showStep(const QString &text)
{
    m_status.setRight(text);
    m_status.setLeft(text);
}

void ClearingEditor::clear()
{
    if (!sharedDb().isOpen()) {
        m_status.setRight(QStringLiteral("数据库连接失败"));
        return;
    }
    try {
        SqlTransaction transaction(sharedDb());
        for (const ClearingStep &step : clearingSteps(sharedDb().dialect())) {
            showStep(step.text);
            sharedDb().exec(step.statement);
        }
        transaction.commit();
    } catch (const DbError &error) {
        DbReady = 0;
        m_status.setRight(QStringLiteral("异常") + error.text());  // the progress line keeps the failed step
        return;
    }
    m_status.setRight(QStringLiteral("清除结束"));
    m_status.setLeft(QStringLiteral("清除相关临时数据成功"));
}

}  // namespace dbkeel
