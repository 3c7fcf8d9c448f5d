#include "dictionaries/OutlineItemEditor.h"

#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "core/WriteHistory.h"
#include "platform/Gbk.h"
#include "platform/Profile.h"
#include "platform/Prompt.h"
#include "screens/DbErrorReport.h"
#include "screens/ExchangeFile.h"
#include "screens/HistoryNotice.h"

namespace dbkeel {

namespace {

const QString kVetoing = QStringLiteral("否决项");
const QString kNotVetoing = QStringLiteral("非否决项");

}  // namespace

OutlineRecord OutlineRecord::of(const OutlineItem &item, Operation operation)
{
    OutlineRecord record{item.code, item.name, item.description, item.alias, item.type == kVetoing, operation};
    record.cutToWidths();
    return record;
}

OutlineItem OutlineRecord::item() const
{
    return {code, name, vetoing ? kVetoing : kNotVetoing, description, alias};
}

void OutlineRecord::cutToWidths()
{
    code = cutToGbkBytes(code, kCodeBytes);
    name = cutToGbkBytes(name, kNameBytes);
    description = cutToGbkBytes(description, kDescriptionBytes);
    alias = cutToGbkBytes(alias, kAliasBytes);
}

OutlineRecord &outlineRecord()
{
    static OutlineRecord record;
    return record;
}

QString outlineLoadQuery()
{
    return QStringLiteral("select * from tb_id_eval order by pingdingid ;");
}
QString outlineExportQuery()
{
    return QStringLiteral("select * from tb_id_eval order by pingdingid ");
}
QString outlineClearStatement()
{
    return QStringLiteral("delete  from tb_id_eval ");
}

namespace {

// The embedded form of "if not exists (code) insert, else update": insert the new code, then
// update the item of that code (which changes nothing on the row just inserted).
QString embeddedUpsert(const QString &code, const OutlineItem &item)
{
    const QString name = sqlText(item.name), alias = sqlText(item.alias), type = sqlText(item.type),
                  description = sqlText(item.description), where = QStringLiteral("pingdingid = ") + code;
    return QStringLiteral(
               "insert into tb_id_eval(pingdingid,pingdingname,alias,remark,usetypeabout) select %1,%2,%3,%4,%5 "
               "where not exists( select * from tb_id_eval where %6 ) ; "
               "update tb_id_eval Set pingdingname=%2,alias=%3,remark=%4,usetypeabout=%5 where %6 ;")
        .arg(code, name, alias, type, description, where);
}

}  // namespace

QString outlineSaveStatement(Dialect dialect, const OutlineItem &item)
{
    // The installation's statement ends with the code unquoted: a code that is not a number fails
    // there, on both databases.
    const QString number = sqlNumber(item.code);
    if (dialect == Dialect::Sqlite)
        return embeddedUpsert(sqlText(item.code), item);
    const QString code = sqlText(item.code), name = sqlText(item.name), alias = sqlText(item.alias),
                  type = sqlText(item.type), description = sqlText(item.description);
    return QStringLiteral(
               "if not exists( select * from tb_id_eval where pingdingid = %1 ) BEGIN insert into "
               "tb_id_eval(\t\t\t\t\tpingdingid,pingdingname,alias,remark,usetypeabout) values ( %1 , %2 , %3 , "
               "%4, %5 ) END\tELSE BEGIN update tb_id_eval Set pingdingname\t\t\t\t\t\t\t=%2,alias=%3 , "
               "remark=%4,usetypeabout=%5 where pingdingid = %6 END ;")
        .arg(code, name, alias, type, description, number);
}

QString outlineImportStatement(Dialect dialect, const OutlineItem &item)
{
    const QString code = sqlNumber(item.code);
    if (dialect == Dialect::Sqlite)
        return embeddedUpsert(code, item);
    const QString name = sqlText(item.name), alias = sqlText(item.alias), type = sqlText(item.type),
                  description = sqlText(item.description);
    return QStringLiteral(
               "if not exists( select * from tb_id_eval where pingdingid = %1 ) BEGIN insert into "
               "tb_id_eval(\t\t\t\t\tpingdingid,pingdingname,alias,remark,usetypeabout) values ( %1 , %2 , %3 ,"
               "%4 , %5 ) END ELSE BEGIN update tb_id_eval Set pingdingname\t\t\t\t\t=%2,alias=%3,remark=%4,"
               "usetypeabout=%5  where pingdingid = %1 END ;")
        .arg(code, name, alias, type, description);
}

OutlineItemEditor::OutlineItemEditor(QObject *parent, int listClientWidth) : QObject(parent)
{
    setColumns(listClientWidth);
}

void OutlineItemEditor::setColumns(int listClientWidth)
{
    const int w = listClientWidth / 6;
    m_list.setColumns(columnSpec({"ID", "项目代号", "项目名称", "项目类型", "说明", "别名"},
                                 {0, w - 50, w + 210, w - 50, w + 100, 50}));
}

OutlineItem OutlineItemEditor::item(int row) const
{
    return {m_list.itemText(row, CodeColumn), m_list.itemText(row, NameColumn), m_list.itemText(row, TypeColumn),
            m_list.itemText(row, DescriptionColumn), m_list.itemText(row, AliasColumn)};
}

void OutlineItemEditor::writeRow(int row, const OutlineItem &item)
{
    m_list.setItemText(row, CodeColumn, item.code);
    m_list.setItemText(row, NameColumn, item.name);
    m_list.setItemText(row, TypeColumn, item.type);
    m_list.setItemText(row, DescriptionColumn, item.description);
    m_list.setItemText(row, AliasColumn, item.alias);
}

void OutlineItemEditor::load()
{
    if (!sharedDb().isOpen())
        return;
    m_list.deleteAllRows();
    try {
        SqlCursor cursor = sharedDb().query(outlineLoadQuery());
        while (cursor.next()) {
            const int row = m_list.appendRow(cursor.text(QStringLiteral("ID")));
            writeRow(row, {cursor.text(QStringLiteral("pingdingid")), cursor.text(QStringLiteral("pingdingname")),
                           cursor.text(QStringLiteral("remark")), cursor.text(QStringLiteral("usetypeabout")),
                           cursor.text(QStringLiteral("alias"))});
        }
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("错误"), QString(), error);
    }
    m_list.setTextColor(-1, -1, listcolor::Blue);
}

