#include "dictionaries/SubIdEditor.h"

#include "core/AppConfig.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "core/WriteHistory.h"
#include "dictionaries/DictionaryTrace.h"
#include "dictionaries/SubIdTables.h"
#include "platform/Gbk.h"
#include "platform/Profile.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "screens/DbErrorReport.h"
#include "screens/ExchangeFile.h"
#include "screens/HistoryNotice.h"

#include <QSet>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace dbkeel {

namespace {

constexpr int kLeftOutInfoId = 1023;  // not offered in the drop-down
constexpr int kExportedMainIdAbove = 1000;
const QString kPrompt = QStringLiteral("提示");

// The six keys of record k of a .TRANSINFO file, in the order of SubIdValue's fields.
QStringList transInfoKeys(int k)
{
    QStringList keys;
    for (const char *key : {"INFOID-", "INFOIDABOUT-", "INFOSUBID-", "INFOSUBIDABOUT-", "INFOBYNAME-", "INFOBYID-"})
        keys << QLatin1String(key) + QString::number(k);
    return keys;
}

// The records of a .TRANSINFO file in the order of their numbers.
QList<SubIdValue> readTransInfo(const QString &path)
{
    const ProfileFile file(path);
    QList<SubIdValue> values;
    for (int k : exchangeKeys(file, SubIdEditor::kSection, QStringLiteral("INFOID-"))) {
        const QStringList v = file.readStrings(SubIdEditor::kSection, transInfoKeys(k), QString(),
                                               kExchangeFieldBytes + 1);
        values.append({v.at(0), v.at(1), v.at(2), v.at(3), v.at(4), v.at(5)});
    }
    return values;
}

enum class Step { Next, Stop, Abandon };  // go on, end the run (committing what ran), end it without commit

// Runs statement(i); a failure goes to `goOn`.
Step runStatement(const std::function<QString(int)> &statement, int i, const std::function<bool(const DbError &)> &goOn)
{
    try {
        sharedDb().exec(statement(i));
        return Step::Next;
    } catch (const DbError &error) {
        const bool more = goOn(error);
        if (error.transactionRolledBack())
            return Step::Abandon;
        return more ? Step::Next : Step::Stop;
    }
}

// Runs statement(0) .. statement(count - 1) in one transaction, so that a long run does not commit row by
// row. A failing statement goes to `goOn`; when it answers false the run ends there. What ran before is
// committed either way, as if every statement had been committed on its own, unless the failure rolled
// the whole transaction back (SQL Server's batch-aborting errors): then the run ends and nothing is
// stored, and `goOn` has had that error. DbError when the transaction cannot begin or commit.
void runInOneCommit(int count, const std::function<QString(int)> &statement,
                    const std::function<bool(const DbError &)> &goOn)
{
    SqlTransaction transaction(sharedDb());
    for (int i = 0; i < count; ++i) {
        const Step step = runStatement(statement, i, goOn);
        if (step == Step::Abandon)
            return;
        if (step == Step::Stop)
            break;
    }
    transaction.commit();
}

constexpr int kImportBatchValues = 500;
using SubIdKey = std::pair<qint64, qint64>;  // info ID, sub-ID

// The key of a value whose info ID and sub-ID are plain decimal numbers the database keeps as they are.
std::optional<SubIdKey> plainKey(const SubIdValue &value)
{
    try {
        bool info = false, sub = false;
        const SubIdKey key{sqlNumber(value.infoId).toLongLong(&info), sqlNumber(value.subId).toLongLong(&sub)};
        if (info && sub)
            return key;
    } catch (const DbError &) {
        // left to the value's own statement, which reports it
    }
    return std::nullopt;
}

// The end of the run of values from `first` that go in one batch: values with plain keys, none twice.
int batchEnd(const QList<SubIdValue> &values, int first)
{
    QSet<SubIdKey> keys;
    int end = first;
    while (end < values.size() && end - first < kImportBatchValues) {
        const std::optional<SubIdKey> key = plainKey(values.at(end));
        if (!key || keys.contains(*key))
            break;
        keys.insert(*key);
        ++end;
    }
    return end;
}

// The statements of a run of values, inside a savepoint: true when they all went in, false when one
// failed and the run was undone. DbError when the failure ended the transaction or the savepoint cannot
// be set or undone: what the transaction holds is then unknown.
bool importBatch(const QList<SubIdValue> &values)
{
    sharedDb().exec(QStringLiteral("savepoint subid_import"));
    try {
        for (const QString &statement : transInfoImportBatch(values)) {
            qCDebug(dictionaryTrace).noquote() << statement + u'\n';
            sharedDb().exec(statement);
        }
    } catch (const DbError &error) {
        if (error.transactionRolledBack())
            throw;
        sharedDb().exec(QStringLiteral("rollback to subid_import"));
        sharedDb().exec(QStringLiteral("release subid_import"));
        return false;
    }
    sharedDb().exec(QStringLiteral("release subid_import"));
    return true;
}

// runInOneCommit of the import's statements on the embedded database, with runs of values sent as one
// batch (transInfoImportBatch): a run ends before a value whose key it holds already or whose key is not
// a plain number. A run that fails is undone and its values run one by one, so that the value refused
// ends the import where it would alone, with the values before it stored.
void importInBatches(const QList<SubIdValue> &values, const std::function<QString(int)> &statement,
                     const std::function<bool(const DbError &)> &goOn)
{
    SqlTransaction transaction(sharedDb());
    for (int first = 0; first < values.size();) {
        const int end = std::max(batchEnd(values, first), first + 1);
        try {
            if (end - first > 1 && importBatch(values.mid(first, end - first))) {
                first = end;
                continue;
            }
        } catch (const DbError &error) {
            goOn(error);
            return;  // nothing is committed
        }
        for (; first < end; ++first) {
            const Step step = runStatement(statement, first, goOn);
            if (step == Step::Abandon)
                return;
            if (step == Step::Stop) {
                transaction.commit();
                return;
            }
        }
    }
    transaction.commit();
}

bool askOk(const QString &caption, const QString &question)
{
    return prompt().message(caption, question, PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel)
           == PromptButton::Ok;
}

}  // namespace

