#include "RowEditorRecord.h"

#include "Gbk.h"

namespace dbkeel {

void RowEditorRecord::cutToWidths()
{
    for (QString *text : {&name, &code, &key, &state, &insertTime})
        *text = cutToGbkBytes(*text, kTextBytes);
    remark = cutToGbkBytes(remark, kRemarkBytes);
}

RowEditorRecord &rowEditorRecord()
{
    static RowEditorRecord record;
    return record;
}

RowEditorFields fieldsForOperation(RowOperation operation, const RowEditorRecord &opened)
{
    switch (operation) {
    case RowOperation::Insert:
        return {true, opened.suggestedCode, QStringLiteral("新建"), QStringLiteral("新插入")};
    case RowOperation::Modify:
        return {true, opened.code, opened.state, QStringLiteral("被修改")};
    case RowOperation::Delete:
        return {false, opened.code, QStringLiteral("无效"), QStringLiteral("被删除")};
    case RowOperation::None:
        break;
    }
    return {false, opened.code, opened.state, opened.remark};
}

}  // namespace dbkeel
