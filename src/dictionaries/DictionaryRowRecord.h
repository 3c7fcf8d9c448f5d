#pragma once
// The record of the shared row editor (DictionaryRowDialog). It lives for the program run: a
// screen fills it before opening the editor and reads it back afterwards, and whatever a
// screen does not fill keeps its last value.

#include "core/ColumnWidths.h"

#include <QString>

namespace dbkeel {

class ReportListModel;

enum class RowOperation { None = -1, Insert = 0, Modify = 1, Delete = 2 };

// The status of a store that stopped at a failing row: the rows not written stay in the list.
inline const QString kStoreUnfinishedStatus = QStringLiteral("更新未完成,未写入的修改仍在列表中");

struct DictionaryRowRecord {
    // Name, key character and 说明 keep the installation's 49; 注释 holds what its varchar(100) column does
    // (the installation's box took 249, which SQL Server refuses).
    static constexpr int kTextBytes = editLimit(49, {{"tb_id_devid", "devname"},
                                                     {"tb_id_devid", "devkeychar"},
                                                     {"tb_id_devid", "res"},
                                                     {"tb_id_itemid", "itemname"},
                                                     {"tb_id_itemid", "res"},
                                                     {"tb_id_paramid", "paramname"},
                                                     {"tb_id_paramid", "res"},
                                                     {"tb_id_linetype", "linename"}});
    static constexpr int kRemarkBytes = editLimit(249, {{"tb_id_devid", "remark"},
                                                        {"tb_id_itemid", "remark"},
                                                        {"tb_id_paramid", "remark"}});

    QString name, code, key, state, remark, insertTime;
    RowOperation operation = RowOperation::None;
    QString suggestedCode;

    // Every text cut to its width (GBK bytes).
    void cutToWidths();
};

// The process-wide record.
DictionaryRowRecord &dictionaryRowRecord();

// What the editor shows for a chosen operation, from the record as it was when the editor opened.
struct DictionaryRowFields {
    bool editable = false;  // name, code, key and 说明 enabled, 注释 editable
    QString code, state, remark;
};
DictionaryRowFields fieldsForOperation(RowOperation operation, const DictionaryRowRecord &opened);

// The editor's duplicate test on a list: passes at once when the new name is the old one;
// otherwise fails when a row's code (as an integer; not compared for a negative code) equals
// `code` or a row's name equals the new name.
bool passesDuplicateTest(const ReportListModel &list, int codeColumn, int nameColumn, int code, const QString &newName,
                         const QString &oldName);
// The largest integer value of a column, from 0: the base of the suggested code.
int largestCode(const ReportListModel &list, int codeColumn);

}  // namespace dbkeel
