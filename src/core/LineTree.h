#pragma once
// The main window's views as the database describes them, without widgets: the line tree (as a
// description the window turns into its tree control), the station registry filled from it, the
// device and item lists, the computer list and the counts line.

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace dbkeel {

class ReportListModel;
class SharedDb;

// Bitmap resources drawn with the tree nodes.
namespace treebitmap {
inline constexpr int Root = 178, Line = 173, Station = 174, Group = 173, Computer = 174;
}

struct TreeNode {
    enum Kind { Root, Line, Station, Group, Computer };
    Kind kind = Root;
    QString text;
    int bitmap = treebitmap::Root;
    int parent = -1;  // index of the parent node in LineTree::nodes; -1 for a root
    // The node's key, 1 + its index: what stationRegistry() entries carry as treeNode.
    quintptr id = 0;
};

struct LineTree {
    QList<TreeNode> nodes;  // every parent comes before its children, siblings in display order
    int visibleRoot = -1;   // the root to make visible
    int selected = -1;      // the node to select; -1 for none
};

// Upper bounds of one load: lines beyond the first kMaxLines are not shown; the registry holds at most
// StationRegistry::kCapacity computers (the rest are shown but not addressed).
inline constexpr int kMaxLines = 30;

// A line of the layout and its stations as the console addresses them.
struct LayoutLine {
    QString id;
    QString name;
};
struct LayoutStation {
    int stationId = 0;
    QString ip;
    QString port;  // lineid × 10000 + stationid × 100 when tb_line_info has none
};
// The distinct lines of tb_line_info in line order. Throws DbError.
QList<LayoutLine> layoutLines(SharedDb &db);
// The distinct stations of one line in station order. Throws DbError.
QList<LayoutStation> layoutStations(SharedDb &db, const QString &lineId);

// Runs group 2 of the schema upgrade, reads lines, stations and tb_login_ip_info and rebuilds
// stationRegistry(). Nothing (nullopt) when the connection is not open; otherwise the tree, which is
// root 1 alone when the upgrade or the reading failed early. `selected` is called at each moment
// the load selects a node — the last line once the lines are read, then the last computer group —
// with the tree built so far, so that the view selects it then (and logs it before the summary).
std::optional<LineTree> LoadLineTree(SharedDb &db, const std::function<void(const LineTree &)> &selected = {});

// The integer between the first "[" and the following "]"; 0 without a bracket.
int bracketNumber(const QString &nodeText);
struct TreeSelection {
    int lineId = 0;
    int stationId = 0;
};
// The ids of a selected node: the station from its text, the line from its parent's text.
TreeSelection selectionIds(const QString &selectedText, const QString &parentText);

// Column specifications of the main lists for a list of client width w.
QString deviceListColumns(int w);
QString itemListColumns(int w);
QString processListColumns(int w);
QString computerListColumns(int w);

// The devices of a station into the device list (the item list is cleared with it).
void LoadStationDevices(SharedDb &db, int lineId, int stationId, ReportListModel &devices, ReportListModel &items);
// The test items of a device into the item list.
void LoadDeviceItems(SharedDb &db, int devId, ReportListModel &items);
// The id of a device row (column 0), 0 when there is no such row.
int deviceIdOfRow(const ReportListModel &devices, int row);
// One row per registry entry: name, IP, port and the connection state; rows ticked before stay ticked.
void RefreshComputerList(ReportListModel &computers, int clientWidth);
// The counts line "当前系统含有:…" from tb_login_lineindex.
void ShowCounts(SharedDb &db);

}  // namespace dbkeel