bool OutlineItemEditor::prepareEdit(int row)
{
    if (row < 0 || row >= m_list.rowCount())
        return false;
    outlineRecord() = OutlineRecord::of(item(row));
    return true;
}

void OutlineItemEditor::finishEdit(int row, bool accepted)
{
    if (!accepted || row < 0 || row >= m_list.rowCount())
        return;
    const OutlineRecord &record = outlineRecord();
    if (record.operation == OutlineRecord::Insert) {
        row = m_list.appendRow(QStringLiteral("0"));
        m_list.setTextColor(row, -1, listcolor::Blue);
    }
    const OutlineItem stored = record.item();
    writeRow(row, stored);
    if (!sharedDb().isOpen())
        return;
    try {
        sharedDb().exec(outlineSaveStatement(sharedDb().dialect(), stored));
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("提示"), QString(), error);
    }
}

void OutlineItemEditor::exportAll()
{
    const QString folder = exchangeFolder(prompt().chooseFolder(QStringLiteral("请选择外检项目导入路径"), QString()));
    if (folder.isEmpty() || !sharedDb().isOpen())
        return;
    const QString path = exchangeFilePath(folder, kFileName, kExtension);
    if (exportTo(path))
        prompt().message(QStringLiteral("提示"), QStringLiteral("文件已导出到:") + path, PromptIcon::Information);
}

