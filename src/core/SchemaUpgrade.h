#pragma once
// The schema upgrade run at every start: seeded basic-information fields, added columns and created
// tables, each batch guarding itself so that repeating it changes nothing.

#include "core/SqlDialect.h"

#include <QList>
#include <QString>

namespace dbkeel {

class SharedDb;

// One batch of the upgrade. On SQL Server the batch carries its own guard; on the embedded database,
// which has no IF, `runWhenFound` is a query that returns a row when the batch is to run (empty: always).
struct UpgradeStep {
    QString batch;
    QString runWhenFound;
};

// A column the upgrade adds or a created table holds, with its SQL Server type.
struct UpgradeColumn {
    QString name;
    QString type;  // "int", "varchar(50)", … ; "identity" for an int IDENTITY(1,1) NOT NULL key
};

struct SeededInfoField {
    int infoid;
    const char *infoword;
    const char *infoname;
};
// The 37 basic-information fields, in processing order: rows 0–15 are inserted when missing,
// rows from kFirstRefreshedInfoField on are inserted when missing and otherwise refreshed.
extern const QList<SeededInfoField> kSeededInfoFields;
inline constexpr int kFirstRefreshedInfoField = 16;

UpgradeStep seedInfoFieldStep(Dialect dialect, int row);
// Adds `columns` when `guardColumn` is missing; with `onlyIfTableExists` nothing happens without the table.
UpgradeStep addColumnsStep(Dialect dialect, const QString &table, const QList<UpgradeColumn> &columns,
                           bool onlyIfTableExists);
// Creates the tables that are missing (one batch of one statement per table).
UpgradeStep createTablesStep(Dialect dialect, const QStringList &tables);
// The columns of a table the upgrade creates.
QList<UpgradeColumn> createdTableColumns(const QString &table);

// Group 1, right after the connection opened: every failing batch only clears DbReady.
void runUpgradeGroup1(SharedDb &db);
// Group 2, steps 1 and 2 (tables tb_login_ip_info and tb_login_lineindex, columns of the index):
// failures are logged, DbReady cleared, and the upgrade goes on.
void runUpgradeGroup2Tables(SharedDb &db);
// Group 2, steps 3 and 4 (columns of tb_line_info): a failure shows the driver's text in a message box,
// clears DbReady and answers false (the caller abandons the tree load).
bool runUpgradeGroup2Columns(SharedDb &db);

}  // namespace dbkeel
