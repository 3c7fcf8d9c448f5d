#include "maintenance/DebugQueryEditor.h"

#include "core/Database.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "core/SqlDialect.h"
#include "core/SqlValue.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "screens/DbErrorReport.h"

namespace dbkeel {

namespace {

const QString kNotice = QStringLiteral("提示");
const QString kReadFailed = QStringLiteral("查询线异常");
const QStringList kMotorcycleKinds{QStringLiteral("10120010"), QStringLiteral("10120011"), QStringLiteral("10120012"),
                                   QStringLiteral("10120013")};
constexpr ListColor kQueueGrey = rgb(150, 150, 150), kQueueLight = rgb(230, 230, 230), kWhite = rgb(255, 255, 255);
constexpr ListColor kDark = rgb(20, 20, 20), kMagenta = rgb(255, 0, 255), kBrightGreen = rgb(0, 255, 0);

QString kindFilter(bool motorcycles, bool cars)
{
    if (motorcycles == cars)
        return {};
    if (motorcycles)
        return QStringLiteral(" and (INFO_1012 ='10120010' or INFO_1012 ='10120011' \t\t\tor INFO_1012 = '10120012' "
                              "or INFO_1012 = '10120013' ) ");
    return QStringLiteral(" and (INFO_1012 <>'10120010' and INFO_1012 <>'10120011' \t\t\tand INFO_1012 <> '10120012' "
                          "and INFO_1012 <> '10120013' ) ");
}

struct ListLayout {
    QStringList titles;
    QStringList fields;  // the columns of the view's rows, by name
    int divisor;
    QList<int> offsets;  // added to the base width
};

ListLayout layoutOf(DebugList list)
{
    switch (list) {
    case DebugList::Queue:
        return {{"车牌号码", "车牌颜色", "VIN", "loginid", "更新时间"}, {}, 5, {80, 80, 0, 140, 140}};
    case DebugList::Info: return {{"INFOID", "名称", "数据"}, {"infoid", "infoname", "value"}, 3, {-20, -20, 30}};
    case DebugList::Items:
        return {{"线", "工位", "设备", "项目ID", "项目名", "检测状态", "checkend"},
                {"lineid", "stationid", "devid", "itemid", "itemname", "status", "checkend"},
                6,
                {-30, -30, -30, 0, 10, 50, 20}};
    case DebugList::Standards:
        return {{"线", "工位", "设备", "参数ID", "参数名", "下限", "上限"},
                {"lineid", "stationid", "devid", "paramid", "paramname", "paramlvalue", "paramhvalue"},
                7,
                {10, 10, 10, 30, 80, 50, 50}};
    case DebugList::Checks:
        return {{"线", "工位", "status状态", "endstatus状态", "检测顺序", "status", "endstatus"},
                {"lineid", "stationid", "statusabout", "endstatusabout", "CheckOrder", "status", "EndStatus"},
                7,
                {-15, -15, 20, 50, 10, -10, 20}};
    case DebugList::Tasks:
        return {{"线", "工位", "status状态", "status"},
                {"lineid", "stationid", "statusabout", "status"},
                4,
                {-20, -20, 20, -20}};
    }
    return {};
}

// The label of a test item's status, and its text colour.
std::pair<QString, ListColor> itemStatus(const QString &status)
{
    switch (toInt(status)) {
    case 0: return {QStringLiteral("项目未检(%1)").arg(status), kBrightGreen};
    case 1: return {QStringLiteral("项目已检(%1)").arg(status), listcolor::Blue};
    case 2: return {QStringLiteral("已提车(%1)").arg(status), listcolor::Red};
    default: return {QStringLiteral("状态不明(%1)").arg(status), listcolor::Blue};
    }
}

}  // namespace

QString queueQuery(const QueueFilter &filter)
{
    const QString kinds = kindFilter(filter.motorcycles, filter.cars);
    const QString day = sqlText(filter.date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('%'));
    const QString inQueue = QStringLiteral(
        "from tb_vehicle_info \t\t\t\twhere loginid in ( select distinct(loginid) from tb_login_queu ) ");
    if (filter.plate.isEmpty()) {
        if (filter.today)
            return QStringLiteral("select  INFO_1001,INFO_1012,INFO_1004,loginid ,INFO_1031 %1and INFO_1031 like %2 %3 "
                                  "order by INFO_1031 ;")
                .arg(inQueue, day, kinds);
        return QStringLiteral("select INFO_1001,INFO_1012,INFO_1004,loginid ,INFO_1031 %1%2 order by INFO_1031 ;")
            .arg(inQueue, kinds);
    }
    const QString plate = sqlLike(filter.plate, LikeMatch::Contains);
    if (filter.today)
        return QStringLiteral("select INFO_1001,INFO_1012,INFO_1004,loginid , INFO_1031 %1and INFO_1001 like %2 "
                              "\t\t\t\tand INFO_1031 like %3 %4 order by INFO_1031 ;")
            .arg(inQueue, plate, day, kinds);
    return QStringLiteral("select INFO_1001,INFO_1012,INFO_1004,loginid , INFO_1031 %1and INFO_1001 like %2 %3 "
                          "order by INFO_1031 ;")
        .arg(inQueue, plate, kinds);
}

QString plateLookupQuery(const QString &plate, const QString &kindCode)
{
    return QStringLiteral("select loginid from tb_vehicle_info where INFO_1001 = %1 and INFO_1012 = %2 ;")
        .arg(sqlText(plate), sqlText(kindCode));
}

QString queueStatusQuery(const QString &loginId)
{
    return QStringLiteral("select statusabout from tb_login_queu where loginid = %1 ; ").arg(sqlText(loginId));
}

QString inspectionQuery(DebugList view, const QString &loginId)
{
    const QString id = sqlText(loginId);
    switch (view) {
    case DebugList::Info:
        return QStringLiteral("SELECT DISTINCT tb_id_info.infoid, tb_id_info.infoname, tb_login_info.[value] \tFROM "
                              "tb_id_info INNER JOIN \t\t  tb_login_info ON tb_id_info.infoid = tb_login_info.infoid "
                              "\tWHERE (tb_login_info.loginid = %1) \tORDER BY tb_id_info.infoid ;")
            .arg(id);
    case DebugList::Items:
        return QStringLiteral(
                   "SELECT tb_login_item.lineid, tb_login_item.stationid, tb_login_item.devid,       "
                   "tb_login_item.itemid, tb_id_itemid.itemname,tb_login_item.status,tb_login_item.checkend\t  FROM "
                   "tb_login_item INNER JOIN\t  tb_id_itemid ON tb_login_item.itemid = tb_id_itemid.itemid\t  WHERE "
                   "tb_login_item.loginid = %1 order by tb_login_item.status "
                   "desc,tb_login_item.stationid,tb_login_item.devid,tb_login_item.itemid  ; ")
            .arg(id);
    case DebugList::Standards:
        return QStringLiteral(
                   "SELECT tb_login_std.lineid,tb_login_std.stationid,tb_login_std.devid,tb_login_std.paramid,"
                   "\t\t         tb_id_paramid.paramname,tb_login_std.paramlvalue,tb_login_std.paramhvalue     "
                   "            from tb_login_std ,tb_id_paramid where tb_login_std.paramid =  "
                   "tb_id_paramid.paramid and \t\t\t\t tb_login_std.loginid = %1 order by "
                   "tb_login_std.devid,tb_login_std.paramid")
            .arg(id);
    case DebugList::Checks:
        return QStringLiteral(
                   "select lineid,stationid,statusabout,endstatusabout,CheckOrder,status,EndStatus \t\t      "
                   "   from tb_login_check  where loginid = %1 order by stationid ;")
            .arg(id);
    case DebugList::Tasks:
        return QStringLiteral(
                   "select lineid,stationid,statusabout,status from tb_login_task  where loginid = %1 order by stationid ;")
            .arg(id);
    case DebugList::Queue: break;
    }
    return {};
}

QString resetNumberingStatement()
{
    return QStringLiteral("delete from  tb_report_number ; ");
}

bool isMotorcyclePlateKind(const QString &code)
{
    return kMotorcycleKinds.contains(code);
}

DebugQueryEditor::DebugQueryEditor(QObject *parent) : QObject(parent)
{
    for (DebugList which : {DebugList::Queue, DebugList::Info, DebugList::Items, DebugList::Standards,
                            DebugList::Checks, DebugList::Tasks})
        setColumns(which, 600);
}

void DebugQueryEditor::setColumns(DebugList which, int listClientWidth)
{
    const ListLayout layout = layoutOf(which);
    const int w = listClientWidth / layout.divisor;
    QList<int> widths;
    for (int offset : layout.offsets)
        widths << w + offset;
    if (which == DebugList::Queue && m_displaySwitch == 0) {
        widths[2] = 0;  // plate number and kind shown, the VIN hidden
    } else if (which == DebugList::Queue) {
        widths[0] = widths[1] = 0;
        widths[2] = w + 80;
    }
    QStringList entries;
    for (int column = 0; column < layout.titles.size(); ++column)
        entries << QStringLiteral("%1,%2").arg(layout.titles.at(column), QString::number(widths.at(column)));
    list(which).setColumns(entries.join(QLatin1Char(';')));
}

void DebugQueryEditor::open()
{
    m_displaySwitch = toInt(databaseEntryField(hostEntry::DebugQueryDisplay, 3));
    m_codeOf.clear();
    m_textOf.clear();
    m_plateKinds.clear();
    if (!sharedDb().isOpen())
        return;
    try {
        SqlCursor cursor = sharedDb().query(QStringLiteral("select * from tb_login_ini  order by infosubid ;"));
        while (cursor.next()) {
            const QString code = cursor.text(QStringLiteral("infosubid"));
            const QString text = cursor.text(QStringLiteral("infovalue_about"));
            if (cursor.toInt(QStringLiteral("infoid")) == 1012)
                m_plateKinds << text;
            m_codeOf.insert(text, code);
            m_textOf.insert(code, text);
        }
    } catch (const DbError &error) {
        reportDbError(kNotice, kReadFailed, error);
    }
    m_tables = TableBrowser::tables();
}

void DebugQueryEditor::refreshQueue(const QueueFilter &filter)
{
    if (!sharedDb().isOpen())
        return;
    ReportListModel &queue = list(DebugList::Queue);
    queue.deleteAllRows();
    try {
        SqlCursor cursor = sharedDb().query(queueQuery(filter));
        while (cursor.next()) {
            const QString kind = cursor.text(QStringLiteral("INFO_1012"));
            const int row = queue.appendRow(cursor.text(QStringLiteral("INFO_1001")));
            queue.setItemText(row, 1, m_textOf.value(kind, kind));
            queue.setItemText(row, 2, cursor.text(QStringLiteral("INFO_1004")));
            queue.setItemText(row, 3, cursor.text(QStringLiteral("loginid")));
            queue.setItemText(row, 4, cursor.text(QStringLiteral("INFO_1031")));
            const bool motorcycle = isMotorcyclePlateKind(kind);
            queue.setBackgroundColor(row, -1, motorcycle ? kQueueGrey : kQueueLight);
            queue.setTextColor(row, -1, motorcycle ? kWhite : listcolor::Blue);
        }
    } catch (const DbError &error) {
        reportDbError(kNotice, kReadFailed, error);
    }
}

void DebugQueryEditor::setLoginId(const QString &loginId)
{
    m_loginId = loginId;
    emit loginIdChanged(loginId);
}

void DebugQueryEditor::inquire(const QString &plate, const QString &kindText, const QString &typedLoginId)
{
    if (plate.isEmpty() && typedLoginId.isEmpty()) {
        prompt().message(kNotice, QStringLiteral("请输入车牌号码或Loginid"), PromptIcon::Exclamation);
        return;
    }
    if (plate.isEmpty()) {
        setLoginId(typedLoginId);
        loadViews();
        return;
    }
    if (kindText.isEmpty()) {
        prompt().message(kNotice, QStringLiteral("请选择车牌颜色!"), PromptIcon::Exclamation);
        return;
    }
    if (!sharedDb().isOpen())
        return;  // the look-up fails without a connection
    QString found;
    try {
        SqlCursor cursor = sharedDb().query(plateLookupQuery(plate, m_codeOf.value(kindText)));
        while (cursor.next())
            found = cursor.text(QStringLiteral("loginid"));
    } catch (const DbError &error) {
        reportDbError(kNotice, kReadFailed, error);
        return;
    }
    setLoginId(found);
    loadViews();
}

void DebugQueryEditor::chooseQueueRow(int row)
{
    const ReportListModel &queue = list(DebugList::Queue);
    if (row < 0 || row >= queue.rowCount())
        return;
    setContinuous(false);
    setLoginId(queue.itemText(row, 3));
    showQueueStatus();
    if (!m_loginId.isEmpty())
        loadViews();
}

void DebugQueryEditor::showQueueStatus()
{
    m_queueStatus = QStringLiteral("无记录");
    if (sharedDb().isOpen()) {
        try {
            SqlCursor cursor = sharedDb().query(queueStatusQuery(m_loginId));
            while (cursor.next())
                m_queueStatus = cursor.text(QStringLiteral("statusabout"));
        } catch (const DbError &) {
            m_queueStatus = QStringLiteral("无记录");  // the queue status shows no message
        }
    }
    emit queueStatusChanged(m_queueStatus);
}

void DebugQueryEditor::loadViews()
{
    for (DebugList view :
         {DebugList::Info, DebugList::Items, DebugList::Standards, DebugList::Checks, DebugList::Tasks})
        loadView(view);
}

void DebugQueryEditor::loadView(DebugList view)
{
    if (!sharedDb().isOpen() || (view == DebugList::Items && m_loginId.isEmpty()))
        return;
    list(view).deleteAllRows();
    try {
        SqlCursor cursor = sharedDb().query(inspectionQuery(view, m_loginId));
        while (cursor.next())
            appendViewRow(view, cursor);
    } catch (const DbError &error) {
        reportDbError(kNotice, kReadFailed, error);
    }
}

void DebugQueryEditor::appendViewRow(DebugList view, const SqlCursor &cursor)
{
    ReportListModel &model = list(view);
    const QStringList fields = layoutOf(view).fields;
    const int row = model.appendRow(cursor.text(fields.first()));
    for (int column = 1; column < fields.size(); ++column)
        model.setItemText(row, column, cursor.text(fields.at(column)));
    if (view == DebugList::Info) {
        const QString value = model.itemText(row, 2);
        model.setItemText(row, 2, m_textOf.value(value, value));
        const int info = toInt(model.itemText(row, 0));
        if (info == 1001 || info == 1004 || info == 1012) {
            model.setTextColor(row, -1, info == 1012 ? kMagenta : kWhite);
            model.setBackgroundColor(row, -1, kDark);
        }
    } else if (view == DebugList::Items) {
        const auto [label, color] = itemStatus(model.itemText(row, 5));
        model.setItemText(row, 5, label);
        model.setTextColor(row, -1, color);
    }
}

void DebugQueryEditor::setContinuous(bool on)
{
    if (m_continuous == on)
        return;
    m_continuous = on;
    emit continuousChanged(on);
}

void DebugQueryEditor::tick()
{
    if (m_continuous)
        loadView(DebugList::Items);
}

void DebugQueryEditor::resetNumbering()
{
    if (!sharedDb().isOpen())
        return;
    if (prompt().message(kNotice, QStringLiteral("确定要将编号归零吗?确定(执行),取消"), PromptIcon::Question,
                         PromptButtons::OkCancel, PromptButton::Cancel)
        != PromptButton::Ok)
        return;
    try {
        sharedDb().exec(resetNumberingStatement());
    } catch (const DbError &error) {
        reportDbError(kNotice, QStringLiteral("检测编号归零失败!"), error);
        return;
    }
    prompt().message(kNotice, QStringLiteral("检测编号归零成功!"), PromptIcon::Information);
}

}  // namespace dbkeel
