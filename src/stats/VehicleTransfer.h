#pragma once
// Vehicle-type data carried between installations in one exchange file: the five tables in a fixed
// order, each a section named after its table with Itemsum, Itemname, the rows Itemval_0.. and
// Itemvalsum. Both directions run on a job's own connection (JobRunner) and look at its stop request.

#include <QString>
#include <QStringList>

namespace dbkeel {

class JobContext;

// The tables in exchange order: definitions of both data tables, engine models, plate index, models.
const QStringList &vehicleTypeTables();
// "<folder>/VehicleInfo.VEH".
QString vehicleDataFilePath(const QString &folder);
// "<entry 5>/OldVehTypeInfo.VEH", written before an import when the user asks for a backup.
QString vehicleBackupPath();

// A row as the file carries it: every value in single quotes, joined by ",".
QString vehicleRowText(const QStringList &values);
// The values of a row as the profile reader gives it back (one enclosing pair of quotes removed):
// the text split at "','". A value holding "','" or ending in "'," would not come back as it was:
// the export refuses such a row.
QStringList vehicleRowValues(const QString &readBack);

// What a transfer met that the window shows when it has ended, one text per message box.
struct TransferReport {
    QStringList warnings;
};

// Writes every table into `path`, merging into an existing file. A stop deletes the partial file.
// False when a row could not be carried or read (the file then lacks it), when the file could not be
// written (each reported in `report`, naming table and row) or when the export was stopped.
bool exportVehicleTypes(JobContext &job, const QString &path, TransferReport &report);
// Replaces every table's rows by its section of `path`; a table missing from the file is emptied.
// Each table's clear and refill is one transaction: a failing row or a stop leaves it as it was. A
// file cut short (its last line without line end, a section without its counts or rows) is refused
// before any table is touched.
void importVehicleTypes(JobContext &job, const QString &path, TransferReport &report);

}  // namespace dbkeel
