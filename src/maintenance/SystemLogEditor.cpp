#include "maintenance/SystemLogEditor.h"

#include "core/AppConfig.h"
#include "core/SharedDb.h"
#include "core/SqlDialect.h"
#include "core/SqlValue.h"
#include "maintenance/MaintenanceTrace.h"
#include "platform/Prompt.h"

#include <QDateTime>

namespace dbkeel {

QString logCondition(LogFilter filter, const QString &text)
{
    const QString like = sqlLike(text, LikeMatch::Contains);
    switch (filter) {
    case LogFilter::DateTime: return QStringLiteral(" where InsertDate like %1 ").arg(like);
    case LogFilter::Operator: return QStringLiteral(" where UserTrueName like %1 ").arg(like);
    case LogFilter::Program: return QStringLiteral(" where ProgramName like %1 ").arg(like);
    case LogFilter::None: break;
    }
    return {};
}

QString logQuery(const QString &condition)
{
    return QStringLiteral("select * from tb_sys_log %1 ").arg(condition);
}

QString logDeleteStatement(const QString &id)
{
    return QStringLiteral("delete from tb_sys_log %1 ").arg(QStringLiteral(" where ID = %1 ").arg(sqlNumber(id)));
}

SystemLogEditor::SystemLogEditor(QObject *parent, int listClientWidth) : QObject(parent)
{
    setColumns(listClientWidth);
}

void SystemLogEditor::setColumns(int listClientWidth)
{
    const int w = listClientWidth / 4;
    m_list.setColumns(columnSpec({"ID", "用户代号", "用户名", "用户权限", "操作说明", "操作程序名", "插入时间"},
                                 {0, w - 15, w + 30, w, w, w, w}));
}

QStringList SystemLogEditor::filterNames()
{
    return {QStringLiteral("无"), QStringLiteral("日期时间"), QStringLiteral("操作人员"), QStringLiteral("程序名称")};
}

bool SystemLogEditor::mayDelete()
{
    return UserLevel <= 1;
}

std::optional<QString> SystemLogEditor::filterPreset(LogFilter filter)
{
    if (filter != LogFilter::DateTime)
        return std::nullopt;
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void SystemLogEditor::query(LogFilter filter, const QString &text)
{
    if (!sharedDb().isOpen())
        return;
    m_list.deleteAllRows();
    QList<QStringList> rows;
    try {
        SqlCursor cursor = sharedDb().query(logQuery(logCondition(filter, text)));
        const int columns = m_list.columnCount();
        while (cursor.next()) {
            QStringList row;
            for (int column = 0; column < columns; ++column)
                row << cursor.text(column);
            rows.append(row);
        }
    } catch (const DbError &error) {
        qCDebug(maintenanceTrace).noquote() << error.text();  // the rows read so far, the title as it was
        m_list.appendRows(rows);
        return;
    }
    m_list.appendRows(rows);
    emit titleChanged(QStringLiteral("系统日志管理-->共%1条记录").arg(m_list.rowCount()));
}

void SystemLogEditor::deleteRows(const QList<int> &rows, LogFilter filter, const QString &text)
{
    if (!sharedDb().isOpen())
        return;
    if (rows.isEmpty()) {
        prompt().message(QStringLiteral("用户信息"), QStringLiteral("请至少选择一行要删除的记录！"),
                         PromptIcon::Exclamation);
        return;
    }
    for (int row : rows) {
        try {
            sharedDb().exec(logDeleteStatement(m_list.itemText(row, IdColumn)));
        } catch (const DbError &error) {
            qCDebug(maintenanceTrace).noquote() << error.text();  // the record stays
        }
    }
    query(filter, text);
    prompt().message(QStringLiteral("提示"), QStringLiteral("已成功删除!"), PromptIcon::Information);
}

}  // namespace dbkeel
