#pragma once
// The GUI-free part of the output field matching OutputFieldDialog: for every test parameter, the
// external database's table and its data and judgment columns, kept in DevOutNetExchangeField.ini.

#include "widgets/ReportListModel.h"

#include <QObject>

namespace dbkeel {

// "<entry 3>/DevOutNetExchangeField.ini".
QString outputFieldFilePath();

// The association of one parameter as the editors show it.
struct OutputAssociation {
    QString table, dataColumn, judgeColumn;
};

class OutputFieldEditor : public QObject {
    Q_OBJECT

public:
    enum Column { ParamIdColumn, ParamNameColumn, TableColumn, DataColumn, JudgeColumn };

    explicit OutputFieldEditor(QObject *parent = nullptr, int listClientWidth = 600);

    ReportListModel &list() { return m_list; }
    void setColumns(int listClientWidth);
    // The parameters with their associations from `file`.
    void load(const QString &file = outputFieldFilePath());

    // A click on a row: its association for the editors (the table only when the row has one, so one
    // table name can be given to many rows in turn); the row becomes the chosen one.
    OutputAssociation choose(int row);
    int chosenRow() const { return m_chosen; }
    void stage(const OutputAssociation &association);  // "暂存"
    void clearAssociations();                          // "清楚关联"
    void save();                                       // "确定"

private:
    ReportListModel m_list;
    QString m_file;
    int m_chosen = -1;
};

}  // namespace dbkeel
