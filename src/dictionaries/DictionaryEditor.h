#pragma once
// The GUI-free part of the device, item and parameter screens: the list as a working copy of
// the table, edited through the shared row editor's record and written by Store. Every
// question and message goes through prompt(); the dialog only wires its controls to this.

#include "dictionaries/DictionaryRowRecord.h"
#include "dictionaries/DictionarySql.h"
#include "dictionaries/DictionaryVariant.h"
#include "screens/ScreenStatus.h"
#include "widgets/ReportListModel.h"

#include <QList>
#include <QObject>

namespace dbkeel {

class DictionaryEditor : public QObject {
    Q_OBJECT

public:
    static inline const QString kPending = QStringLiteral("待定");    // ID of a row not yet stored
    static inline const QString kWithdrawn = QStringLiteral("无效");  // 说明 of a withdrawn row

    // The list gets its columns for a list `listClientWidth` wide; setColumns changes the widths
    // (and empties the list).
    explicit DictionaryEditor(const DictionaryVariant &variant, QObject *parent = nullptr, int listClientWidth = 600);

    const DictionaryVariant &variant() const { return m_variant; }
    ReportListModel &list() { return m_list; }
    const ReportListModel &list() const { return m_list; }
    ScreenStatus &status() { return m_status; }

    void setColumns(int listClientWidth);
    DictionaryRow row(int row) const;

    // Reads the table into the list; nothing when the database is closed.
    void load();
    int largestCode() const;

    // The row editor, in two steps around the dialog: prepareEdit loads the shared record
    // from the row (false when there is no such row); finishEdit applies the record's
    // operation when the editor was closed with 确定.
    bool prepareEdit(int row);
    void finishEdit(int row, bool accepted);
    // The row editor's duplicate test; a negative code is not compared.
    bool passesDuplicateTest(int code, const QString &newName, const QString &oldName) const;

    // The Delete key: marks the rows withdrawn after a question.
    void markWithdrawn(const QList<int> &rows);
    // Colours every row and reports whether the list may be stored.
    bool check();
    // "检查...": check with its status texts and message.
    void checkCommand();
    // "更新": check, write every row, reload (keeping what could not be written).
    void store();
    // "查找": false when the text was empty (the dialog then focuses the text box).
    bool search(bool byName, const QString &text);
    void showInsertTime(int row);
    void exportTicked();
    void importFile(bool forced);

signals:
    void storeRunning(bool running);     // "更新" disabled and showing "更新..."
    void exchangeRunning(bool running);  // "导出", "导入", "强制覆盖导入" disabled

private:
    void appendRow(const DictionaryRow &row, ListColor color);
    void writeRow(int row, const DictionaryRow &values);
    void colourByState(int row);
    void showLargestCode();
    // Writes the rows in list order and stops at the first failure; the index of the first row
    // not written (the row count when every row was).
    int writeToDatabase();
    // After the reload of a store that stopped: the rows it did not write go back into the list,
    // over their stored row (by ID) or appended, so no edit is lost.
    void keepUnwritten(const QList<DictionaryRow> &rows);
    void applyInsert(const DictionaryRowRecord &record);
    void applyModify(int row, const DictionaryRowRecord &record);
    void applyDelete(int row);
    // The row as an exchange-file record; empty when a field cannot be carried.
    QString exportRecord(int row) const;
    ImportRecord importRecord(const QString &record, const QString &time) const;
    QString importStatement(const QString &record, bool forced) const;
    // A plain import adds what is missing record by record; a failing record is traced and skipped.
    void importEach(const QStringList &records);
    // A forced import renames existing codes: every record or, after a failure, none (reported).
    bool importAllOrNothing(const QStringList &records);

    const DictionaryVariant &m_variant;
    ReportListModel m_list;
    ScreenStatus m_status;
    QString m_oldName;  // name of the row the editor was opened on
};

}  // namespace dbkeel
