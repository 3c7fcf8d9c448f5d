#include "stats/VehicleTransfer.h"

#include "core/AppConfig.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "core/WriteHistory.h"
#include "platform/FileWrite.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "screens/ExchangeFile.h"
#include "screens/JobRunner.h"

#include <QFile>
#include <QSet>

#include <algorithm>

namespace dbkeel {

namespace {

const QString kItemSum = QStringLiteral("Itemsum");
const QString kItemName = QStringLiteral("Itemname");
const QString kItemValue = QStringLiteral("Itemval_%1");
const QString kItemValueSum = QStringLiteral("Itemvalsum");
const QString kRowSeparator = QStringLiteral("','");
constexpr int kCountWidth = 10;  // at most 9 digits
// The installation's reader cuts names and rows at 2047 characters; ours reads what our export wrote.
constexpr int kRowWidth = 1 << 20;
constexpr int kStatusEvery = 1000;  // rows between two status texts

// The exchanged columns: every column but the first (the identity), trimmed, empty names skipped.
QStringList exchangedColumns(SharedDb &db, const QString &table)
{
    QStringList names;
    SqlCursor cursor = db.query(tableColumnsQuery(db.dialect(), table));
    for (bool first = true; cursor.next(); first = false) {
        const QString name = trimBoth(cursor.text(0));
        if (!first && !name.isEmpty())
            names << name;
    }
    return names;
}

// True when the row reads back as these values: no value holds "','" or ends in "'," (either would
// shift the values after it), and the row fits the reader.
bool rowReadsBack(const QStringList &values, const QString &row)
{
    return row.size() < kRowWidth && vehicleRowValues(row.mid(1, row.size() - 2)) == values
           && gbkLength(row) < kRowWidth;
}

// Exports one table; a row the file cannot carry, or a read error, ends it (reported). True when
// every row was written.
bool exportTable(JobContext &job, ProfileFile &file, const QString &table, const QStringList &columns,
                 TransferReport &report)
{
    SharedDb &db = job.db();
    const QString list = columns.join(QLatin1Char(','));
    file.writeString(table, kItemSum, QString::number(columns.size()));
    file.writeString(table, kItemName, list);
    int written = 0;
    bool complete = false;
    try {
        SqlCursor count = db.query(QStringLiteral("select count(*) as maxt from %1 ").arg(table));
        const int total = count.next() ? count.toInt(0) : 0;
        count.close();
        SqlCursor cursor = db.query(QStringLiteral("select %1 from %2").arg(list, table));
        complete = true;
        while (!job.stopRequested() && cursor.next()) {
            QStringList values;
            for (int i = 0; i < columns.size(); ++i)
                values << trimBoth(cursor.text(i));
            const QString row = vehicleRowText(values);
            QString refused;
            if (!rowReadsBack(values, row))
                refused = QStringLiteral("有值含有\"','\"或以\"',\"结尾,或整行超过1 MiB,读回时会错位");
            else if (!file.writeString(table, kItemValue.arg(written), row))
                refused = file.lastError();
            if (!refused.isEmpty()) {
                report.warnings
                    << QStringLiteral("导出[%1]第%2行失败:%3").arg(table, QString::number(written + 1), refused);
                complete = false;
                break;
            }
            if (++written % kStatusEvery == 0)
                job.setStatus(
                    QStringLiteral("导出[%1]=>%2/%3").arg(table, QString::number(written), QString::number(total)));
        }
        job.setStatus(QStringLiteral("导出[%1]=>%2/%3").arg(table, QString::number(written), QString::number(total)));
    } catch (const DbError &error) {
        if (!job.stopRequested())  // a stop cancels the running query: that is no failure to report
            report.warnings << QStringLiteral("导出[%1]第%2行时查询内容异常").arg(table, QString::number(written + 1))
                                   + error.text();
        complete = false;
    }
    // Always matches the row keys written now, so stale keys of an older export are never read.
    file.writeString(table, kItemValueSum, QString::number(written));
    return complete;
}

// The table's columns, in the catalogue's spelling, for the names a file gives; empty with
// `missing` set when one is not a column of the table.
QStringList knownColumns(SharedDb &db, const QString &table, const QStringList &names, QString &missing)
{
    const QStringList columns = exchangedColumns(db, table);
    QStringList known;
    for (const QString &name : names) {
        const auto at = std::find_if(columns.begin(), columns.end(), [&](const QString &column) {
            return column.compare(trimBoth(name), Qt::CaseInsensitive) == 0;
        });
        if (at == columns.end()) {
            missing = name;
            return {};
        }
        known << *at;
    }
    return known;
}

// One row's values in parentheses. The export writes NULL as an empty value, and the file cannot tell
// it from an empty text: an empty value goes in as NULL (SQL Server would store '' in a number column
// as 0, the embedded database's strict tables refuse it).
QString valuesTuple(const QStringList &values)
{
    QStringList literals;
    for (const QString &value : values)
        literals << (value.isEmpty() ? QStringLiteral("NULL") : sqlText(value));
    return QLatin1Char('(') + literals.join(QLatin1Char(',')) + QLatin1Char(')');
}

// Rows go into the table a batch at a time: one statement per row would cost most of the import.
// SQL Server before 2008 knows no INSERT of several rows: there each row is a statement of its own.
class RowInserter {
public:
    static constexpr int kBatchRows = 100;  // SQL Server takes at most 1000 rows per VALUES