bool OutlineItemEditor::exportTo(const QString &path)
{
    QList<OutlineItem> items;
    try {
        SqlCursor cursor = sharedDb().query(outlineExportQuery());
        while (cursor.next())
            items.append({cursor.text(QStringLiteral("pingdingid")), cursor.text(QStringLiteral("pingdingname")),
                          cursor.text(QStringLiteral("remark")), cursor.text(QStringLiteral("usetypeabout")),
                          cursor.text(QStringLiteral("alias"))});
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("错误"), QString(), error);
        return false;
    }
    m_status.setProgressRange(1, int(items.size()));
    m_status.setProgress(0);
    m_status.setLeft(QStringLiteral("正在导出数据,请稍等..."));
    ProfileFile file(path);
    bool written = true;
    for (int k = 0; k < items.size() && written; ++k) {
        const OutlineItem &item = items.at(k);
        const auto put = [&](const char *key, const QString &value) {
            // A null value would remove the key: an empty column is written as an empty value.
            return file.writeString(kSection, QLatin1String(key) + QString::number(k),
                                    value.isNull() ? QStringLiteral("") : value);
        };
        written = put("ID_", item.code) && put("VAL_", item.name) && put("ALIAS_", item.alias)
                  && put("TYPE_", item.type) && put("REMARK_", item.description);
        m_status.setProgress(k + 1);
    }
    written = written && file.writeString(kSection, QStringLiteral("NUM"), QString::number(items.size()))
              && file.save();
    m_status.setProgress(0);
    if (!written) {
        prompt().message(QStringLiteral("提示"), QStringLiteral("导出失败:") + file.lastError(),
                         PromptIcon::Exclamation);
        m_status.setLeft(QStringLiteral("导出失败"));
        return false;
    }
    m_status.setLeft(QStringLiteral("导出完毕"));
    return true;
}

void OutlineItemEditor::importFile()
{
    const HistoryInScreen history(m_status);
    const QString path = prompt().chooseFile(importFileRequest(kExtension));
    if (path.isEmpty())
        return;
    const bool clear =
        prompt().message(QStringLiteral("询问"),
                         QStringLiteral("是否要清除所有内容后写入导入数据？确定(清除重新导入),取消(不清除直接导入)"),
                         PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel)
        == PromptButton::Ok;
    // With the database closed nothing is written, but the import still ends as it always does.
    const bool imported = !sharedDb().isOpen() || importItems(readItems(path), clear);
    if (imported)
        prompt().message(QStringLiteral("提示"), QStringLiteral("导入完毕"), PromptIcon::Information);
    m_status.setLeft(QStringLiteral("导入结束,刷新列表..."));
    load();
    m_status.setLeft(imported ? QStringLiteral("导入数据完毕") : QStringLiteral("导入失败"));
}

QList<OutlineItem> OutlineItemEditor::readItems(const QString &path)
{
    const ProfileFile file(path);
    QList<OutlineItem> items;
    for (int k : exchangeKeys(file, kSection, QStringLiteral("ID_"))) {
        const auto read = [&](const char *key) {
            return file.readString(kSection, QString::fromLatin1(key) + QString::number(k), QString(),
                                   kExchangeFieldBytes + 1);
        };
        const OutlineItem item{read("ID_"), read("VAL_"), read("TYPE_"), read("REMARK_"), read("ALIAS_")};
        if (!item.code.isEmpty())
            items << item;
    }
    return items;
}

bool OutlineItemEditor::importItems(const QList<OutlineItem> &items, bool clear)
{
    m_status.setLeft(QStringLiteral("正在导入数据,请稍等..."));
    m_status.setProgressRange(1, int(items.size()));
    m_status.setProgress(0);
    bool imported = true;
    if (clear)
        imported = replaceAll(items);
    else
        importEach(items);
    m_status.setProgress(0);
    return imported;
}

void OutlineItemEditor::importEach(const QList<OutlineItem> &items)
{
    const Dialect dialect = sharedDb().dialect();
    for (int k = 0; k < items.size(); ++k) {
        m_status.setProgress(k);
        try {
            sharedDb().exec(outlineImportStatement(dialect, items.at(k)));
        } catch (const DbError &error) {
            reportDbError(QStringLiteral("错误"), QString(), error);
        }
    }
}

bool OutlineItemEditor::replaceAll(const QList<OutlineItem> &items)
{
    try {
        keepHistory(sharedDb(), QStringLiteral("external-item-import"), {QStringLiteral("tb_id_eval")});
        SqlTransaction transaction(sharedDb());
        sharedDb().exec(outlineClearStatement());
        const Dialect dialect = sharedDb().dialect();
        for (int k = 0; k < items.size(); ++k) {
            m_status.setProgress(k);
            sharedDb().exec(outlineImportStatement(dialect, items.at(k)));
        }
        transaction.commit();
        return true;
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("错误"), QString(), error);
        return false;
    }
}

}  // namespace dbkeel
