#include "core/LineTree.h"

#include "core/AppLog.h"
#include "core/AppState.h"
#include "core/SchemaUpgrade.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "core/StationRegistry.h"
#include "platform/Text.h"
#include "widgets/ListColor.h"
#include "widgets/ReportListModel.h"

#include <QSet>

namespace dbkeel {

namespace {

int addNode(LineTree &tree, TreeNode::Kind kind, const QString &text, int bitmap, int parent)
{
    TreeNode node;
    node.kind = kind;
    node.text = text;
    node.bitmap = bitmap;
    node.parent = parent;
    node.id = quintptr(tree.nodes.size() + 1);
    tree.nodes.append(node);
    return int(tree.nodes.size()) - 1;
}

// Builds the tree while it fills the registry; registry entries beyond its capacity are dropped.
class TreeBuilder {
public:
    TreeBuilder(SharedDb &db, const std::function<void(const LineTree &)> &selected) : m_db(db), m_selected(selected) {}

    LineTree build();

private:
    std::optional<QList<LayoutLine>> readLines();
    bool addStations(const LayoutLine &line);
    bool addComputers();
    void addRegistryEntry(RegistryEntry entry);
    void select(int visibleRoot, int node);

    SharedDb &m_db;
    const std::function<void(const LineTree &)> &m_selected;
    LineTree m_tree;
    int m_lastLine = -1;
    QSet<QString> m_addressKeys;
    QSet<QString> m_connectedKeys;  // addresses that answered before this build: they stay connected
    bool m_registryFull = false;
};

LineTree TreeBuilder::build()
{
    runUpgradeGroup2Tables(m_db);
    const int root = addNode(m_tree, TreeNode::Root, QStringLiteral("系统检测线关系信息"), treebitmap::Root, -1);
    if (!runUpgradeGroup2Columns(m_db))
        return m_tree;
    const std::optional<QList<LayoutLine>> lines = readLines();
    if (!lines || lines->isEmpty())
        return m_tree;  // the registry keeps the fallback list of dbtool.ini
    for (const RegistryEntry &entry : stationRegistry().entries())
        if (entry.connected)
            m_connectedKeys.insert(entry.addressKey());
    stationRegistry().clear();
    for (const LayoutLine &line : *lines)
        if (!addStations(line))
            return m_tree;
    select(root, m_lastLine);
    if (!addComputers())
        return m_tree;
    AddLog(QStringLiteral("总共有%1工位或计算机").arg(m_addressKeys.size()), true);
    return m_tree;
}

std::optional<QList<LayoutLine>> TreeBuilder::readLines()
{
    QList<LayoutLine> lines;
    try {
        lines = layoutLines(m_db);
    } catch (const DbError &error) {
        AddLog(QStringLiteral("查询线异常") + error.text(), false);
        DbReady = 0;
        return std::nullopt;
    }
    if (lines.size() > kMaxLines) {
        AddLog(QStringLiteral("检测线超过%1条,只显示前%1条").arg(kMaxLines), false);
        lines.resize(kMaxLines);
    }
    return lines;
}

bool TreeBuilder::addStations(const LayoutLine &line)
{
    try {
        int lineNode = -1;
        for (const LayoutStation &station : layoutStations(m_db, line.id)) {
            if (lineNode < 0) {
                lineNode = addNode(m_tree, TreeNode::Line, QStringLiteral("[%1]%2").arg(line.id, line.name),
                                   treebitmap::Line, 0);
                m_lastLine = lineNode;
            }
            const int stationId = station.stationId;
            const QString &ip = station.ip, &port = station.port;
            const int node = addNode(m_tree, TreeNode::Station,
                                     QStringLiteral("[%1]工位(%2->%3)").arg(QString::number(stationId), ip, port),
                                     treebitmap::Station, lineNode);
            RegistryEntry entry;
            entry.station.ip = ip;
            entry.station.port = port;
            entry.station.name = QStringLiteral("[%1]线,[%2]工位").arg(line.id, QString::number(stationId));
            entry.treeNode = m_tree.nodes[node].id;
            entry.lineId = toInt(line.id);
            entry.stationId = stationId;
            entry.kind = 0;
            addRegistryEntry(entry);
        }
        return true;
    } catch (const DbError &error) {
        AddLog(QStringLiteral("查询线异常") + error.text(), false);
        return false;
    }
}

bool TreeBuilder::addComputers()
{
    try {
        SqlCursor cursor = m_db.query(QStringLiteral("select * from tb_login_ip_info order by PCType ;"));
        int root = -1, group = -1;
        bool stationGroupMade = false, otherGroupMade = false;
        while (cursor.next()) {
            if (root < 0)
                root = addNode(m_tree, TreeNode::Root, QStringLiteral("登录机及其他"), treebitmap::Root, -1);
            const int pcType = cursor.toInt(QStringLiteral("PCType"));
            bool &groupMade = pcType == 0 ? stationGroupMade : otherGroupMade;
            if (!groupMade) {
                group = addNode(m_tree, TreeNode::Group, cursor.text(QStringLiteral("statusstr")), treebitmap::Group,
                                root);
                groupMade = true;
            }
            RegistryEntry entry;
            entry.station.ip = cursor.text(QStringLiteral("LoginPCip"));
            entry.station.port = cursor.text(QStringLiteral("LoginPCport"));
            entry.station.name = cursor.text(QStringLiteral("LoginPCname"));
            const int node = addNode(m_tree, TreeNode::Computer,
                                     QStringLiteral("[%1]%2(%3->%4)")
                                         .arg(cursor.text(QStringLiteral("LoginPCno")), entry.station.name,
                                              entry.station.ip, entry.station.port),
                                     treebitmap::Computer, group);
            entry.treeNode = m_tree.nodes[node].id;
            entry.lineId = cursor.toInt(QStringLiteral("ID"));
            entry.stationId = pcType;
            entry.kind = 1;
            addRegistryEntry(entry);
        }
        cursor.close();  // the selection's own queries run on the connection
        if (root >= 0)
            select(root, group);
        return true;
    } catch (const DbError &error) {
        AddLog(QStringLiteral("查询登录异常") + error.text(), false);
        return false;
    }
}

void TreeBuilder::select(int visibleRoot, int node)
{
    m_tree.visibleRoot = visibleRoot;
    m_tree.selected = node;
    if (m_selected)
        m_selected(m_tree);
}

void TreeBuilder::addRegistryEntry(RegistryEntry entry)
{
    m_addressKeys.insert(entry.addressKey());
    entry.connected = m_connectedKeys.contains(entry.addressKey());
    if (stationRegistry().add(entry) || m_registryFull)
        return;
    m_registryFull = true;
    AddLog(QStringLiteral("工位或计算机超过%1台,其余的不在联网列表中").arg(StationRegistry::kCapacity), false);
}

// "title,width;…" with the widths filled in.
QString columns(const QString &format, const QList<int> &widths)
{
    QString text = format;
    for (int width : widths)
        text = text.arg(qMax(width, 0));
    return text;
}

void paintRow(ReportListModel &list, int row)
{
    list.setTextColor(row, -1, listcolor::Blue);
    list.setBackgroundColor(row, -1, listcolor::PaleGreen);
}

// The number of rows of a query, walking the result.
int countRows(SharedDb &db, const QString &query)
{
    SqlCursor cursor = db.query(query);
    while (cursor.next()) {
    }
    return int(cursor.rowsRead());
}

}  // namespace

QList<LayoutLine> layoutLines(SharedDb &db)
{
    QList<LayoutLine> lines;
    SqlCursor cursor = db.query(
        QStringLiteral("select DISTINCT lineid , linename from tb_line_info order by lineid ;"));
    while (cursor.next())
        lines.append({cursor.text(QStringLiteral("lineid")), cursor.text(QStringLiteral("linename"))});
    return lines;
}

QList<LayoutStation> layoutStations(SharedDb &db, const QString &lineId)
{
    QList<LayoutStation> stations;
    SqlCursor cursor = db.query(
        QStringLiteral("select DISTINCT stationid,stationip,stationport  from tb_line_info where lineid = %1 order by "
                       "stationid ;")
            .arg(sqlNumber(lineId)));
    while (cursor.next()) {
        LayoutStation station;
        station.stationId = cursor.toInt(QStringLiteral("stationid"));
        station.ip = cursor.text(QStringLiteral("stationip"));
        station.port = cursor.text(QStringLiteral("stationport"));
        if (station.port.isEmpty())
            station.port = QString::number(qint64(toInt(lineId)) * 10000 + qint64(station.stationId) * 100);
        stations.append(station);
    }
    return stations;
}

std::optional<LineTree> LoadLineTree(SharedDb &db, const std::function<void(const LineTree &)> &selected)
{
    if (!db.isOpen())
        return std::nullopt;
    return TreeBuilder(db, selected).build();
}

int bracketNumber(const QString &nodeText)
{
    const qsizetype open = nodeText.indexOf(QLatin1Char('['));
    if (open < 0)
        return 0;
    const qsizetype close = nodeText.indexOf(QLatin1Char(']'), open + 1);
    if (close < 0)
        return 0;
    return toInt(nodeText.mid(open + 1, close - open - 1));
}

TreeSelection selectionIds(const QString &selectedText, const QString &parentText)
{
    return {bracketNumber(parentText), bracketNumber(selectedText)};
}

QString deviceListColumns(int w)
{
    const int q = w / 4;
    return columns(QStringLiteral("设备号,%1;设备名称,%2;启动顺序,%3;端口,%4;工位组件路径,%5;备注,%6;工位计算机IP,%7"),
                   {q - 15, q + 30, q - 15, 0, q + 200, q + 200, 0});
}

QString itemListColumns(int w)
{
    const int d = w / 2;
    return columns(QStringLiteral("项目号,%1;项目名称,%2;备注,%3"), {d - 10, d + 40, 0});
}

QString processListColumns(int w)
{
    const int f = w / 3;
    return columns(QStringLiteral("进程名称,%1;计算机名称,%2;IP,%3;端口,%4"), {f + 50, f + 50, f + 50, 0});
}

QString computerListColumns(int w)
{
    const int b = w / 4;
    return columns(QStringLiteral("计算机名称,%1;IP地址,%2;端口,%3;连接状态,%4"), {b + 10, b + 10, b - 30, b});
}

void LoadStationDevices(SharedDb &db, int lineId, int stationId, ReportListModel &devices, ReportListModel &items)
{
    if (!db.isOpen())
        return;
    if (devices.rowCount() > 0) {
        devices.deleteAllRows();
        items.deleteAllRows();
    }
    try {
        SqlCursor cursor = db.query(
            QStringLiteral("select  devid ,runorder, devname ,stationip,stationport, devPath , devRemark from "
                           "tb_line_info where \t\tlineid=%1 and stationid = %2 order by runorder ;")
                .arg(sqlNumber(lineId), sqlNumber(stationId)));
        const QStringList fields = {QStringLiteral("devid"),    QStringLiteral("devname"),
                                    QStringLiteral("runorder"), QStringLiteral("stationport"),
                                    QStringLiteral("devPath"),  QStringLiteral("devRemark"),
                                    QStringLiteral("stationip")};
        while (cursor.next()) {
            const int row = devices.appendRow(cursor.text(fields[0]));
            for (int column = 1; column < fields.size(); ++column)
                devices.setItemText(row, column, cursor.text(fields[column]));
            paintRow(devices, row);
        }
    } catch (const DbError &error) {
        AddLog(QStringLiteral("查询工位异常") + error.text(), false);
    }
}

void LoadDeviceItems(SharedDb &db, int devId, ReportListModel &items)
{
    items.deleteAllRows();
    try {
        SqlCursor cursor = db.query(
            QStringLiteral(
                "select DISTINCT itemid , itemname from tb_login_lineindex where \t\tdevid=%1  order by itemid ;")
                .arg(devId));
        while (cursor.next()) {
            const int row = items.appendRow(cursor.text(QStringLiteral("itemid")));
            items.setItemText(row, 1, cursor.text(QStringLiteral("itemname")));
            items.setItemText(row, 2, QStringLiteral("备注"));
            paintRow(items, row);
        }
    } catch (const DbError &error) {
        AddLog(QStringLiteral("查询项目异常") + error.text(), false);
    }
}

int deviceIdOfRow(const ReportListModel &devices, int row)
{
    return toInt(devices.itemText(row, 0));
}

void RefreshComputerList(ReportListModel &computers, int clientWidth)
{
    QSet<QString> ticked;  // by address: a redraw keeps the administrator's choice
    for (int row = 0; row < computers.rowCount(); ++row)
        if (computers.isChecked(row))
            ticked.insert(computers.itemText(row, 1) + computers.itemText(row, 2));
    computers.setColumns(computerListColumns(clientWidth));
    computers.setCheckBoxes(true);
    for (const RegistryEntry &entry : stationRegistry().entries()) {
        const int row = computers.appendRow(entry.station.name);
        computers.setChecked(row, ticked.contains(entry.addressKey()));
        computers.setItemText(row, 1, entry.station.ip);
        computers.setItemText(row, 2, entry.station.port);
        computers.setItemText(row, 3, entry.connected ? QStringLiteral("已连接") : QStringLiteral("断开"));
        computers.setTextColor(row, -1, listcolor::Blue);
        computers.setTextColor(row, 3, entry.connected ? listcolor::Green : listcolor::Red);
    }
}

void ShowCounts(SharedDb &db)
{
    if (!db.isOpen())
        return;
    struct Count {
        const char *query;
        const char *failure;
    };
    const Count queries[] = {{"SELECT DISTINCT lineid FROM tb_login_lineindex", "查询线异常"},
                             {"SELECT DISTINCT stationid FROM tb_login_lineindex", "查询工位异常"},
                             {"SELECT DISTINCT devid FROM tb_login_lineindex", "查询设备异常"}};
    QList<int> counts;
    for (const Count &count : queries) {
        try {
            counts << countRows(db, QString::fromLatin1(count.query));
        } catch (const DbError &error) {
            AddLog(QString::fromUtf8(count.failure) + error.text(), false);
            DbReady = 0;
            return;
        }
    }
    AddLog(QStringLiteral("当前系统含有:%1条线 , %2个工位 , %3个设备 ;(仅统计不重复数量)")
               .arg(QString::number(counts[0]), QString::number(counts[1]), QString::number(counts[2])),
           true);
}

}  // namespace dbkeel
