#include "composition/LineLayoutEditor.h"

#include "composition/RunTables.h"
#include "core/AppState.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "core/WriteHistory.h"
#include "platform/Profile.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "screens/DbErrorReport.h"
#include "screens/ExchangeFile.h"
#include "screens/HistoryNotice.h"

#include <QDateTime>

namespace dbkeel {

namespace {

const QString kNotice = QStringLiteral("提示");
const QString kWithdrawn = QStringLiteral("无效");
const QString kFileName = QStringLiteral("TBLineInfo");
const QString kFileExtension = QStringLiteral(".LINEINF");
const QString kNumKey = QStringLiteral("num");
constexpr int kNumWidth = 499, kRowWidth = 999;

// Rows loaded from the database take the colour of their line.
ListColor lineColor(int line)
{
    static const ListColor colors[] = {rgb(0, 128, 0),     rgb(0, 0, 128),    rgb(128, 0, 0), rgb(128, 0, 128),
                                       rgb(128, 128, 0),   rgb(0, 128, 128),  rgb(0, 0, 0),   rgb(128, 128, 128),
                                       rgb(160, 160, 164), rgb(192, 220, 192)};
    return line >= 1 && line <= 10 ? colors[line - 1] : listcolor::Blue;
}

void refuse(const QString &text)
{
    prompt().message(kNotice, text, PromptIcon::Exclamation);
}

QString itemIndexQuery(const QString &deviceCode)
{
    return QStringLiteral(
               "select ItemId,ItemName from tb_id_item where ItemId in( select ItemId from tb_id_param where devId = %1 ) ;")
        .arg(sqlNumber(deviceCode));
}

struct IndexItem {
    QString code, name;
};

}  // namespace

LineLayoutEditor::LineLayoutEditor(QObject *parent, int listClientWidth, int duplicateClientWidth) : QObject(parent)
{
    setColumns(listClientWidth);
    setDuplicateColumns(duplicateClientWidth);
}

void LineLayoutEditor::setColumns(int listClientWidth)
{
    const int a = listClientWidth / 10;
    m_list.setColumns(
        columnSpec({"检序", "线号", "线名称", "工位编号", "设备编号", "设备名称", "工位计算机IP", "计算机端口",
                    "制动台类型", "站区划代号", "检测机构代号", "车管所联网代号", "设备路径", "设备说明"},
                   {60, a - 60, a + 20, a - 20, a, a + 20, 0, 0, 0, 0, 0, 0, a + 200, a + 30}));
}

void LineLayoutEditor::setDuplicateColumns(int listClientWidth)
{
    const int b = listClientWidth / 6;
    m_duplicates.setColumns(columnSpec({"线号", "线名称", "设备编号", "设备名称", "项目代号", "项目名称"},
                                       {b - 60, b + 20, b - 20, b, b + 20, b}));
}

void LineLayoutEditor::open()
{
    rebuildRunTables();
    loadDevices();
    loadLineTypes();
    loadLayout();
}

void LineLayoutEditor::rebuildRunTables()
{
    if (!sharedDb().isOpen())
        return;
    dbkeel::rebuildRunTables(sharedDb(), {[this](const RunTableStep &step) { m_status.setLeft(step.startText); },
                                          [this](const RunTableStep &step) { m_status.setLeft(step.doneText); },
                                          [this](const RunTableStep &step, const QString &error) {
                                              m_status.setLeft(step.failureText + error);
                                              DbReady = 0;
                                          }});
}

void LineLayoutEditor::loadDevices()
{
    m_deviceNames.clear();
    m_deviceCodes.clear();
    if (!sharedDb().isOpen())
        return;
    try {
        SqlCursor cursor = sharedDb().query(
            QStringLiteral("select * from tb_id_devid where res <>  '%1' or res is NULL order by devid ;")
                .arg(kWithdrawn));
        while (cursor.next()) {
            const QString name = cursor.text(QStringLiteral("devname"));
            m_deviceNames << name;
            m_deviceCodes.insert(name, cursor.text(QStringLiteral("devid")));
        }
    } catch (const DbError &error) {
        reportDbError(kNotice, QString(), error);
    }
}

void LineLayoutEditor::loadLineTypes()
{
    m_lineTypeNames.clear();
    m_lineTypeCodes.clear();
    if (!sharedDb().isOpen())
        return;
    try {
        SqlCursor cursor = sharedDb().query(QStringLiteral("select * from tb_id_linetype order by lintype;"));
        while (cursor.next()) {
            const QString name = cursor.text(QStringLiteral("linename"));
            m_lineTypeNames << name;
            m_lineTypeCodes.insert(name, cursor.text(QStringLiteral("lintype")));
        }
    } catch (const DbError &error) {
        reportDbError(kNotice, QString(), error);
    }
}

void LineLayoutEditor::loadLayout()
{
    m_list.deleteAllRows();
    m_selectedRow = -1;
    if (!sharedDb().isOpen())
        return;
    static const char *const columns[] = {"lineid",    "linename",    "stationid", "devid",    "devname",
                                          "stationip", "stationport", "BrakeType", "LineCode", "jcjgid",
                                          "netid",     "devPath",     "devRemark"};
    try {
        SqlCursor cursor = sharedDb().query(QStringLiteral("select * from tb_line_info order by runorder,lineid ;"));
        while (cursor.next()) {
            QStringList texts;
            for (const char *column : columns)
                texts << cursor.text(QLatin1String(column));
            if (texts.at(Address - 1).isEmpty())
                texts[Address - 1] = kLocalAddress;
            appendRow(texts, lineColor(toInt(texts.at(Line - 1))));
        }
    } catch (const DbError &error) {
        reportDbError(kNotice, QString(), error);
    }
}

QString LineLayoutEditor::defaultPort(const QString &line, const QString &station)
{
    return QString::number(qint64(toInt(line)) * 10000 + qint64(toInt(station)) * 100);
}

ListColor LineLayoutEditor::positionColor() const
{
    return m_list.rowCount() % 2 == 1 ? listcolor::Green : listcolor::Blue;
}

// Column 0 is the row count plus 1; `columns` are columns 1 to 13.
void LineLayoutEditor::appendRow(const QStringList &columns, ListColor color)
{
    const int row = m_list.appendRow(QString::number(m_list.rowCount() + 1));
    for (int column = Line; column < ColumnCount; ++column)
        m_list.setItemText(row, column, columns.value(column - 1));
    m_list.setTextColor(row, -1, color);
}

QStringList LineLayoutEditor::rowTexts(int row) const
{
    QStringList texts;
    for (int column = Order; column < ColumnCount; ++column)
        texts << m_list.itemText(row, column);
    return texts;
}

bool LineLayoutEditor::isDuplicate(const QString &line, const QString &lineTypeName, const QString &deviceCode,
                                   const QString &deviceName, const QString &station) const
{
    for (int row = 0; row < m_list.rowCount(); ++row) {
        if (m_list.itemText(row, Line) == line && m_list.itemText(row, LineTypeName) == lineTypeName
            && m_list.itemText(row, DeviceCode) == deviceCode && m_list.itemText(row, DeviceName) == deviceName
            && m_list.itemText(row, Station) == station)
            return true;
    }
    return false;
}

std::optional<PlacementField> LineLayoutEditor::addRow(const PlacementInput &input)
{
    const struct {
        const QString &text;
        PlacementField field;
        const char *message;
    } required[] = {
        {input.line, PlacementField::Line, "请选择线号!"},
        {input.lineTypeName, PlacementField::LineType, "请选择线类型、名称!"},
        {input.deviceName, PlacementField::Device, "请选择设备类型、名称!"},
        {input.station, PlacementField::Station, "请选择工位号!"},
    };
    for (const auto &check : required) {
        if (check.text.isEmpty()) {
            refuse(QString::fromUtf8(check.message));
            return check.field;
        }
    }
    const auto code = m_deviceCodes.constFind(input.deviceName);
    if (code == m_deviceCodes.constEnd()) {
        refuse(QStringLiteral("没有找到%1的设备编号!").arg(input.deviceName));
        return std::nullopt;
    }
    if (isDuplicate(input.line, input.lineTypeName, *code, input.deviceName, input.station))
        return std::nullopt;
    const QString address = input.address.isEmpty() || input.address == QLatin1String("0.0.0.0") ? kLocalAddress
                                                                                                 : input.address;
    const QString port = input.port.isEmpty() ? defaultPort(input.line, input.station) : input.port;
    appendRow({input.line, input.lineTypeName, input.station, *code, input.deviceName, address, port, input.brakeType,
               input.areaCode, input.bodyCode, input.netId, input.devicePath, input.remark},
              positionColor());
    return std::nullopt;
}

std::optional<StationRowRecord> LineLayoutEditor::prepareEdit(int row) const
{
    if (row < 0 || row >= m_list.rowCount())
        return std::nullopt;
    StationRowRecord record{m_list.itemText(row, Address),    m_list.itemText(row, Port),
                            m_list.itemText(row, BrakeType),  m_list.itemText(row, AreaCode),
                            m_list.itemText(row, DevicePath), m_list.itemText(row, Remark)};
    record.cutToLimits();
    return record;
}

void LineLayoutEditor::finishEdit(int row, const StationRowRecord &edited)
{
    if (row < 0 || row >= m_list.rowCount())
        return;
    const QString port = edited.port.isEmpty() ? defaultPort(m_list.itemText(row, Line), m_list.itemText(row, Station))
                                               : edited.port;
    m_list.setItemText(row, Address, edited.address);
    m_list.setItemText(row, Port, port);
    m_list.setItemText(row, BrakeType, edited.brakeType);
    m_list.setItemText(row, AreaCode, edited.areaCode);
    m_list.setItemText(row, DevicePath, edited.devicePath);
    m_list.setItemText(row, Remark, edited.deviceRemark);
    const int line = toInt(m_list.itemText(row, Line)), station = toInt(m_list.itemText(row, Station));
    for (int other = 0; other < m_list.rowCount(); ++other) {
        if (toInt(m_list.itemText(other, Line)) == line && toInt(m_list.itemText(other, Station)) == station) {
            m_list.setItemText(other, Address, edited.address);
            m_list.setItemText(other, Port, port);
        }
    }
}

void LineLayoutEditor::selectRow(int row)
{
    m_selectedRow = row >= 0 && row < m_list.rowCount() ? row : -1;
    if (m_selectedRow < 0 || m_list.itemText(row, DevicePath).isEmpty())
        return;
    if (const std::optional<QString> remark = deviceVersionRemark(m_list.itemText(row, DevicePath)))
        m_list.setItemText(row, Remark, *remark);
}

void LineLayoutEditor::moveRow(int from, int to)
{
    const QStringList texts = rowTexts(from);
    const ListColor color = m_list.textColor(from, 0);
    m_list.deleteRow(from);
    m_list.insertRow(to, texts.at(Order));
    for (int column = Line; column < ColumnCount; ++column)
        m_list.setItemText(to, column, texts.at(column));
    m_list.setTextColor(to, -1, color);
    m_selectedRow = to;
}

void LineLayoutEditor::moveUp()
{
    if (m_selectedRow < 0)
        prompt().message(kNotice, QStringLiteral("请选择一项再上移!"), PromptIcon::Information);
    else if (m_selectedRow == 0)
        prompt().message(kNotice, QStringLiteral("已经位于第一行!"), PromptIcon::Information);
    else
        moveRow(m_selectedRow, m_selectedRow - 1);
}

void LineLayoutEditor::moveDown()
{
    if (m_selectedRow < 0)
        prompt().message(kNotice, QStringLiteral("请选择一项再下移!"), PromptIcon::Information);
    else if (m_selectedRow == m_list.rowCount() - 1)
        prompt().message(kNotice, QStringLiteral("已经位于最末行!"), PromptIcon::Information);
    else
        moveRow(m_selectedRow, m_selectedRow + 1);
}

void LineLayoutEditor::clearList()
{
    if (prompt().message(kNotice, QStringLiteral("确定要将当前列表中的工位关系全部清除?确定(清除),取消"),
                         PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel)
        != PromptButton::Ok)
        return;
    m_list.deleteAllRows();
    m_selectedRow = -1;
}

void LineLayoutEditor::deleteRow(int row)
{
    if (m_list.rowCount() == 0 || row < 0
        || prompt().message(kNotice, QStringLiteral("确定要删除该行数据?确定(删除),取消"), PromptIcon::Question,
                            PromptButtons::OkCancel, PromptButton::Cancel)
               != PromptButton::Ok)
        return;
    m_list.deleteRow(row);
    m_selectedRow = -1;
}

QString LineLayoutEditor::defaultLineFile()
{
    return exchangeFilePath(configurationFolder(), kFileName, kFileExtension);
}

bool LineLayoutEditor::writeLineFile(const QString &path, QString *error) const
{
    ProfileFile file(path);
    for (int row = 0; row < m_list.rowCount(); ++row) {
        const QStringList texts = rowTexts(row);
        for (const QString &text : texts) {
            if (!canCarryField(text)) {
                *error = QStringLiteral("第%1行的\"%2\"含有逗号、换行或无法保存的字符")
                             .arg(QString::number(row + 1), text);
                return false;
            }
        }
        if (!file.writeString(kFileSection, QStringLiteral("Line%1").arg(row), exchangeRecord(texts))) {
            *error = file.lastError();
            return false;
        }
    }
    if (!file.writeString(kFileSection, kNumKey, QString::number(m_list.rowCount())) || !file.save()) {
        *error = file.lastError();
        return false;
    }
    return true;
}

void LineLayoutEditor::exportFile()
{
    m_status.setLeft(QStringLiteral("正在导出工位配置..."));
    const QString folder = exchangeFolder(prompt().chooseFolder(QStringLiteral("Please select a folder:")));
    const QString path = folder.isEmpty() ? defaultLineFile() : exchangeFilePath(folder, kFileName, kFileExtension);
    if (m_list.rowCount() == 0)
        return;
    QString error;
    if (!writeLineFile(path, &error)) {
        m_status.setLeft(QStringLiteral("导出失败"));
        prompt().message(kNotice, QStringLiteral("导出失败:") + error, PromptIcon::Exclamation);
        return;
    }
    m_status.setLeft(QStringLiteral("导出完毕"));
    prompt().message(kNotice, QStringLiteral("已导出") + path);
}

std::optional<QList<QStringList>> readLineRecords(const QString &path)
{
    const ProfileFile file(path);
    if (toInt(file.readString(LineLayoutEditor::kFileSection, kNumKey, QStringLiteral("0"), kNumWidth + 1)) <= 0)
        return std::nullopt;
    QList<QStringList> records;
    for (int k : exchangeKeys(file, LineLayoutEditor::kFileSection, QStringLiteral("Line"))) {
        const QString record = file.readString(LineLayoutEditor::kFileSection, QStringLiteral("Line%1").arg(k),
                                               QString(), kRowWidth + 1);
        if (record.isEmpty())
            continue;
        QStringList fields;
        for (int field = LineLayoutEditor::Order; field < LineLayoutEditor::ColumnCount; ++field)
            fields << exchangeField(record, field, kRowWidth);  // a remark or path may pass 100 bytes
        records << fields;
    }
    return records;
}

void LineLayoutEditor::readLineFile(const QString &path)
{
    const std::optional<QList<QStringList>> records = readLineRecords(path);
    if (!records)
        return;
    m_list.deleteAllRows();
    m_selectedRow = -1;
    for (const QStringList &fields : *records)
        if (!isDuplicate(fields.at(Line), fields.at(LineTypeName), fields.at(DeviceCode), fields.at(DeviceName),
                         fields.at(Station)))
            appendRow(fields.mid(Line), positionColor());
}

void LineLayoutEditor::importFile()
{
    QString path = prompt().chooseFile(importFileRequest(kFileExtension));
    m_status.setLeft(QStringLiteral("正在导入工位配置..."));
    readLineFile(path.isEmpty() ? defaultLineFile() : path);
    m_status.setLeft(QStringLiteral("导入完毕"));
}

bool LineLayoutEditor::checkLineTypes()
{
    for (int row = 0; row < m_list.rowCount(); ++row) {
        if (!m_lineTypeCodes.contains(m_list.itemText(row, LineTypeName))) {
            m_list.setTextColor(row, -1, listcolor::Red);
            prompt().message(kNotice, QStringLiteral("线号设置信息有误,请确认!!"), PromptIcon::Exclamation);
            return false;
        }
    }
    return true;
}

// Step 3 of Build: tb_line_info replaced by the list, all or nothing. An empty list empties the
// table and counts as failed.
bool LineLayoutEditor::writeLayout()
{
    try {
        keepHistory(sharedDb(), QStringLiteral("layout-build"),
                    {QStringLiteral("tb_line_info"), QStringLiteral("tb_login_lineindex")});
        SqlTransaction transaction(sharedDb());
        sharedDb().exec(QStringLiteral("delete from tb_line_info ;"));
        for (int row = 0; row < m_list.rowCount(); ++row) {
            const auto text = [this, row](int column) { return sqlText(m_list.itemText(row, column)); };
            const auto number = [this, row](int column) { return sqlNumber(m_list.itemText(row, column)); };
            sharedDb().exec(
                QStringLiteral(
                    "insert into tb_line_info(linetype,lineid,stationid,devid,runorder,linename,devname,stationip,"
                    "stationport,BrakeType,LineCode,jcjgid,netid,devPath,devRemark)\t\t\tvalues( %1,%2,%3,%4,%5,%6,"
                    "%7,%8,%9,%10,%11,%12,%13,%14,%15) ; ")
                    .arg(sqlNumber(m_lineTypeCodes.value(m_list.itemText(row, LineTypeName))), number(Line),
                         number(Station), number(DeviceCode), sqlNumber(row + 1), text(LineTypeName), text(DeviceName),
                         text(Address), number(Port), text(BrakeType), text(AreaCode), text(BodyCode), text(NetId),
                         text(DevicePath), text(Remark)));
        }
        transaction.commit();
    } catch (const DbError &error) {
        reportDbError(kNotice, QString(), error);
        return false;
    }
    if (m_list.rowCount() == 0)
        return false;
    prompt().message(kNotice, QStringLiteral("已经建立,请查看!"), PromptIcon::Information);
    return true;
}

// Step 5 of Build: tb_login_lineindex replaced by one row per placement and item of its device,
// all or nothing.
bool LineLayoutEditor::writeItemIndex()
{
    const QString time = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    QHash<QString, QList<IndexItem>> itemsOfDevice;  // a device placed many times is asked once
    QString context;
    try {
        SqlTransaction transaction(sharedDb());
        context = QStringLiteral("删除线工位关系表失败");
        sharedDb().exec(QStringLiteral("delete from tb_login_lineindex"));
        for (int row = 0; row < m_list.rowCount(); ++row) {
            const QString device = m_list.itemText(row, DeviceCode);
            if (!itemsOfDevice.contains(device)) {
                context = QStringLiteral("建立线工位关系失败2:");
                QList<IndexItem> items;
                SqlCursor cursor = sharedDb().query(itemIndexQuery(device));
                while (cursor.next())
                    items.append({cursor.text(QStringLiteral("ItemId")), cursor.text(QStringLiteral("ItemName"))});
                itemsOfDevice.insert(device, items);
            }
            context = QStringLiteral("建立线工位关系失败1:");
            const auto text = [this, row](int column) { return sqlText(m_list.itemText(row, column)); };
            for (const IndexItem &item : itemsOfDevice.value(device)) {
                sharedDb().exec(
                    QStringLiteral(
                        "insert into tb_login_lineindex( lineid,linename,stationid,stationname,devid,devname,itemid,"
                        "itemname,insertdate,devPath,devRemark)values(\t\t\t\t%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11);")
                        .arg(sqlNumber(m_list.itemText(row, Line)), text(LineTypeName),
                             sqlNumber(m_list.itemText(row, Station)), sqlText(QString()), sqlNumber(device),
                             text(DeviceName), sqlNumber(item.code), sqlText(item.name), sqlText(time),
                             text(DevicePath), text(Remark)));
            }
        }
        transaction.commit();
    } catch (const DbError &error) {
        reportDbError(kNotice, context, error);
        return false;
    }
    return true;
}

// Step 6 of Build: true when the build may end (no duplicates, or the user goes on).
bool LineLayoutEditor::reportDuplicates()
{
    m_duplicates.deleteAllRows();
    try {
        SqlCursor cursor = sharedDb().query(QStringLiteral(
            "select * from tb_login_lineindex where itemid in (select   itemid  from  tb_login_lineindex group by  "
            "lineid,itemid having count(itemid) > 1) "));
        static const char *const columns[] = {"lineid", "linename", "devid", "devname", "itemid", "itemname"};
        while (cursor.next()) {
            const int row = m_duplicates.appendRow(cursor.text(QLatin1String(columns[0])));
            for (int column = DupLineName; column <= DupItemName; ++column)
                m_duplicates.setItemText(row, column, cursor.text(QLatin1String(columns[column])));
        }
    } catch (const DbError &) {
        m_duplicates.deleteAllRows();  // counts as no duplicates
        DbReady = 0;
    }
    if (m_duplicates.rowCount() == 0)
        return true;
    emit duplicatesFound();
    return prompt().message(kNotice, QStringLiteral("出现重复项目,请检查,是否继续?确定(继续),取消(返回查看)"),
                            PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel)
           == PromptButton::Ok;
}

LineLayoutEditor::BuildEnd LineLayoutEditor::build()
{
    if (!sharedDb().isOpen() || !checkLineTypes())
        return BuildEnd::Stay;
    const HistoryInScreen history(m_status);
    m_status.setLeft(QStringLiteral("正在建立工位配置..."));
    const bool written = writeLayout();
    m_status.setLeft(written ? QStringLiteral("建立工位配置成功!") : QStringLiteral("建立工位配置失败!!!"));
    if (!written && m_list.rowCount() > 0)
        return BuildEnd::Stay;  // nothing was changed; the working list stays for another try
    if (m_list.rowCount() > 0 && !writeItemIndex())
        return BuildEnd::Stay;
    return reportDuplicates() ? BuildEnd::Close : BuildEnd::Stay;
}

}  // namespace dbkeel
