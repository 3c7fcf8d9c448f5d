#include "composition/BaseBundle.h"

#include "composition/RunTables.h"
#include "core/AppState.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "core/WriteHistory.h"
#include "platform/FileWrite.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "screens/ExchangeFile.h"

#include <QFileInfo>
#include <QSet>

namespace dbkeel {

namespace {

const QString kNum = QStringLiteral("NUM");
constexpr int kNumWidth = 100, kRecordWidth = 4000;

BundleSection section(const QString &table, const QStringList &columns, const QList<bool> &numeric,
                      const QString &orderColumn, const QString &doneWord = QStringLiteral("完成"))
{
    return {table, columns, numeric, QStringLiteral("select * from %1 order by %2 ;").arg(table, orderColumn),
            QStringLiteral("导出[%1]%2").arg(table, doneWord)};
}

// The records of one section, read from the database; DbError, or a field the file cannot carry.
QStringList sectionRecords(SharedDb &db, const BundleSection &section, QString *refused)
{
    QStringList records;
    SqlCursor cursor = db.query(section.exportQuery);
    while (cursor.next()) {
        QStringList fields;
        for (const QString &column : section.columns) {
            fields << cursor.text(column);
            if (!canCarryField(fields.last())) {
                *refused = QStringLiteral(":第%1条记录的\"%2\"含有逗号、换行或无法保存的字符")
                               .arg(QString::number(records.size()), fields.last());
                return {};
            }
        }
        records << exchangeRecord(fields);
    }
    return records;
}

bool exportSection(SharedDb &db, ProfileFile &file, const BundleSection &section, BundleLog &log)
{
    log.add(QStringLiteral("导出[%1]...").arg(section.table));
    QString failure;
    QStringList records;
    try {
        records = sectionRecords(db, section, &failure);
    } catch (const DbError &error) {
        DbReady = 0;
        failure = error.text();
    }
    for (int k = 0; failure.isEmpty() && k < records.size(); ++k)
        if (!file.writeString(section.table, QString::number(k), records.at(k)))
            failure = file.lastError();
    if (failure.isEmpty() && !file.writeString(section.table, kNum, QString::number(records.size())))
        failure = file.lastError();
    if (!failure.isEmpty()) {
        log.add(QStringLiteral("导出%1数据异常").arg(section.table) + failure, true);
        return false;
    }
    log.add(section.exportDoneText);
    return true;
}

// The statement of record `k`; empty with the failure logged when the file lacks the record.
QString importStatement(const ProfileFile &file, const QSet<QString> &keys, const BundleSection &section, int k,
                        BundleLog &log)
{
    const QString key = QString::number(k);
    if (!keys.contains(key)) {
        log.add(QStringLiteral("执行异常[%1]中没有第%2条记录").arg(section.table, QString::number(k)), true);
        return {};
    }
    const QString record = file.readString(section.table, key, QString(), kRecordWidth + 1);
    QStringList fields;
    for (int field = 0; field < section.columns.size(); ++field)
        fields << exchangeField(record, field);
    return section.insertStatement(fields);
}

// One section: the table emptied and filled in one transaction. A failing record is logged and
// ends the section with the table as it was.
bool importSection(SharedDb &db, const ProfileFile &file, const BundleSection &section, int count, BundleLog &log)
{
    if (!db.isOpen())
        return false;  // the statement runner fails without a message
    try {
        keepHistory(db, QStringLiteral("bundle-import"), {section.table});
        SqlTransaction transaction(db);
        db.exec(QStringLiteral("delete from %1 ;").arg(section.table));
        const QStringList names = file.keyNames(section.table);
        const QSet<QString> keys(names.begin(), names.end());
        for (int k = 0; k < count; ++k) {
            const QString statement = importStatement(file, keys, section, k, log);
            if (statement.isEmpty())
                return false;
            db.exec(statement);
        }
        transaction.commit();
        return true;
    } catch (const DbError &error) {
        DbReady = 0;
        log.add(QStringLiteral("执行异常") + error.text(), true);
        return false;
    }
}

// The count the section's NUM gives, NUM missing counting as 0; -1 when it is not a plain decimal.
int sectionCount(const ProfileFile &file, const BundleSection &section, const QStringList &keys)
{
    if (!keys.contains(kNum, Qt::CaseInsensitive))
        return 0;
    return plainCount(file.readString(section.table, kNum, QString(), kNumWidth + 1));
}

// Why a section present in the file is not whole: its NUM is not a plain number or disagrees with
// the records it holds, or a record has another number of fields. Empty when it is whole.
QString damagedSection(const ProfileFile &file, const BundleSection &section)
{
    const QStringList keys = file.keyNames(section.table);
    const int count = sectionCount(file, section, keys);
    if (count < 0)
        return QStringLiteral("[%1]的NUM不是十进制数").arg(section.table);
    int records = 0;
    for (const QString &key : keys) {
        const int n = plainCount(key);
        if (n >= 0 && key == QString::number(n))
            records += n < count ? 1 : count + 1;  // a record past NUM always disagrees
    }
    if (records != count)
        return QStringLiteral("[%1]的NUM=%2与其中的记录不符").arg(section.table, QString::number(count));
    for (int k = 0; k < count; ++k) {
        const QString record = file.readString(section.table, QString::number(k), QString(), kRecordWidth + 1);
        if (!record.endsWith(u',') || record.count(u',') != section.columns.size())
            return QStringLiteral("[%1]第%2条记录的字段数不对").arg(section.table, QString::number(k));
    }
    return {};
}

}  // namespace

QString bundleFileDamage(const ProfileFile &file)
{
    const QString cut = cutFileProblem(file.path());
    if (!cut.isEmpty())
        return cut;
    const QStringList present = file.sectionNames();
    bool any = false;
    for (const BundleSection &section : bundleSections()) {
        if (!present.contains(section.table, Qt::CaseInsensitive))
            continue;
        any = true;
        const QString damage = damagedSection(file, section);
        if (!damage.isEmpty())
            return damage;
    }
    return any ? QString() : QStringLiteral("文件中没有基础ID数据");
}

QString BundleSection::insertStatement(const QStringList &fields) const
{
    QStringList values;
    for (int field = 0; field < columns.size(); ++field)
        values << (numeric.at(field) ? sqlNumber(fields.value(field)) : sqlText(fields.value(field)));
    return QStringLiteral("insert into %1(%2)values(%3) ;").arg(table, columns.join(u','), values.join(u','));
}

const QList<BundleSection> &bundleSections()
{
    static const QList<BundleSection> sections = {
        section(QStringLiteral("tb_id_devid"),
                {QStringLiteral("devid"), QStringLiteral("devname"), QStringLiteral("devkeychar")},
                {true, false, false}, QStringLiteral("devid")),
        section(QStringLiteral("tb_id_dev_item"),
                {QStringLiteral("devid"), QStringLiteral("devname"), QStringLiteral("itemid"),
                 QStringLiteral("itemname")},
                {true, false, true, false}, QStringLiteral("devid"), QStringLiteral("完毕")),
        section(QStringLiteral("tb_id_itemid"), {QStringLiteral("itemid"), QStringLiteral("itemname")}, {true, false},
                QStringLiteral("itemid")),
        section(QStringLiteral("tb_id_item_param"),
                {QStringLiteral("itemid"), QStringLiteral("itemname"), QStringLiteral("paramid"),
                 QStringLiteral("paramname")},
                {true, false, true, false}, QStringLiteral("itemid")),
        section(QStringLiteral("tb_id_paramid"), {QStringLiteral("paramid"), QStringLiteral("paramname")},
                {true, false}, QStringLiteral("paramid")),
    };
    return sections;
}

bool exportBundle(SharedDb &db, const QString &path, BundleLog &log)
{
    bool exported = db.isOpen();
    const QString refused = nonRegularTargetError(path);
    if (!refused.isEmpty()) {
        log.add(QStringLiteral("写文件失败:") + refused, true);
        exported = false;
    } else if (exported) {
        ProfileFile file(path);
        for (const BundleSection &section : bundleSections())
            if (!(exported = exportSection(db, file, section, log)))
                break;
        if (!file.save()) {  // the sections written before a failure stay in the file
            log.add(QStringLiteral("写文件失败:") + file.lastError(), true);
            exported = false;
        }
    }
    if (exported)
        log.add(QStringLiteral("导出成功"));
    else
        log.add(QStringLiteral("导出失败"), true);
    return exported;
}

bool importBundle(SharedDb &db, const QString &path, BundleLog &log)
{
    if (!QFileInfo(path).isFile()) {
        log.add(QStringLiteral("导入失败:没有找到文件") + path, true);
        return false;
    }
    const ProfileFile file(path);
    const QString damage = bundleFileDamage(file);
    if (!damage.isEmpty()) {
        log.add(QStringLiteral("导入失败:文件已损坏,未修改任何表:") + damage, true);
        return false;
    }
    bool imported = true;
    for (const BundleSection &section : bundleSections()) {
        log.add(QStringLiteral("正在导入[%1]...").arg(section.table));
        const int count = toInt(file.readString(section.table, kNum, QString(), kNumWidth + 1));
        if (count > 0 && !importSection(db, file, section, count, log)) {
            imported = false;
            log.add(QStringLiteral("导入[%1]失败,表未作任何修改").arg(section.table), true);
        }
        log.add(QStringLiteral("导入[%1]完毕").arg(section.table));
    }
    if (imported)
        log.add(QStringLiteral("导入成功"));
    else
        log.add(QStringLiteral("导入失败"), true);
    return imported;
}

bool buildRunTables(SharedDb &db, BundleLog &log)
{
    QString historyError;
    if (db.isOpen() && !keepHistory(db, QStringLiteral("run-tables"), runTableNames(), historyError))
        log.add(historyError, true);
    const bool built = db.isOpen() && historyError.isEmpty()
                       && rebuildRunTables(db, {[&log](const RunTableStep &step) { log.add(step.startText); },
                                                [&log](const RunTableStep &step) { log.add(step.doneText); },
                                                [&log](const RunTableStep &step, const QString &error) {
                                                    DbReady = 0;
                                                    log.add(step.failureText + error, true);
                                                }});
    log.add(built ? QStringLiteral("重新创建成功!") : QStringLiteral("重新创建失败!"));
    return built;
}

}  // namespace dbkeel
