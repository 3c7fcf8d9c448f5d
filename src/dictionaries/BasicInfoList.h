#pragma once
// The GUI-free part of BasicInfoDialog: tb_id_info, read only.

#include "widgets/ReportListModel.h"

namespace dbkeel {

class BasicInfoList {
public:
    static inline const QString kLoadQuery = QStringLiteral("select * from tb_id_info order by infoid ");

    explicit BasicInfoList(int listClientWidth = 600);

    ReportListModel &list() { return m_list; }
    void setColumns(int listClientWidth);
    // Reads the table; nothing when the database is closed.
    void load();

private:
    ReportListModel m_list;
};

}  // namespace dbkeel