SubIdRecord &subIdRecord()
{
    static SubIdRecord record;
    return record;
}

SubIdEntry enterSubId(const QString &subId, const QString &value, const QString &mainName)
{
    SubIdRecord &record = subIdRecord();
    const QString id = cutToGbkBytes(subId, SubIdRecord::kSubIdBytes);
    const QString name = cutToGbkBytes(mainName, SubIdRecord::kMainNameBytes);
    const int found = name.isEmpty() ? -1 : mainIdOf(toInt(record.infoId), name);
    const int mainId = found >= 10000001 && found <= 19999999 ? found : -1;
    const long long base = toInt(record.infoId) * 10000LL, number = toInt(id);
    if (number <= base || number > base + 9999) {
        prompt().message(kPrompt,
                         QStringLiteral("编号范围错误,正确范围应该在%1--%2之间")
                             .arg(QString::number(base + 1), QString::number(base + 9999)),
                         PromptIcon::Exclamation);
        return SubIdEntry::SubIdOutOfRange;
    }
    if (value.isEmpty()) {
        prompt().message(kPrompt, QStringLiteral("信息不能为空!"), PromptIcon::Exclamation);
        return SubIdEntry::ValueEmpty;
    }
    record.subId = id;
    record.value = cutToGbkBytes(value, SubIdRecord::kValueBytes);
    record.mainName = name;
    record.mainId = QString::number(mainId);
    return SubIdEntry::Accepted;
}

SubIdEditor::SubIdEditor(QObject *parent, int listClientWidth) : QObject(parent)
{
    m_list.setCheckBoxes(true);
    setColumns(listClientWidth);
}

void SubIdEditor::setColumns(int listClientWidth)
{
    const int w = listClientWidth / 6;
    m_list.setColumns(columnSpec({"ID", "信息编号", "信息名称", "SUBID", "SUB名称", "插入时间", "主属性名", "主属性ID",
                                  "sametypename", "sametypeid"},
                                 {w - 50, w - 50, w - 15, w - 20, w + 80, w + 80, w - 20, w - 20, 0, 0}));
}

void SubIdEditor::open()
{
    loadFieldNames(QString());
    m_currentField = m_fieldNames.value(0);
    emit fieldsChanged();
    loadList(subIdListQuery());
}

void SubIdEditor::filterFields(const QString &text)
{
    loadFieldNames(text);
    m_currentField.clear();
    emit fieldsChanged();
}

void SubIdEditor::chooseField(const QString &name)
{
    const QString infoId = infoIdOf(name);
    if (infoId.isEmpty())
        return;
    m_currentField = name;
    setCanAdd(!isProtectedInfoId(toInt(infoId)));
    loadList(subIdListQuery(infoId));
}

