#include "dictionaries/DictionaryEditor.h"

#include "core/AppState.h"
#include "core/SharedDb.h"
#include "core/WriteHistory.h"
#include "dictionaries/DictionaryTrace.h"
#include "platform/Gbk.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "screens/DbErrorReport.h"
#include "screens/ExchangeFile.h"
#include "screens/HistoryNotice.h"

#include <QDateTime>
#include <QHash>

#include <algorithm>

namespace dbkeel {

namespace {

const QString kNotice = QStringLiteral("提示");

void notice(const QString &text, PromptIcon icon = PromptIcon::Exclamation)
{
    prompt().message(kNotice, text, icon);
}

}  // namespace

DictionaryEditor::DictionaryEditor(const DictionaryVariant &variant, QObject *parent, int listClientWidth)
    : QObject(parent), m_variant(variant)
{
    m_list.setCheckBoxes(true);
    setColumns(listClientWidth);
}

void DictionaryEditor::setColumns(int listClientWidth)
{
    m_list.setColumns(m_variant.columnSpec(listClientWidth));
}

DictionaryRow DictionaryEditor::row(int row) const
{
    const auto text = [&](int column) { return column < 0 ? QString() : m_list.itemText(row, column); };
    return {text(DictionaryVariant::IdColumn), text(DictionaryVariant::NameColumn), text(DictionaryVariant::CodeColumn),
            text(m_variant.keyListColumn()),   text(m_variant.stateColumn()),       text(m_variant.remarkColumn()),
            text(m_variant.timeColumn())};
}

void DictionaryEditor::writeRow(int row, const DictionaryRow &values)
{
    m_list.setItemText(row, DictionaryVariant::NameColumn, values.name);
    m_list.setItemText(row, DictionaryVariant::CodeColumn, values.code);
    if (m_variant.hasKey())
        m_list.setItemText(row, m_variant.keyListColumn(), values.key);
    m_list.setItemText(row, m_variant.stateColumn(), values.state);
    m_list.setItemText(row, m_variant.remarkColumn(), values.remark);
    if (!values.time.isEmpty())
        m_list.setItemText(row, m_variant.timeColumn(), values.time);
}

void DictionaryEditor::appendRow(const DictionaryRow &values, ListColor color)
{
    const int row = m_list.appendRow(values.id);
    writeRow(row, values);
    m_list.setTextColor(row, -1, color);
}

void DictionaryEditor::colourByState(int row)
{
    const bool withdrawn = m_list.itemText(row, m_variant.stateColumn()) == kWithdrawn;
    m_list.setTextColor(row, -1, withdrawn ? listcolor::Olive : listcolor::Blue);
}

void DictionaryEditor::load()
{
    m_list.deleteAllRows();
    if (sharedDb().isOpen()) {
        try {
            SqlCursor cursor = sharedDb().query(m_variant.loadQuery);
            while (cursor.next()) {
                const QString key = m_variant.hasKey() ? cursor.text(m_variant.keyColumn) : QString();
                appendRow({cursor.text(QStringLiteral("ID")), cursor.text(m_variant.nameColumn),
                           cursor.text(m_variant.codeColumn), key, cursor.text(QStringLiteral("res")),
                           cursor.text(QStringLiteral("remark")), cursor.text(QStringLiteral("insertdate"))},
                          listcolor::Blue);
                const int last = m_list.rowCount() - 1;
                colourByState(last);
                if (!m_variant.codeInRange(toInt(m_list.itemText(last, DictionaryVariant::CodeColumn))))
                    m_list.setTextColor(last, -1, listcolor::Red);
            }
        } catch (const DbError &error) {
            reportDbError(m_variant.loadErrorCaption, QString(), error);
        }
    }
    showLargestCode();
}

int DictionaryEditor::largestCode() const
{
    return dbkeel::largestCode(m_list, DictionaryVariant::CodeColumn);
}

void DictionaryEditor::showLargestCode()
{
    m_status.setRight(m_variant.largestCodeFormat.arg(largestCode()));
}

bool DictionaryEditor::prepareEdit(int row)
{
    if (row < 0 || row >= m_list.rowCount())
        return false;
    const DictionaryRow values = this->row(row);
    DictionaryRowRecord &record = dictionaryRowRecord();
    record.name = values.name;
    record.code = values.code;
    record.key = m_variant.hasKey() ? values.key : QStringLiteral("无");
    record.state = values.state;
    record.remark = values.remark;
    record.insertTime = values.time;
    record.cutToWidths();
    record.suggestedCode = QString::number(largestCode() + 1);
    m_oldName = record.name;
    return true;
}

void DictionaryEditor::finishEdit(int row, bool accepted)
{
    const DictionaryRowRecord &record = dictionaryRowRecord();
    if (accepted && row >= 0 && row < m_list.rowCount()) {
        switch (record.operation) {
        case RowOperation::Insert: applyInsert(record); break;
        case RowOperation::Modify: applyModify(row, record); break;
        case RowOperation::Delete: applyDelete(row); break;
        case RowOperation::None: break;
        }
    }
    showLargestCode();
}

void DictionaryEditor::applyInsert(const DictionaryRowRecord &record)
{
    if (!passesDuplicateTest(toInt(record.code), record.name, QString())) {
        notice(QStringLiteral("新建内容已经存在,请仔细核实!!"));
        return;
    }
    appendRow({kPending, record.name, record.code, record.key, record.state, record.remark, {}}, listcolor::Teal);
}

void DictionaryEditor::applyModify(int row, const DictionaryRowRecord &record)
{
    if (!passesDuplicateTest(-1, record.name, m_oldName)) {
        notice(QStringLiteral("修改名称已经存在,请仔细核实!!"));
        return;
    }
    writeRow(row, {{}, record.name, record.code, record.key, record.state, record.remark, {}});
    colourByState(row);
}

void DictionaryEditor::applyDelete(int row)
{
    if (m_list.itemText(row, DictionaryVariant::IdColumn) == kPending) {
        m_list.deleteRow(row);
        return;
    }
    if (prompt().message(kNotice, m_variant.deleteQuestion, PromptIcon::Question, PromptButtons::OkCancel,
                         PromptButton::Cancel)
        != PromptButton::Ok)
        return;
    m_list.setItemText(row, m_variant.stateColumn(), kWithdrawn);
    m_list.setTextColor(row, -1, listcolor::Olive);
}

bool DictionaryEditor::passesDuplicateTest(int code, const QString &newName, const QString &oldName) const
{
    return dbkeel::passesDuplicateTest(m_list, DictionaryVariant::CodeColumn, DictionaryVariant::NameColumn, code,
                                       newName, oldName);
}

void DictionaryEditor::markWithdrawn(const QList<int> &rows)
{
    if (rows.isEmpty())
        return;
    if (prompt().message(kNotice, QStringLiteral("确定要删除所选记录?"), PromptIcon::Question, PromptButtons::YesNo,
                         PromptButton::No)
        != PromptButton::Yes)
        return;
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        m_list.setItemText(*it, m_variant.stateColumn(), kWithdrawn);
        m_list.setTextColor(*it, -1, listcolor::Olive);
    }
}

