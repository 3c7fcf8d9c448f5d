#pragma once
// The GUI-free part of the line, station and device configuration: the working list of device
// placements, the lookup maps, the row editing, the .LINEINF file and the Build that writes
// tb_line_info and tb_login_lineindex.

#include "console/StationRowEditor.h"
#include "screens/ScreenStatus.h"
#include "widgets/ListColor.h"
#include "widgets/ReportListModel.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <optional>

namespace dbkeel {

// The input fields above the list, as typed.
struct PlacementInput {
    QString line, lineTypeName, station, deviceName;
    QString address, port, brakeType, areaCode, bodyCode, netId, devicePath, remark;
};

// An input field that Add row refused (the dialog puts the focus into it).
enum class PlacementField { Line, LineType, Device, Station };

class LineLayoutEditor : public QObject {
    Q_OBJECT

public:
    enum Column {
        Order,
        Line,
        LineTypeName,
        Station,
        DeviceCode,
        DeviceName,
        Address,
        Port,
        BrakeType,
        AreaCode,
        BodyCode,
        NetId,
        DevicePath,
        Remark,
        ColumnCount
    };
    enum DuplicateColumn { DupLine, DupLineName, DupDeviceCode, DupDeviceName, DupItemCode, DupItemName };
    enum class BuildEnd {
        Stay,   // refused or stopped: the screen stays open
        Close,  // built (or the duplicates accepted): the screen closes
    };

    static inline const QString kFileSection = QStringLiteral("TBLINE");
    static inline const QString kDevicePort = QStringLiteral("15001");  // the port a device choice sets
    static inline const QString kLocalAddress = QStringLiteral("127.0.0.1");

    explicit LineLayoutEditor(QObject *parent = nullptr, int listClientWidth = 900, int duplicateClientWidth = 600);

    ReportListModel &list() { return m_list; }
    const ReportListModel &list() const { return m_list; }
    ReportListModel &duplicates() { return m_duplicates; }
    ScreenStatus &status() { return m_status; }
    void setColumns(int listClientWidth);
    void setDuplicateColumns(int listClientWidth);

    // What the screen does once it is shown: rebuild the run tables, load devices, line types, layout.
    void open();
    void rebuildRunTables();  // status texts in the hint line
    void loadDevices();
    void loadLineTypes();
    void loadLayout();

    const QStringList &deviceNames() const { return m_deviceNames; }
    const QStringList &lineTypeNames() const { return m_lineTypeNames; }
    QString deviceCode(const QString &deviceName) const { return m_deviceCodes.value(deviceName); }
    // line × 10000 + station × 100.
    static QString defaultPort(const QString &line, const QString &station);

    // "添加": the first field refused (its message shown), or nullopt when the row was added or
    // refused without a field to point at.
    std::optional<PlacementField> addRow(const PlacementInput &input);
    // True when the list holds this device at this station of this line and line type.
    bool isDuplicate(const QString &line, const QString &lineTypeName, const QString &deviceCode,
                     const QString &deviceName, const QString &station) const;

    // Edit row, in two steps around the station row editor.
    std::optional<StationRowRecord> prepareEdit(int row) const;
    void finishEdit(int row, const StationRowRecord &edited);

    // The row of the last click (-1 none); its device library's version goes into its remark.
    void selectRow(int row);
    int selectedRow() const { return m_selectedRow; }
    void moveUp();
    void moveDown();
    void clearList();         // "清除列表", after a question
    void deleteRow(int row);  // right click, after a question

    void exportFile();  // "导出": asks for a folder
    void importFile();  // "导入": asks for a file; the default file when cancelled
    // The working list as a .LINEINF file; false with `error`.
    bool writeLineFile(const QString &path, QString *error) const;
    void readLineFile(const QString &path);
    static QString defaultLineFile();

    // "建立".
    BuildEnd build();

signals:
    // The duplicate report is filled and about to be asked about: the dialog shows its window.
    void duplicatesFound();

private:
    void appendRow(const QStringList &columns, ListColor color);
    QStringList rowTexts(int row) const;
    void moveRow(int from, int to);
    bool checkLineTypes();
    bool writeLayout();
    bool writeItemIndex();
    bool reportDuplicates();
    ListColor positionColor() const;

    ReportListModel m_list, m_duplicates;
    ScreenStatus m_status;
    QStringList m_deviceNames, m_lineTypeNames;
    QHash<QString, QString> m_deviceCodes, m_lineTypeCodes;  // name to code; a later entry of the same name wins
    int m_selectedRow = -1;
};

// The records of a line file (.LINEINF) in number order, each its LineLayoutEditor::ColumnCount fields;
// nothing when its num is not above 0 (the list then stays as it is).
std::optional<QList<QStringList>> readLineRecords(const QString &path);

}  // namespace dbkeel
