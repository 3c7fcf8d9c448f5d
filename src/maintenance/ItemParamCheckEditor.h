#pragma once
// The GUI-free part of the verification screen ItemParamCheckDialog: tb_id_param listed, every parameter
// id used under two or more item ids marked, a relation row deleted.

#include "screens/ScreenStatus.h"
#include "widgets/ReportListModel.h"

#include <QObject>

namespace dbkeel {

QString itemParamLoadQuery();
QString itemParamDeleteStatement(const QString &paramId, const QString &itemId, const QString &paramName);

class ItemParamCheckEditor : public QObject {
    Q_OBJECT

public:
    static constexpr int NameColumn = 0, ParamColumn = 1, ItemColumn = 3, RemarkColumn = 4;

    explicit ItemParamCheckEditor(QObject *parent = nullptr, int listClientWidth = 600);

    ReportListModel &list() { return m_list; }
    ScreenStatus &status() { return m_status; }
    void setColumns(int listClientWidth);

    // "查询".
    void load();
    // "校验": marks every row of a parameter id that occurs with more than one item id (texts compared
    // as they are), in one pass over the rows with a map of the item ids each parameter has.
    void check();
    // A double click: asks, takes the row off the list, deletes it from the table.
    void deleteRow(int row);

private:
    ReportListModel m_list;
    ScreenStatus m_status;
};

}  // namespace dbkeel