bool DictionaryEditor::check()
{
    const int count = m_list.rowCount();
    // A row duplicates another when its code text or its name occurs twice in the list.
    QHash<QString, int> codes, names;
    for (int row = 0; row < count; ++row) {
        ++codes[m_list.itemText(row, DictionaryVariant::CodeColumn)];
        ++names[m_list.itemText(row, DictionaryVariant::NameColumn)];
    }
    m_status.setProgressRange(0, count);
    m_status.setProgress(0);
    bool fault = false;
    for (int row = 0; row < count; ++row) {
        const QString code = m_list.itemText(row, DictionaryVariant::CodeColumn);
        const QString name = m_list.itemText(row, DictionaryVariant::NameColumn);
        colourByState(row);
        const bool live = m_list.itemText(row, m_variant.stateColumn()) != kWithdrawn;
        const bool duplicate = live && (codes.value(code) > 1 || names.value(name) > 1);
        if (duplicate || !m_variant.codeInRange(toInt(code))) {
            m_list.setTextColor(row, -1, listcolor::Red);
            fault = true;
        }
        m_status.setProgress(row + 1);
    }
    m_status.setProgress(0);
    return !fault;
}

void DictionaryEditor::checkCommand()
{
    m_status.setLeft(QStringLiteral("请等待,正在测试中..."));
    if (check()) {
        m_status.setLeft(QStringLiteral("测试结束,无重复或异常情况字段"));
        return;
    }
    prompt().message(QStringLiteral("警告"), QStringLiteral("有重复内容,请查看!"), PromptIcon::Exclamation);
    m_status.setLeft(QStringLiteral("测试结束,有重复字段"));
}