void SubIdEditor::loadFieldNames(const QString &filter)
{
    m_fieldNames.clear();
    m_infoIds.clear();
    if (!sharedDb().isOpen())
        return;
    try {
        SqlCursor cursor = sharedDb().query(fieldNameQuery(filter));
        while (cursor.next()) {
            if (cursor.toInt(QStringLiteral("infoid")) == kLeftOutInfoId)
                continue;
            const QString name = cursor.text(QStringLiteral("infoname"));
            m_fieldNames << name;
            m_infoIds.insert(name, cursor.text(QStringLiteral("infoid")));
        }
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("错误"), QString(), error);
    }
}

QString SubIdEditor::infoIdOf(const QString &fieldName) const
{
    return m_infoIds.value(fieldName);
}

void SubIdEditor::setCanAdd(bool enabled)
{
    if (m_canAdd == enabled)
        return;
    m_canAdd = enabled;
    emit canAddChanged(enabled);
}

void SubIdEditor::loadList(const QString &query)
{
    if (!sharedDb().isOpen())
        return;
    emit listLoading(true);
    m_list.deleteAllRows();
    try {
        SqlCursor cursor = sharedDb().query(query);
        const QString columns[] = {QStringLiteral("infoid"),      QStringLiteral("infoname_about"),
                                   QStringLiteral("infosubid"),   QStringLiteral("infovalue_about"),
                                   QStringLiteral("insertdate"),  QStringLiteral("subbyname"),
                                   QStringLiteral("subbynameid"), QStringLiteral("sametypename"),
                                   QStringLiteral("sametypeid")};
        while (cursor.next()) {
            const int row = m_list.appendRow(cursor.text(QStringLiteral("ID")));
            for (int c = InfoIdColumn; c <= SameTypeIdColumn; ++c)
                m_list.setItemText(row, c, cursor.text(columns[c - InfoIdColumn]));
            m_list.setChecked(row, m_list.itemText(row, SameTypeIdColumn) == QLatin1String("1"));
            colourBySubId(row);
        }
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("错误"), QString(), error);
    }
    emit listLoading(false);
}

void SubIdEditor::colourBySubId(int row)
{
    const QString subId = m_list.itemText(row, SubIdColumn);
    const bool faulty = subId.isEmpty() || !isSubIdInRange(toInt(subId));
    m_list.setTextColor(row, -1, faulty ? listcolor::Red : listcolor::Blue);
}

QString SubIdEditor::suggestedSubId(const QString &infoId) const
{
    if (m_list.rowCount() == 0)
        return infoId + QStringLiteral("0001");
    int largest = toInt(m_list.itemText(0, SubIdColumn));
    for (int row = 1; row < m_list.rowCount(); ++row)
        largest = std::max(largest, toInt(m_list.itemText(row, SubIdColumn)));
    return QString::number(largest + 1LL);
}

bool SubIdEditor::prepareAdd()
{
    const QString infoId = infoIdOf(m_currentField);
    if (infoId.isEmpty())
        return false;
    m_addingField = m_currentField;
    subIdRecord() = {infoId, suggestedSubId(infoId), {}, {}, {}, {}, SubIdRecord::Add};
    return true;
}

void SubIdEditor::finishAdd(bool accepted)
{
    if (!accepted)
        return;
    const SubIdRecord &record = subIdRecord();
    for (int row = 0; row < m_list.rowCount(); ++row) {
        if (m_list.itemText(row, SubIdColumn) == record.subId) {
            prompt().message(kPrompt, QStringLiteral("该SUB编号已经存在请重新设置"), PromptIcon::Exclamation);
            return;
        }
    }
    const SubIdValue value{record.infoId, m_addingField, record.subId, record.value, record.mainName, record.mainId};
    const int row = m_list.appendRow(kAdded);
    const QString texts[] = {value.infoId, value.fieldName, value.subId, value.value};
    for (int c = InfoIdColumn; c <= ValueColumn; ++c)
        m_list.setItemText(row, c, texts[c - InfoIdColumn]);
    m_list.setItemText(row, MainNameColumn, value.mainName);
    m_list.setItemText(row, MainIdColumn, value.mainId);
    m_list.setTextColor(row, -1, listcolor::Green);
    if (!sharedDb().isOpen())
        return;
    try {
        sharedDb().exec(subIdInsertStatement(value));
    } catch (const DbError &error) {
        reportDbError(kPrompt, QStringLiteral("查询新SUB失败->"), error);
    }
}

bool SubIdEditor::prepareMainAttribute(int row)
{
    if (UserLevel > 1 || row < 0 || row >= m_list.rowCount())
        return false;
    subIdRecord() = {m_list.itemText(row, InfoIdColumn),   QString(),
                     m_list.itemText(row, SubIdColumn),    m_list.itemText(row, ValueColumn),
                     m_list.itemText(row, MainNameColumn), m_list.itemText(row, MainIdColumn),
                     SubIdRecord::ChangeMainAttribute};
    return true;
}

