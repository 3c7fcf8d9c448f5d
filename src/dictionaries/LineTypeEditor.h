#pragma once
// The GUI-free part of the line-type screen LineTypeDialog: renames and deletions are written at
// once, rows added through the row editor wait for Store.

#include "core/SqlDialect.h"
#include "screens/ScreenStatus.h"
#include "widgets/ReportListModel.h"

#include <QObject>

#include <functional>

namespace dbkeel {

// Statements of tb_id_linetype.
QString lineTypeLoadQuery();
// Inserts the pair when it is not stored; a stored pair stays as it is.
QString lineTypeStoreStatement(Dialect dialect, const QString &code, const QString &name);
QString lineTypeRenameStatement(const QString &newName, const QString &code, const QString &oldName);
QString lineTypeDeleteStatement(const QString &code, const QString &name);

class LineTypeEditor : public QObject {
    Q_OBJECT

public:
    static constexpr int CodeColumn = 0, NameColumn = 1;

    explicit LineTypeEditor(QObject *parent = nullptr, int listClientWidth = 600);

    ReportListModel &list() { return m_list; }
    const ReportListModel &list() const { return m_list; }
    ScreenStatus &status() { return m_status; }

    void setColumns(int listClientWidth);
    void load();
    int largestCode() const;

    // The row editor, as for the dictionaries: prepareEdit fills the shared record's name and
    // suggested code (false without such a row); finishEdit applies the chosen operation.
    bool prepareEdit(int row);
    void finishEdit(int row, bool accepted);
    // "更新": stores every row, then reloads. A failure stops at its row: the rows not written stay in
    // the list (teal) and the status says so.
    void store();

signals:
    void storeRunning(bool running);

private:
    void appendRow(const QString &code, const QString &name, ListColor color);
    // Stores the list's pairs in order; the row that failed (reported), or the row count.
    int writeToDatabase();
    bool isListed(const QString &code, const QString &name) const;
    void showLargestCode();
    // Runs the statement `statement` builds; false on any error, which is passed over.
    bool execQuietly(const std::function<QString()> &statement);

    ReportListModel m_list;
    ScreenStatus m_status;
    QString m_oldName;
};

}  // namespace dbkeel
