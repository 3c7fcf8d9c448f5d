#pragma once
// The base ID bundle: the three dictionaries and the two relation tables in one exchange file
// (ALLLINEDATA.ALLINE), its export and import, and the one-key build of the run tables. Used by the
// bundle screen and by dbkeel-cli; each step is reported to a BundleLog.

#include <QList>
#include <QString>
#include <QStringList>

namespace dbkeel {

class ProfileFile;
class SharedDb;

// Where the steps of a bundle operation are reported: a plain line, or a failure line.
class BundleLog {
public:
    virtual ~BundleLog() = default;
    virtual void add(const QString &line, bool failure = false) = 0;
};

// One section of the bundle: a table, the fields of its records, and the texts that report it.
struct BundleSection {
    QString table;
    QStringList columns;  // the record's fields, in file order
    QList<bool> numeric;  // per field: a code (unquoted) or a name (quoted)
    QString exportQuery;
    QString exportDoneText;  // "导出[tb_id_devid]完成" (one of them says 完毕)

    QString insertStatement(const QStringList &fields) const;
};

// The five sections in file order: devices, device items, items, item parameters, parameters.
const QList<BundleSection> &bundleSections();

inline const QString kBundleName = QStringLiteral("ALLLINEDATA");
inline const QString kBundleExtension = QStringLiteral(".ALLINE");

// Writes the five sections into the file at `path` (merged into an existing file). Stops at the
// first failure; the sections written before it stay in the file. True when every section was written.
bool exportBundle(SharedDb &db, const QString &path, BundleLog &log);
// Replaces the tables of the sections whose NUM is above 0 with their records, each section all or
// nothing; a section that is absent, or has NUM 0 (or none) and no records, leaves its table as it
// is. A damaged file (cut short, empty, none of the sections, a NUM that is not a plain number or
// disagrees with the records, a record with the wrong number of fields) is refused whole before any
// table is touched. True when no section failed.
bool importBundle(SharedDb &db, const QString &path, BundleLog &log);
// Why the bundle `file` cannot be imported (cut short, empty, none of the sections, a section that is
// not whole); empty when it can. importBundle checks this before it touches a table.
QString bundleFileDamage(const ProfileFile &file);
// The one-key build: tb_id_item, tb_id_dev and tb_id_param rebuilt; stops at the first failure.
bool buildRunTables(SharedDb &db, BundleLog &log);

}  // namespace dbkeel
