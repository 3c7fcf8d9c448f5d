#pragma once
// What the statistics library builds: one row of tb_stat_all per inspection of the queue
// (docs/components.md lists the columns it fills).

#include <QString>

#include <functional>

namespace dbkeel {

class SharedDb;

using StatProgress = std::function<void(const QString &text)>;

// Fills tb_stat_all from the queue in one transaction, replacing the rows of the inspections it
// fills (a rerun duplicates nothing). The number of rows written; DbError from the driver, with
// the table as it was.
int fillStatTable(SharedDb &db, const StatProgress &progress);

}  // namespace dbkeel
