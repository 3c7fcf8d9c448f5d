#include "dictionaries/LineTypeEditor.h"

#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "dictionaries/DictionaryRowRecord.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "screens/DbErrorReport.h"
#include "screens/HistoryNotice.h"

namespace dbkeel {

QString lineTypeLoadQuery()
{
    return QStringLiteral("select * from tb_id_linetype order by lintype ;");
}

QString lineTypeStoreStatement(Dialect dialect, const QString &code, const QString &name)
{
    const QString c = sqlNumber(code), n = sqlText(name);
    if (dialect == Dialect::SqlServer)
        return QStringLiteral("IF NOT EXISTS (SELECT * FROM tb_id_linetype WHERE lintype = %1 and linename = %2 )"
                              "BEGIN Insert \t\tinto tb_id_linetype( lintype,linename)values( %1,%2) END ;")
            .arg(c, n);
    return QStringLiteral("insert into tb_id_linetype( lintype,linename) select %1,%2 where not exists "
                          "(SELECT * FROM tb_id_linetype WHERE lintype = %1 and linename = %2 ) ;")
        .arg(c, n);
}

QString lineTypeRenameStatement(const QString &newName, const QString &code, const QString &oldName)
{
    return QStringLiteral(
               "update  tb_id_linetype set linename =%1  \t\t\t\t\t\t\t where lintype = %2 and linename = %3 ;")
        .arg(sqlText(newName), sqlNumber(code), sqlText(oldName));
}

QString lineTypeDeleteStatement(const QString &code, const QString &name)
{
    return QStringLiteral("delete from tb_id_linetype where lintype = %1 and linename = %2 ;")
        .arg(sqlNumber(code), sqlText(name));
}

namespace {
const QString kNotice = QStringLiteral("提示");
}

LineTypeEditor::LineTypeEditor(QObject *parent, int listClientWidth) : QObject(parent)
{
    setColumns(listClientWidth);
}

void LineTypeEditor::setColumns(int listClientWidth)
{
    const int w = listClientWidth / 4;
    m_list.setColumns(
        columnSpec({"ID", "线名称", "线代号", "说明", "注释", "插入时间"}, {w - 50, w + 20, w - 30, w + 30, 0, 0}));
}

void LineTypeEditor::appendRow(const QString &code, const QString &name, ListColor color)
{
    const int row = m_list.appendRow(code);
    m_list.setItemText(row, NameColumn, name);
    m_list.setTextColor(row, -1, color);
}

void LineTypeEditor::load()
{
    m_list.deleteAllRows();
    if (sharedDb().isOpen()) {
        try {
            SqlCursor cursor = sharedDb().query(lineTypeLoadQuery());
            while (cursor.next())
                appendRow(cursor.text(QStringLiteral("lintype")), cursor.text(QStringLiteral("linename")),
                          listcolor::Blue);
        } catch (const DbError &error) {
            reportDbError(QStringLiteral("操作数据库异常"), QString(), error);
        }
    }
    showLargestCode();
}

int LineTypeEditor::largestCode() const
{
    return dbkeel::largestCode(m_list, CodeColumn);
}

void LineTypeEditor::showLargestCode()
{
    m_status.setRight(QStringLiteral("当前最大线代号为:%1").arg(largestCode()));
}

bool LineTypeEditor::prepareEdit(int row)
{
    if (row < 0 || row >= m_list.rowCount())
        return false;
    DictionaryRowRecord &record = dictionaryRowRecord();
    record.name = m_list.itemText(row, NameColumn);
    record.cutToWidths();
    record.suggestedCode = QString::number(largestCode() + 1);
    m_oldName = record.name;
    return true;
}

bool LineTypeEditor::execQuietly(const std::function<QString()> &statement)
{
    try {
        sharedDb().exec(statement());  // building it may refuse a code that is not a number
        return true;
    } catch (const DbError &) {
        return false;  // the row stays as it was
    }
}

void LineTypeEditor::finishEdit(int row, bool accepted)
{
    const DictionaryRowRecord &record = dictionaryRowRecord();
    if (accepted && row >= 0 && row < m_list.rowCount()) {
        const QString code = m_list.itemText(row, CodeColumn);
        switch (record.operation) {
        case RowOperation::Insert:
            if (passesDuplicateTest(m_list, CodeColumn, NameColumn, toInt(record.code), record.name, QString()))
                appendRow(record.code, record.name, listcolor::Teal);
            else
                prompt().message(kNotice, QStringLiteral("新建内容已经存在,请仔细核实!!"), PromptIcon::Exclamation);
            break;
        case RowOperation::Modify:
            if (!passesDuplicateTest(m_list, CodeColumn, NameColumn, -1, record.name, m_oldName))
                prompt().message(kNotice, QStringLiteral("修改名称已经存在,请仔细核实!!"), PromptIcon::Exclamation);
            else if (execQuietly([&] { return lineTypeRenameStatement(record.name, code, m_oldName); }))
                m_list.setItemText(row, NameColumn, record.name);
            break;
        case RowOperation::Delete:
            if (prompt().message(kNotice, QStringLiteral("注意:若删除以后将无法恢复,确定要删除?确定(删除),取消"),
                                 PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel)
                    == PromptButton::Ok
                && execQuietly([&] { return lineTypeDeleteStatement(code, m_list.itemText(row, NameColumn)); }))
                m_list.deleteRow(row);
            break;
        case RowOperation::None: break;
        }
    }
    showLargestCode();
}

void LineTypeEditor::store()
{
    const HistoryInScreen history(m_status);
    emit storeRunning(true);
    m_status.setLeft(QStringLiteral("请稍等,正在更新修改..."));
    const bool mayWrite = sharedDb().isOpen()
                          && keepHistoryOrTell(kNotice, QStringLiteral("linetype-store"),
                                               {QStringLiteral("tb_id_linetype")});
    QList<QPair<QString, QString>> unwritten;  // code, name of the rows from the failing one on
    for (int row = mayWrite ? writeToDatabase() : 0; row < m_list.rowCount(); ++row)
        unwritten.append({m_list.itemText(row, CodeColumn), m_list.itemText(row, NameColumn)});
    load();
    for (const auto &[code, name] : unwritten)
        if (!isListed(code, name))
            appendRow(code, name, listcolor::Teal);
    m_status.setLeft(unwritten.isEmpty() ? QStringLiteral("更新结束") : kStoreUnfinishedStatus);
    emit storeRunning(false);
}

int LineTypeEditor::writeToDatabase()
{
    const Dialect dialect = sharedDb().dialect();
    for (int row = 0; row < m_list.rowCount(); ++row) {
        try {
            sharedDb().exec(
                lineTypeStoreStatement(dialect, m_list.itemText(row, CodeColumn), m_list.itemText(row, NameColumn)));
        } catch (const DbError &error) {
            reportDbError(kNotice, QStringLiteral("修改异常:"), error);
            return row;
        }
    }
    return m_list.rowCount();
}

bool LineTypeEditor::isListed(const QString &code, const QString &name) const
{
    for (int row = 0; row < m_list.rowCount(); ++row)
        if (m_list.itemText(row, CodeColumn) == code && m_list.itemText(row, NameColumn) == name)
            return true;
    return false;
}

}  // namespace dbkeel
