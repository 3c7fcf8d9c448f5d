#include "stats/OutputFieldEditor.h"

#include "core/AppConfig.h"
#include "core/SharedDb.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "screens/DbErrorReport.h"
#include "stats/TextField.h"

namespace dbkeel {

namespace {
const QString kSection = QStringLiteral("FIELD_PARAMID");
constexpr int kValueWidth = 200;
}  // namespace

QString outputFieldFilePath()
{
    return joinPath(hostEntryPath(hostEntry::ConfigDir), QStringLiteral("DevOutNetExchangeField.ini"));
}

OutputFieldEditor::OutputFieldEditor(QObject *parent, int listClientWidth) : QObject(parent)
{
    setColumns(listClientWidth);
}

void OutputFieldEditor::setColumns(int listClientWidth)
{
    const int w = listClientWidth / 5;
    m_list.setColumns(
        columnSpec({"参数ID", "参数名称", "外网数据表名", "表数据字段", "表判定字段"}, {w - 70, w + 30, w, w, w}));
}

void OutputFieldEditor::load(const QString &file)
{
    m_file = file;
    m_list.deleteAllRows();
    m_chosen = -1;
    if (!sharedDb().isOpen())
        return;
    const ProfileFile profile(file);
    try {
        SqlCursor cursor = sharedDb().query(
            QStringLiteral("select distinct paramid,paramname  from tb_id_paramid order by paramid ;"));
        while (cursor.next()) {
            const int row = m_list.appendRow(trimBoth(cursor.text(0)));
            m_list.setItemText(row, ParamNameColumn, trimBoth(cursor.text(1)));
            const QString value = profile.readString(kSection, QString::number(toInt(cursor.text(0))),
                                                     QStringLiteral("-1"), kValueWidth);
            if (toInt(value) < 0)
                continue;
            const int columns[] = {DataColumn, JudgeColumn, TableColumn};  // the order of the file's fields
            for (int field = 0; field < 3; ++field)
                if (const QString text = fieldOf(value, field); !text.isEmpty())
                    m_list.setItemText(row, columns[field], text);
        }
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("错误"), QString(), error);  // the rows read so far stay
    }
}

OutputAssociation OutputFieldEditor::choose(int row)
{
    if (row < 0 || row >= m_list.rowCount())
        return {};
    m_chosen = row;
    return {m_list.itemText(row, TableColumn), m_list.itemText(row, DataColumn), m_list.itemText(row, JudgeColumn)};
}

void OutputFieldEditor::stage(const OutputAssociation &association)
{
    if (m_chosen < 0 || m_chosen >= m_list.rowCount())
        return;
    m_list.setItemText(m_chosen, TableColumn, association.table);
    m_list.setItemText(m_chosen, DataColumn, association.dataColumn);
    m_list.setItemText(m_chosen, JudgeColumn, association.judgeColumn);
}

void OutputFieldEditor::clearAssociations()
{
    for (int row = 0; row < m_list.rowCount(); ++row)
        for (const int column : {TableColumn, DataColumn, JudgeColumn})
            m_list.setItemText(row, column, QString());
}

void OutputFieldEditor::save()
{
    if (prompt().message(QStringLiteral("提示"), QStringLiteral("是否要更新当前所有设置?"), PromptIcon::Question,
                         PromptButtons::YesNo, PromptButton::No)
        != PromptButton::Yes)
        return;
    ProfileFile profile(m_file);
    bool written = true;
    for (int row = 0; row < m_list.rowCount() && written; ++row)
        written = profile.writeString(kSection, m_list.itemText(row, ParamIdColumn),
                                      QStringLiteral("%1,%2,%3")
                                          .arg(m_list.itemText(row, DataColumn), m_list.itemText(row, JudgeColumn),
                                               m_list.itemText(row, TableColumn)));
    if (written && profile.save())
        prompt().message(QStringLiteral("提示"), QStringLiteral("已保存!"));
    else
        prompt().message(QStringLiteral("提示"), QStringLiteral("保存失败:") + profile.lastError(),
                         PromptIcon::Exclamation);
}

}  // namespace dbkeel