void DictionaryEditor::store()
{
    const HistoryInScreen history(m_status);
    if (!check()) {
        prompt().message(QStringLiteral("警告"), m_variant.storeRefused, PromptIcon::Exclamation);
        return;
    }
    emit storeRunning(true);
    m_status.setLeft(m_variant.storeBusyStatus);
    const int firstUnwritten = sharedDb().isOpen()
                                       && keepHistoryOrTell(QStringLiteral("警告"), QStringLiteral("dictionary-store"),
                                                            {m_variant.table})
                                   ? writeToDatabase()
                                   : 0;
    QList<DictionaryRow> unwritten;
    for (int i = firstUnwritten; i < m_list.rowCount(); ++i)
        unwritten << row(i);
    load();
    keepUnwritten(unwritten);
    m_status.setLeft(unwritten.isEmpty() ? m_variant.storeDoneStatus : kStoreUnfinishedStatus);
    emit storeRunning(false);
}

void DictionaryEditor::keepUnwritten(const QList<DictionaryRow> &rows)
{
    const auto storedRow = [this](const QString &id) {
        for (int r = 0; r < m_list.rowCount() && id != kPending; ++r)
            if (m_list.itemText(r, 0) == id)  // the ID column
                return r;
        return -1;
    };
    for (const DictionaryRow &values : rows) {
        const int stored = storedRow(values.id);
        if (stored < 0) {
            appendRow(values, listcolor::Teal);
        } else {
            writeRow(stored, values);
            colourByState(stored);
        }
    }
}

int DictionaryEditor::writeToDatabase()
{
    for (int i = 0; i < m_list.rowCount(); ++i) {
        DictionaryRow values = row(i);
        for (QString *text : {&values.id, &values.name, &values.code, &values.key, &values.state, &values.time})
            *text = cutToGbkBytes(*text, DictionaryRowRecord::kTextBytes);
        values.remark = cutToGbkBytes(values.remark, DictionaryRowRecord::kRemarkBytes);
        const bool pending = values.id == kPending;
        const bool update = !pending && values.state != kWithdrawn;
        try {
            // Built inside the try: a code that is not a number is refused as this row's error.
            const QString statement = pending  ? dictionaryInsertStatement(m_variant, values)
                                      : update ? dictionaryUpdateStatement(m_variant, values)
                                               : dictionaryDeleteStatement(m_variant, values);
            // An update addresses its row by ID and code: a stored row whose code was changed in the
            // list matches nothing, and saying "done" would lose the edit silently.
            if (sharedDb().exec(statement) == 0 && update) {
                notice(QStringLiteral("修改异常:没有找到ID为%1、代号为%2的记录,该行未保存(已存入的记录不能修改代号)")
                           .arg(values.id, values.code));
                return i;
            }
        } catch (const DbError &error) {
            reportDbError(kNotice, pending ? QStringLiteral("新增异常:") : QStringLiteral("修改异常:"), error);
            return i;
        }
    }
    return m_list.rowCount();
}

bool DictionaryEditor::search(bool byName, const QString &text)
{
    if (text.isEmpty()) {
        notice(m_variant.searchEmpty);
        return false;
    }
    const int column = byName ? DictionaryVariant::NameColumn : DictionaryVariant::CodeColumn;
    for (int row = 0; row < m_list.rowCount(); ++row) {
        if (m_list.itemText(row, column) == text) {
            notice(m_variant.searchResult.arg(m_list.itemText(row, DictionaryVariant::CodeColumn),
                                              m_list.itemText(row, DictionaryVariant::NameColumn)),
                   PromptIcon::Information);
            return true;
        }
    }
    notice(QStringLiteral("没有查询到该代号信息!"));
    return true;
}

void DictionaryEditor::showInsertTime(int row)
{
    if (row >= 0 && row < m_list.rowCount())
        m_status.setLeft(QStringLiteral("插入时间:") + m_list.itemText(row, m_variant.timeColumn()));
}

