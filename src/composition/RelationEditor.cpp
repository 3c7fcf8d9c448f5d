#include "composition/RelationEditor.h"

#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "core/WriteHistory.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "screens/DbErrorReport.h"
#include "screens/HistoryNotice.h"
#include "widgets/ListColor.h"

namespace dbkeel {

namespace {
const QString kNotice = QStringLiteral("提示");
}

RelationEditor::RelationEditor(const RelationVariant &variant, QObject *parent, int listClientWidth)
    : QObject(parent), m_variant(variant)
{
    m_available.setCheckBoxes(true);
    setColumns(listClientWidth);
}

void RelationEditor::setColumns(int listClientWidth)
{
    const int h = listClientWidth / 2;
    const QString spec = columnSpec(m_variant.listTitles, {h - 50, h + 20, 0, 0, 0, 0});
    m_available.setColumns(spec);
    m_assigned.setColumns(spec);
}

void RelationEditor::load()
{
    m_ownerNames.clear();
    m_ownerCodes.clear();
    m_available.deleteAllRows();
    m_assigned.deleteAllRows();
    if (!sharedDb().isOpen())
        return;
    try {
        SqlCursor owners = sharedDb().query(m_variant.ownerQuery);
        while (owners.next()) {
            const QString name = owners.text(m_variant.ownerNameColumn);
            m_ownerNames << name;
            m_ownerCodes.insert(name, owners.text(m_variant.ownerCodeColumn));
        }
        SqlCursor members = sharedDb().query(m_variant.memberQuery);
        while (members.next()) {
            const QString code = members.text(m_variant.memberCodeColumn);
            const int row = m_available.appendRow(code);
            m_available.setItemText(row, Name, members.text(m_variant.memberNameColumn));
            m_available.setItemText(row, Code, code);
            m_available.setItemText(row, State, members.text(QStringLiteral("res")));
            m_available.setItemText(row, Remark, members.text(QStringLiteral("remark")));
            m_available.setItemText(row, InsertTime, members.text(QStringLiteral("insertdate")));
            m_available.setTextColor(row, -1, listcolor::Blue);
        }
    } catch (const DbError &error) {
        reportDbError(kNotice, QString(), error);
    }
}

void RelationEditor::appendAssigned(int availableRow)
{
    const int row = m_assigned.appendRow(m_available.itemText(availableRow, CodeShown));
    for (int column = Name; column <= InsertTime; ++column)
        m_assigned.setItemText(row, column, m_available.itemText(availableRow, column));
    m_assigned.setTextColor(row, -1, listcolor::Green);
}

void RelationEditor::selectOwner(const QString &name)
{
    m_available.setAllChecked(false);
    m_selected = name;
    const auto code = m_ownerCodes.constFind(name);
    if (code == m_ownerCodes.constEnd() || !sharedDb().isOpen())
        return;
    m_assigned.deleteAllRows();
    if (!loadRelations(toInt(*code)))
        applyDefault(toInt(*code));
}

bool RelationEditor::loadRelations(int code)
{
    bool found = false;
    try {
        SqlCursor cursor = sharedDb().query(m_variant.loadFormat.arg(code));
        while (cursor.next()) {
            found = true;
            const int member = cursor.toInt(m_variant.memberCodeColumn);
            for (int row = 0; row < m_available.rowCount(); ++row) {
                if (toInt(m_available.itemText(row, Code)) == member) {
                    m_available.setChecked(row, true);
                    appendAssigned(row);
                    break;
                }
            }
        }
    } catch (const DbError &error) {
        reportDbError(kNotice, QString(), error);
        return false;  // the defaults apply
    }
    return found;
}

void RelationEditor::applyDefault(int code)
{
    const DefaultAssignment *assignment = m_variant.defaultFor(code);
    if (!assignment)
        return;
    for (int row = 0; row < m_available.rowCount(); ++row) {
        if (!assignment->contains(toInt(m_available.itemText(row, Code))))
            continue;
        m_available.setChecked(row, true);
        appendAssigned(row);
        if (assignment->firstOnly)
            return;
    }
}

void RelationEditor::copyRows(bool tickedOnly)
{
    m_assigned.deleteAllRows();
    for (int row = 0; row < m_available.rowCount(); ++row)
        if (!tickedOnly || m_available.isChecked(row))
            appendAssigned(row);
}

void RelationEditor::addTicked()
{
    copyRows(true);
}

void RelationEditor::addAll()
{
    copyRows(false);
}

void RelationEditor::removeAll()
{
    m_assigned.deleteAllRows();
}

void RelationEditor::removeOne(int assignedRow)
{
    if (m_assigned.rowCount() == 0)
        return;
    if (prompt().message(kNotice, QStringLiteral("确定要删除该项?确定(删除),取消"), PromptIcon::Question,
                         PromptButtons::OkCancel, PromptButton::Cancel)
        == PromptButton::Ok)
        m_assigned.deleteRow(assignedRow);
}

void RelationEditor::tickAll()
{
    m_available.setAllChecked(true);
}

void RelationEditor::invertTicks()
{
    m_available.invertChecks();
}

bool RelationEditor::write()
{
    const HistoryInScreen history(m_status);
    if (m_selected.isEmpty()) {
        prompt().message(kNotice, m_variant.nothingSelected, PromptIcon::Exclamation);
        return false;
    }
    if (m_assigned.rowCount() == 0) {
        prompt().message(kNotice, m_variant.emptyAssignment, PromptIcon::Exclamation);
        return false;
    }
    if (!sharedDb().isOpen())
        return false;
    try {
        const QString owner = sqlNumber(m_ownerCodes.value(m_selected));
        keepHistory(sharedDb(), QStringLiteral("relation-write"), {m_variant.table});
        SqlTransaction transaction(sharedDb());
        sharedDb().exec(m_variant.deleteFormat.arg(owner));
        for (int row = 0; row < m_assigned.rowCount(); ++row)
            sharedDb().exec(m_variant.insertFormat.arg(owner, sqlText(m_selected),
                                                       sqlNumber(m_assigned.itemText(row, Code)),
                                                       sqlText(m_assigned.itemText(row, Name))));
        transaction.commit();
    } catch (const DbError &error) {
        reportDbError(kNotice, QStringLiteral("异常"), error);
        return false;
    }
    prompt().message(kNotice, QStringLiteral("建立成功!"), PromptIcon::Information);
    m_available.setAllChecked(false);
    return true;
}

}  // namespace dbkeel