void SubIdEditor::finishMainAttribute(int row, bool accepted)
{
    if (!accepted || row < 0 || row >= m_list.rowCount())
        return;
    const SubIdRecord &record = subIdRecord();
    m_list.setItemText(row, MainNameColumn, record.mainName);
    m_list.setItemText(row, MainIdColumn, record.mainId);
    m_list.setTextColor(row, -1, listcolor::Green);
    if (!sharedDb().isOpen())
        return;
    try {
        sharedDb().exec(mainAttributeStatement(record.mainName, record.mainId, m_list.itemText(row, InfoIdColumn),
                                               m_list.itemText(row, SubIdColumn)));
    } catch (const DbError &error) {
        reportDbError(kPrompt, QStringLiteral("查询新SUB失败->"), error);
    }
}

bool SubIdEditor::mayDelete(int row) const
{
    const int infoId = toInt(m_list.itemText(row, InfoIdColumn));
    return !isProtectedInfoId(infoId) && (UserLevel <= 1 || isDeletableAboveLevelOne(infoId));
}

void SubIdEditor::deleteValue(int row)
{
    if (row < 0 || row >= m_list.rowCount() || !mayDelete(row))
        return;
    if (!askOk(QStringLiteral("询问"), QStringLiteral("确定要删除该SUBID编号信息?确定(删除),取消"))
        || !sharedDb().isOpen())
        return;
    try {
        sharedDb().exec(subIdDeleteStatement(m_list.itemText(row, SubIdColumn)));
        m_list.deleteRow(row);
    } catch (const DbError &error) {
        reportDbError(kPrompt, QStringLiteral("删除失败->"), error);
    }
}

void SubIdEditor::deleteAllShown()
{
    const HistoryInScreen history(m_status);
    if (!askOk(kPrompt, QStringLiteral("确定要删除当前列表对应内容？删除后将无法恢复!!!\r\n确定(删除),取消")))
        return;
    const auto report = [](const DbError &error) {
        reportDbError(kPrompt, QStringLiteral("删除失败->"), error);
        return false;
    };
    if (sharedDb().isOpen()) {
        try {
            keepHistory(sharedDb(), QStringLiteral("subid-delete-all"), {QStringLiteral("tb_login_ini")});
            runInOneCommit(
                m_list.rowCount(), [&](int row) { return subIdDeleteStatement(m_list.itemText(row, SubIdColumn)); },
                report);
        } catch (const DbError &error) {
            report(error);
        }
    }
    m_list.deleteAllRows();
}

bool SubIdEditor::check()
{
    emit checkRunning(true);
    m_status.setLeft(QStringLiteral("正在进行校验,请稍等..."));
    QHash<QString, int> uses;
    for (int row = 0; row < m_list.rowCount(); ++row)
        ++uses[m_list.itemText(row, SubIdColumn)];
    bool fault = false;
    for (int row = 0; row < m_list.rowCount(); ++row) {
        const QString subId = m_list.itemText(row, SubIdColumn);
        if (uses.value(subId) > 1 || !isSubIdInRange(toInt(subId))) {
            m_list.setTextColor(row, -1, listcolor::Red);
            fault = true;
        }
    }
    if (fault)
        prompt().message(kPrompt, QStringLiteral("有重复SubID,请检查!"), PromptIcon::Exclamation);
    emit checkRunning(false);
    m_status.setLeft(QStringLiteral("校验结束"));
    return !fault;
}

void SubIdEditor::storeLoginFlags()
{
    const auto trace = [](const DbError &error) {
        qCDebug(dictionaryTrace).noquote() << QStringLiteral("更新状态失败:") + error.text();
        DbReady = 0;
        return true;
    };
    if (sharedDb().isOpen()) {
        try {
            runInOneCommit(
                m_list.rowCount(),
                [&](int row) {
                    return loginFlagStatement(m_list.isChecked(row), toInt(m_list.itemText(row, IdColumn)));
                },
                trace);
        } catch (const DbError &error) {
            trace(error);
        }
    }
    prompt().message(kPrompt, QStringLiteral("更新完毕"), PromptIcon::Information);
}

