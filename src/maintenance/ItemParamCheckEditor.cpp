#include "maintenance/ItemParamCheckEditor.h"

#include "core/AppState.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "platform/Prompt.h"
#include "screens/DbErrorReport.h"

#include <QHash>

namespace dbkeel {

QString itemParamLoadQuery()
{
    return QStringLiteral("select * from tb_id_param order by paramid ; ");
}

QString itemParamDeleteStatement(const QString &paramId, const QString &itemId, const QString &paramName)
{
    return QStringLiteral("delete from tb_id_param  where paramid = %1 and itemid = %2 and paramname = %3 ;")
        .arg(sqlNumber(paramId), sqlNumber(itemId), sqlText(paramName));
}

namespace {
// The status line and the progress bar move every so many rows, and at the last one.
constexpr int kProgressStep = 1000;
}  // namespace

ItemParamCheckEditor::ItemParamCheckEditor(QObject *parent, int listClientWidth) : QObject(parent)
{
    setColumns(listClientWidth);
}

void ItemParamCheckEditor::setColumns(int listClientWidth)
{
    const int w = listClientWidth / 5;
    m_list.setColumns(columnSpec({"参数名称", "参数ID", "项目名称", "项目ID", "注释"}, {w, w - 20, w, w - 20, w}));
}

void ItemParamCheckEditor::load()
{
    if (!sharedDb().isOpen())
        return;
    m_status.setLeft(QStringLiteral("正在获取参数信息"));
    m_list.deleteAllRows();
    QList<QStringList> rows;
    try {
        SqlCursor cursor = sharedDb().query(itemParamLoadQuery());
        while (cursor.next())
            rows.append({cursor.text(QStringLiteral("ParamName")), cursor.text(QStringLiteral("ParamId")), QString(),
                         cursor.text(QStringLiteral("ItemId"))});
        m_list.appendRows(rows);
    } catch (const DbError &error) {
        m_list.appendRows(rows);  // what was read before the failure stays listed
        reportDbError(QStringLiteral("错误"), QString(), error);
        return;
    }
    m_status.setLeft(QStringLiteral("获取完毕"));
}

void ItemParamCheckEditor::check()
{
    m_status.setLeft(QStringLiteral("正在比较参数信息"));
    const int rows = m_list.rowCount();
    m_status.setProgressRange(0, rows + 1);

    struct ItemsOfParam {
        QString first;
        bool several = false;
    };
    QHash<QString, ItemsOfParam> items;
    items.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        const QString item = m_list.itemText(row, ItemColumn);
        auto found = items.find(m_list.itemText(row, ParamColumn));
        if (found == items.end())
            items.insert(m_list.itemText(row, ParamColumn), {item});
        else if (found->first != item)
            found->several = true;
    }

    bool marked = false;
    for (int row = 0; row < rows; ++row) {
        if (row % kProgressStep == 0 || row == rows - 1) {
            m_status.setLeft(QStringLiteral("正在比较参数信息[%1]...").arg(row));
            m_status.setProgress(row);
        }
        if (items.value(m_list.itemText(row, ParamColumn)).several) {
            m_list.setItemText(row, RemarkColumn, QStringLiteral("有重复"));
            m_list.setTextColor(row, -1, listcolor::Red);
            marked = true;
        }
    }
    m_status.setProgress(rows + 1);
    if (marked)
        m_status.setLeft(QStringLiteral("有重复内容,请处理"));
}

void ItemParamCheckEditor::deleteRow(int row)
{
    if (row < 0 || row >= m_list.rowCount())
        return;
    if (prompt().message(QStringLiteral("提示"), QStringLiteral("确定要删除该参数信息?"), PromptIcon::Question,
                         PromptButtons::OkCancel, PromptButton::Cancel)
        != PromptButton::Ok)
        return;
    const QString paramId = m_list.itemText(row, ParamColumn), itemId = m_list.itemText(row, ItemColumn),
                  paramName = m_list.itemText(row, NameColumn);
    m_list.deleteRow(row);
    try {
        // Built here: a row without a number is refused like a statement that fails.
        sharedDb().exec(itemParamDeleteStatement(paramId, itemId, paramName));
    } catch (const DbError &error) {
        DbReady = 0;
        prompt().message(QStringLiteral("Dbkeel"), QStringLiteral("删除参数记录失败") + error.text());
    }
}

}  // namespace dbkeel
