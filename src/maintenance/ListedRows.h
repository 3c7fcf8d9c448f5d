#pragma once
// The bound of the SQL tools' result lists: the first kListedRows rows of a result are listed, the
// rest only counted, so that a table of millions of rows does not fill the memory.

#include "widgets/ReportListModel.h"

namespace dbkeel {

inline constexpr int kListedRows = 10000;

// Appends "……其余N行未列出" to `list` when more than kListedRows rows were read.
void appendUnlistedRowsLine(ReportListModel &list, long long rowsRead);

}  // namespace dbkeel
