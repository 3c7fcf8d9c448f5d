#include "dictionaries/DictionaryRowRecord.h"

#include "platform/Gbk.h"
#include "platform/Text.h"
#include "widgets/ReportListModel.h"

#include <algorithm>

namespace dbkeel {

void DictionaryRowRecord::cutToWidths()
{
    for (QString *text : {&name, &code, &key, &state, &insertTime})
        *text = cutToGbkBytes(*text, kTextBytes);
    remark = cutToGbkBytes(remark, kRemarkBytes);
}

DictionaryRowRecord &dictionaryRowRecord()
{
    static DictionaryRowRecord record;
    return record;
}

DictionaryRowFields fieldsForOperation(RowOperation operation, const DictionaryRowRecord &opened)
{
    switch (operation) {
    case RowOperation::Insert: return {true, opened.suggestedCode, QStringLiteral("新建"), QStringLiteral("新插入")};
    case RowOperation::Modify: return {true, opened.code, opened.state, QStringLiteral("被修改")};
    case RowOperation::Delete: return {false, opened.code, QStringLiteral("无效"), QStringLiteral("被删除")};
    case RowOperation::None: break;
    }
    return {false, opened.code, opened.state, opened.remark};
}

bool passesDuplicateTest(const ReportListModel &list, int codeColumn, int nameColumn, int code, const QString &newName,
                         const QString &oldName)
{
    if (newName == oldName)
        return true;
    for (int row = 0; row < list.rowCount(); ++row) {
        if (code >= 0 && toInt(list.itemText(row, codeColumn)) == code)
            return false;
        if (list.itemText(row, nameColumn) == newName)
            return false;
    }
    return true;
}

int largestCode(const ReportListModel &list, int codeColumn)
{
    int largest = 0;
    for (int row = 0; row < list.rowCount(); ++row)
        largest = std::max(largest, toInt(list.itemText(row, codeColumn)));
    return largest;
}

}  // namespace dbkeel