    RowInserter(SharedDb &db, const QString &table, const QStringList &columns)
        : m_db(db), m_head(QStringLiteral("insert into %1(%2)values").arg(table, columns.join(QLatin1Char(',')))),
          m_batchRows(sqlServerBefore(db.sqlServerMajor(), kSqlServer2008) ? 1 : kBatchRows)
    {}
    void add(const QStringList &values)
    {
        m_tuples << valuesTuple(values);
        if (m_tuples.size() == m_batchRows)
            flush();
    }
    void flush()
    {
        if (!m_tuples.isEmpty())
            m_db.exec(m_head + m_tuples.join(QLatin1Char(',')));
        m_tuples.clear();
    }

private:
    SharedDb &m_db;
    const QString m_head;
    const int m_batchRows;
    QStringList m_tuples;
};

// Clears `table` and refills it from its section in one transaction.
void importTable(JobContext &job, const ProfileFile &file, const QString &table, TransferReport &report)
{
    SharedDb &db = job.db();
    const int rows = toInt(file.readString(table, kItemValueSum, QStringLiteral("0"), kCountWidth));
    const QString nameList = file.readString(table, kItemName, QString(), kRowWidth);
    const QString failed = QStringLiteral("导入[%1]失败,该表保持原样:").arg(table);
    try {
        QString missing;
        const QStringList names = nameList.isEmpty() ? QStringList() : nameList.split(QLatin1Char(','));
        const QStringList columns = knownColumns(db, table, names, missing);
        if (!missing.isEmpty()) {
            report.warnings << failed + QStringLiteral("数据表中没有字段[%1]").arg(missing);
            return;
        }
        keepHistory(db, QStringLiteral("vehicle-type-import"), {table});
        SqlTransaction transaction(db);
        try {
            db.exec(QStringLiteral("delete from %1").arg(table));
        } catch (const DbError &error) {
            report.warnings << QStringLiteral("查询内容异常") + error.text();
            return;
        }
        RowInserter inserter(db, table, columns);
        for (int i = 0; i < rows; ++i) {
            if (job.stopRequested())
                return;  // the transaction rolls the table back
            const QStringList values = vehicleRowValues(
                file.readString(table, kItemValue.arg(i), QString(), kRowWidth));
            if (values.size() != columns.size()) {
                report.warnings << failed
                                       + QStringLiteral("第%1行有%2个值,应为%3个")
                                             .arg(QString::number(i + 1), QString::number(values.size()),
                                                  QString::number(columns.size()));
                return;
            }
            inserter.add(values);
            if ((i + 1) % kStatusEvery == 0 || i + 1 == rows)
                job.setStatus(
                    QStringLiteral("导入[%1]=>%2/%3").arg(table, QString::number(i + 1), QString::number(rows)));
        }
        inserter.flush();
        transaction.commit();
    } catch (const DbError &error) {
        if (!job.stopRequested())  // stopped: the statement was cancelled and the table rolled back
            report.warnings << failed + error.text();
    }
}

}  // namespace

const QStringList &vehicleTypeTables()
{
    static const QStringList tables{QStringLiteral("tb_type_base_ini"), QStringLiteral("tb_type_fdj_ini"),
                                    QStringLiteral("tb_type_fdjxh"), QStringLiteral("tb_type_index"),
                                    QStringLiteral("tb_type_vehicle")};
    return tables;
}

QString vehicleDataFilePath(const QString &folder)
{
    return joinPath(folder, QStringLiteral("VehicleInfo.VEH"));
}

QString vehicleBackupPath()
{
    return joinPath(hostEntryPath(hostEntry::VehicleBackupDir), QStringLiteral("OldVehTypeInfo.VEH"));
}

QString vehicleRowText(const QStringList &values)
{
    return QLatin1Char('\'') + values.join(kRowSeparator) + QLatin1Char('\'');
}

QStringList vehicleRowValues(const QString &readBack)
{
    return readBack.split(kRowSeparator);
}

bool exportVehicleTypes(JobContext &job, const QString &path, TransferReport &report)
{
    SharedDb &db = job.db();
    const QString refused = nonRegularTargetError(path);
    if (!refused.isEmpty()) {
        report.warnings << QStringLiteral("写入文件失败[%1]:%2").arg(path, refused);
        return false;
    }
    ProfileFile file(path);
    job.setStatus(QStringLiteral("正在导出,请稍等..."));
    bool complete = db.isOpen();
    for (int number = 1; number <= vehicleTypeTables().size() && !job.stopRequested(); ++number) {
        const QString &table = vehicleTypeTables().at(number - 1);
        if (db.isOpen()) {
            try {
                const QStringList columns = exchangedColumns(db, table);
                if (!columns.isEmpty())
                    complete = exportTable(job, file, table, columns, report) && complete;
            } catch (const DbError &error) {
                if (!job.stopRequested())  // a stop cancels the running query: that is no failure to report
                    report.warnings << QStringLiteral("查询字段异常") + error.text();
                complete = false;
            }
        }
        job.setProgress(number);
    }
    bool written = false;
    if (job.stopRequested())
        QFile::remove(path);  // the partial file
    else if (!(written = file.save()))
        report.warnings << QStringLiteral("写入文件失败[%1]:%2").arg(path, file.lastError());
    job.setStatus(QStringLiteral("导出结束"));
    return written && complete;
}

namespace {

// True when the file holds the section of at least one of the tables; a file of something else
// would otherwise empty every table.
bool holdsVehicleTypes(const ProfileFile &file)
{
    for (const QString &section : file.sectionNames())
        if (vehicleTypeTables().contains(section, Qt::CaseInsensitive))
            return true;
    return false;
}

// Why the file is not whole: cut short, or a table section without its counts or missing one of its
// rows. Empty when it is whole.
QString damagedVehicleFile(const ProfileFile &file)
{
    const QString cut = cutFileProblem(file.path());
    if (!cut.isEmpty())
        return cut;
    for (const QString &table : vehicleTypeTables()) {
        if (!file.sectionNames().contains(table, Qt::CaseInsensitive))
            continue;
        const int rows = plainCount(file.readString(table, kItemValueSum, QString(), kCountWidth));
        const QString names = file.readString(table, kItemName, QString(), kRowWidth);
        if (rows < 0 || names.isEmpty())
            return QStringLiteral("[%1]没有%2或%3").arg(table, kItemName, kItemValueSum);
        QSet<QString> keys;
        for (const QString &key : file.keyNames(table))
            keys.insert(key.toLower());
        for (int i = 0; i < rows; ++i)
            if (!keys.contains(kItemValue.arg(i).toLower()))
                return QStringLiteral("[%1]缺少第%2行").arg(table, QString::number(i + 1));
    }
    return {};
}

}  // namespace

void importVehicleTypes(JobContext &job, const QString &path, TransferReport &report)
{
    const ProfileFile file(path);
    if (!QFile::exists(path) || !holdsVehicleTypes(file)) {
        report.warnings << QStringLiteral("文件[%1]中没有车型数据,未导入").arg(path);
        job.setStatus(QStringLiteral("导入结束"));
        return;
    }
    const QString damage = damagedVehicleFile(file);
    if (!damage.isEmpty()) {
        report.warnings << QStringLiteral("文件[%1]已损坏,未导入任何数据:%2").arg(path, damage);
        job.setStatus(QStringLiteral("导入结束"));
        return;
    }
    job.setStatus(QStringLiteral("正在导入,请稍等..."));
    for (int number = 1; number <= vehicleTypeTables().size() && !job.stopRequested(); ++number) {
        const QString &table = vehicleTypeTables().at(number - 1);
        job.setStatus(QStringLiteral("正在清理[%1]...").arg(table));
        if (job.db().isOpen())
            importTable(job, file, table, report);
        job.setProgress(number);
    }
    if (!job.stopRequested())
        job.setStatus(QStringLiteral("导入结束"));
}

}  // namespace dbkeel
