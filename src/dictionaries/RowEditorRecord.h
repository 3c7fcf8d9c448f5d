#pragma once
// The record of the shared row editor (UpdateListData). It lives for the program run: a
// screen fills it before opening the editor and reads it back afterwards, and whatever a
// screen does not fill keeps its last value.

#include <QString>

namespace dbkeel {

enum class RowOperation { None = -1, Insert = 0, Modify = 1, Delete = 2 };

struct RowEditorRecord {
    static constexpr int kTextBytes = 49, kRemarkBytes = 249;

    QString name, code, key, state, remark, insertTime;
    RowOperation operation = RowOperation::None;
    QString suggestedCode;

    // Every text cut to its width (GBK bytes).
    void cutToWidths();
};

// The process-wide record.
RowEditorRecord &rowEditorRecord();

// What the editor shows for a chosen operation, from the record as it was when the editor opened.
struct RowEditorFields {
    bool editable = false;  // name, code, key and 说明 enabled, 注释 editable
    QString code, state, remark;
};
RowEditorFields fieldsForOperation(RowOperation operation, const RowEditorRecord &opened);

}  // namespace dbkeel
