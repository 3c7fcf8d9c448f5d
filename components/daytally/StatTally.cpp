#include "components/daytally/StatTally.h"

#include "core/SharedDb.h"
#include "core/SqlValue.h"

#include <QDateTime>
#include <QHash>
#include <QSet>

namespace dbkeel {

namespace {

const QString kStatTable = QStringLiteral("tb_stat_all");

QStringList columnsOf(SharedDb &db, const QString &table)
{
    QStringList names;
    SqlCursor cursor = db.query(tableColumnsQuery(db.dialect(), table));
    while (cursor.next())
        names << cursor.text(0);
    return names;
}

// What one inspection's items and standards give, by the statistics column they fill.
struct Inspection {
    QString dataId, remark;
    QHash<QString, QString> values;  // upper-case column name → value
};

void addItems(SharedDb &db, const QString &loginid, Inspection &inspection)
{
    QHash<QString, int> counts;
    SqlCursor cursor = db.query(
        QStringLiteral("select itemid, status, checkend from tb_login_item where loginid = %1 order by ID")
            .arg(sqlText(loginid)));
    while (cursor.next()) {
        const QString id = cursor.text(0);
        inspection.values.insert(QStringLiteral("ITEM_") + id, cursor.text(1));
        inspection.values.insert(QStringLiteral("ITEM_JUDGE_") + id, cursor.text(2));
        inspection.values.insert(QStringLiteral("ITEM_SUM_") + id, QString::number(++counts[id]));
    }
}

void addStandards(SharedDb &db, const QString &loginid, Inspection &inspection)
{
    SqlCursor cursor = db.query(
        QStringLiteral("select paramid, paramlvalue, paramhvalue from tb_login_std where loginid = %1 order by ID")
            .arg(sqlText(loginid)));
    while (cursor.next())
        inspection.values.insert(QStringLiteral("STD_") + cursor.text(0),
                                 cursor.text(1) + QLatin1Char('~') + cursor.text(2));
}

void addVehicle(SharedDb &db, const QString &loginid, const QStringList &infoColumns, Inspection &inspection)
{
    SqlCursor cursor = db.query(
        QStringLiteral("select * from tb_vehicle_info where loginid = %1 order by ID").arg(sqlText(loginid)));
    if (!cursor.next())
        return;
    inspection.dataId = cursor.text(QStringLiteral("ID"));
    for (const QString &column : infoColumns)
        inspection.values.insert(column.toUpper(), cursor.text(column));
}

QString insertStatement(const QString &loginid, const Inspection &inspection, const QStringList &statColumns)
{
    QStringList columns{QStringLiteral("loginid"), QStringLiteral("WriteDate")};
    QStringList values{sqlText(loginid),
                       sqlText(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")))};
    const auto add = [&](const QString &column, const QString &value) {
        columns << column;
        values << value;
    };
    if (!inspection.dataId.isEmpty())
        add(QStringLiteral("DataID"), sqlNumber(inspection.dataId));
    if (statColumns.contains(QStringLiteral("StatRemark"), Qt::CaseInsensitive))
        add(QStringLiteral("StatRemark"), sqlText(inspection.remark));
    for (const QString &column : statColumns) {
        const auto value = inspection.values.constFind(column.toUpper());
        if (value != inspection.values.constEnd())
            add(column, sqlText(*value));
    }
    return QStringLiteral("insert into %1 (%2) values (%3)")
        .arg(kStatTable, columns.join(QLatin1Char(',')), values.join(QLatin1Char(',')));
}

}  // namespace

int fillStatTable(SharedDb &db, const StatProgress &progress)
{
    const QStringList statColumns = columnsOf(db, kStatTable);
    if (statColumns.isEmpty())
        throw DbError(QStringLiteral("统计表[tb_stat_all]不存在"));
    QSet<QString> vehicleColumns;
    for (const QString &column : columnsOf(db, QStringLiteral("tb_vehicle_info")))
        vehicleColumns.insert(column.toUpper());
    QStringList infoColumns;
    for (const QString &column : statColumns)
        if (column.startsWith(QLatin1String("INFO_"), Qt::CaseInsensitive) && vehicleColumns.contains(column.toUpper()))
            infoColumns << column;

    QList<QPair<QString, QString>> queue;  // loginid, status text; each inspection once, in queue order
    QSet<QString> seen;
    SqlCursor cursor = db.query(QStringLiteral("select loginid, statusabout from tb_login_queu order by ID"));
    while (cursor.next())
        if (!seen.contains(cursor.text(0)) && !cursor.text(0).isEmpty()) {
            seen.insert(cursor.text(0));
            queue.append({cursor.text(0), cursor.text(1)});
        }
    cursor.close();

    SqlTransaction transaction(db);
    for (int i = 0; i < queue.size(); ++i) {
        const QString &loginid = queue.at(i).first;
        progress(
            QStringLiteral("正在统计[%1/%2] %3").arg(QString::number(i + 1), QString::number(queue.size()), loginid));
        Inspection inspection;
        inspection.remark = queue.at(i).second;
        addVehicle(db, loginid, infoColumns, inspection);
        addItems(db, loginid, inspection);
        addStandards(db, loginid, inspection);
        db.exec(QStringLiteral("delete from %1 where loginid = %2").arg(kStatTable, sqlText(loginid)));
        db.exec(insertStatement(loginid, inspection, statColumns));
    }
    transaction.commit();
    progress(QStringLiteral("统计完成,共%1条检测记录").arg(queue.size()));
    return int(queue.size());
}

}  // namespace dbkeel