QString DictionaryEditor::exportRecord(int row) const
{
    const DictionaryRow values = this->row(row);
    QStringList fields;
    for (RecordField field : m_variant.recordFields) {
        switch (field) {
        case RecordField::Name: fields << values.name; break;
        case RecordField::Code: fields << values.code; break;
        case RecordField::Key: fields << values.key; break;
        case RecordField::State: fields << values.state; break;
        }
    }
    // A comma or line break in a field would shift the record's fields on import.
    return std::all_of(fields.cbegin(), fields.cend(), canCarryField) ? exchangeRecord(fields) : QString();
}

void DictionaryEditor::exportTicked()
{
    const QString folder = exchangeFolder(prompt().chooseFolder(m_variant.folderTitle, QString()));
    if (folder.isEmpty())
        return;
    m_status.setLeft(QStringLiteral("请梢等,正在导出数据..."));
    emit exchangeRunning(true);
    QStringList records, refused;
    for (int row = 0; row < m_list.rowCount(); ++row) {
        if (!m_list.isChecked(row))
            continue;
        const QString record = exportRecord(row);
        if (record.isEmpty())
            refused << m_list.itemText(row, DictionaryVariant::NameColumn);
        else
            records << record;
    }
    bool exported = true;
    QString error;
    if (records.isEmpty() && refused.isEmpty()) {
        prompt().message(kNotice, m_variant.nothingTicked, PromptIcon::None);
    } else if (!refused.isEmpty()) {
        notice(QStringLiteral("以下记录含有逗号、换行或无法保存的字符,未导出:\r\n")
               + refused.join(QStringLiteral("\r\n")));
        exported = false;
    } else if (!writeExchangeRecords(exchangeFilePath(folder, m_variant.table, m_variant.fileExtension),
                                     m_variant.table, records, &error)) {
        notice(QStringLiteral("导出失败:") + error);
        exported = false;
    }
    emit exchangeRunning(false);
    m_status.setLeft(exported ? QStringLiteral("导出完毕") : QStringLiteral("导出失败"));
}

ImportRecord DictionaryEditor::importRecord(const QString &record, const QString &time) const
{
    const auto field = [&](RecordField which) {
        const int index = m_variant.recordIndex(which);
        return index < 0 ? QString() : exchangeField(record, index);
    };
    return {field(RecordField::Code), field(RecordField::Name), field(RecordField::Key), field(RecordField::State),
            time};
}

void DictionaryEditor::importFile(bool forced)
{
    const HistoryInScreen history(m_status);
    if (!sharedDb().isOpen())
        return;
    const QString path = prompt().chooseFile(importFileRequest(m_variant.fileExtension));
    if (path.isEmpty())
        return;
    if (forced
        && prompt().message(QStringLiteral("询问"), m_variant.forcedQuestion, PromptIcon::Question,
                            PromptButtons::YesNo, PromptButton::No)
               != PromptButton::Yes)
        return;
    m_status.setLeft(QStringLiteral("请梢等,正在导入数据..."));
    emit exchangeRunning(true);
    const QStringList records = readExchangeRecords(path, m_variant.table);
    bool imported = true;
    if (forced)
        imported = importAllOrNothing(records);
    else
        importEach(records);
    emit exchangeRunning(false);
    m_status.setLeft(imported ? QStringLiteral("导入完毕") : QStringLiteral("导入失败"));
    load();
}

QString DictionaryEditor::importStatement(const QString &record, bool forced) const
{
    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return dictionaryImportStatement(sharedDb().dialect(), m_variant, importRecord(record, time), forced);
}

void DictionaryEditor::importEach(const QStringList &records)
{
    for (const QString &record : records) {
        try {
            sharedDb().exec(importStatement(record, false));
        } catch (const DbError &error) {
            qCDebug(dictionaryTrace).noquote() << m_variant.importTrace.arg(error.text());
        }
    }
}

bool DictionaryEditor::importAllOrNothing(const QStringList &records)
{
    try {
        keepHistory(sharedDb(), QStringLiteral("dictionary-import"), {m_variant.table});
        SqlTransaction transaction(sharedDb());
        for (const QString &record : records)
            sharedDb().exec(importStatement(record, true));
        transaction.commit();
        return true;
    } catch (const DbError &error) {
        qCDebug(dictionaryTrace).noquote() << m_variant.importTrace.arg(error.text());
        reportDbError(kNotice, QStringLiteral("导入失败,表未作任何修改:"), error, AfterDbError::KeepReady);
        return false;
    }
}

}  // namespace dbkeel
