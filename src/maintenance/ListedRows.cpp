#include "maintenance/ListedRows.h"

namespace dbkeel {

void appendUnlistedRowsLine(ReportListModel &list, long long rowsRead)
{
    if (rowsRead > kListedRows)
        list.appendRow(QStringLiteral("……其余%1行未列出").arg(rowsRead - kListedRows));
}

}  // namespace dbkeel