void SubIdEditor::applyDefaultMainIds()
{
    const HistoryInScreen history(m_status);
    if (!sharedDb().isOpen()
        || !askOk(kPrompt, QStringLiteral("确定要采用缺省主ID,一旦执行将无法恢复原有主ID配置,确定(继续),取消?")))
        return;
    bool failed = false;
    const auto show = [&failed](const DbError &error) {
        prompt().message(QStringLiteral("错误"), error.text());
        failed = true;
        return false;
    };
    const QList<DefaultMainId> &defaults = defaultMainIds();
    try {
        keepHistory(sharedDb(), QStringLiteral("subid-defaults"), {QStringLiteral("tb_login_ini")});
        runInOneCommit(
            int(defaults.size()), [&](int i) { return defaultMainIdStatement(defaults.at(i)); }, show);
    } catch (const DbError &error) {
        show(error);
    }
    if (failed)
        return;
    prompt().message(kPrompt, QStringLiteral("已更新!!"));
}

void SubIdEditor::exportFile(bool onlyCurrentField)
{
    if (!sharedDb().isOpen())
        return;
    const QString folder = exchangeFolder(prompt().chooseFolder(QStringLiteral("请选择一个保存路径:")));
    if (folder.isEmpty())
        return;
    bool read = false;
    const QList<SubIdValue> values = exportedValues(onlyCurrentField ? m_currentField : QString(), &read);
    const QString path = exchangeFilePath(folder, kFileName, kExtension);
    if (read && writeTransInfo(path, values))
        prompt().message(kPrompt, QStringLiteral("导出成功,文件在") + path, PromptIcon::Information);
}

QList<SubIdValue> SubIdEditor::exportedValues(const QString &fieldName, bool *read)
{
    QList<SubIdValue> values;
    try {
        SqlCursor cursor = sharedDb().query(transInfoExportQuery(fieldName));
        while (cursor.next()) {
            const SubIdValue value{cursor.text(QStringLiteral("infoid")),
                                   cursor.text(QStringLiteral("infoname_about")),
                                   cursor.text(QStringLiteral("infosubid")),
                                   cursor.text(QStringLiteral("infovalue_about")),
                                   cursor.text(QStringLiteral("subbyname")),
                                   cursor.text(QStringLiteral("subbynameid"))};
            if (isExportedInfoId(toInt(value.infoId)) && toInt(value.mainId) > kExportedMainIdAbove)
                values << value;
        }
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("错误"), QStringLiteral("基本信息转义 "), error);
        return {};
    }
    *read = true;
    return values;
}

bool SubIdEditor::writeTransInfo(const QString &path, const QList<SubIdValue> &values)
{
    ProfileFile file(path);
    bool written = true;
    for (int k = 0; k < values.size() && written; ++k) {
        const SubIdValue &v = values.at(k);
        // A null text would remove its key: an empty column is written as an empty value.
        QStringList texts{v.infoId, v.fieldName, v.subId, v.value, v.mainName, v.mainId};
        for (QString &text : texts)
            text = text.isNull() ? QStringLiteral("") : text;
        written = file.writeStrings(kSection, transInfoKeys(k), texts);
    }
    written = written && file.writeString(kSection, QStringLiteral("NUM"), QString::number(values.size()))
              && file.save();
    if (!written)
        prompt().message(kPrompt, QStringLiteral("导出失败:") + file.lastError(), PromptIcon::Exclamation);
    return written;
}

void SubIdEditor::importFile()
{
    const HistoryInScreen history(m_status);
    if (!sharedDb().isOpen())
        return;
    const QString path = prompt().chooseFile(importFileRequest(kExtension));
    if (path.isEmpty())
        return;
    const QList<SubIdValue> values = readTransInfo(path);
    const Dialect dialect = sharedDb().dialect();
    const auto statement = [&](int i) {
        const QString text = transInfoImportStatement(dialect, values.at(i));
        qCDebug(dictionaryTrace).noquote() << text + u'\n';
        return text;
    };
    bool failed = false;
    const auto fail = [&failed](const DbError &) {
        failed = true;
        return false;
    };
    try {
        keepHistory(sharedDb(), QStringLiteral("subid-import"), {QStringLiteral("tb_login_ini")});
        if (dialect == Dialect::Sqlite)
            importInBatches(values, statement, fail);
        else
            runInOneCommit(int(values.size()), statement, fail);
    } catch (const DbError &error) {
        fail(error);
    }
    if (failed) {
        prompt().message(kPrompt, QStringLiteral("导入失败"), PromptIcon::Exclamation);
        DbReady = 0;
        return;
    }
    prompt().message(kPrompt, QStringLiteral("导入成功"), PromptIcon::Information);
}

}  // namespace dbkeel
