#pragma once
// The GUI-free part of the vehicle-type table design VehicleDesignDialog: the field definitions of the two
// vehicle-type data tables, the structure check that brings the data tables' columns in line with
// them, the structure file TypeIni.VEHSX, and the vehicle-type library's manager.

#include "core/SqlDialect.h"
#include "extensions/ExtensionComponent.h"
#include "screens/ScreenStatus.h"
#include "stats/GuardedStatement.h"
#include "stats/TextField.h"
#include "stats/VehicleDataTransfer.h"
#include "widgets/ReportListModel.h"

#include <QObject>
#include <QRect>

namespace dbkeel {

// One design: a definition table, the data table it shapes, its structure-file section.
struct VehicleDesign {
    QString caption, definitionTable, dataTable, section;
};
const QList<VehicleDesign> &vehicleDesigns();  // "车辆型号", "发动机型号"

// The input styles and data types with their codes, in the order offered.
const QList<QPair<int, QString>> &inputStyles();
const QList<QPair<int, QString>> &dataTypes();
// The text of a code ("" for a code outside the list) and back (0 for an unknown text).
QString codeText(const QList<QPair<int, QString>> &list, int code);
int textCode(const QList<QPair<int, QString>> &list, const QString &text);

// One field as the editors show it; style and type as texts, link as the id.
struct FieldDefinition {
    QString name, caption, style, type, link, defaultValue;
};

// Inserts the definition when its name is new; sets link, input style and data type either way.
QString definitionStoreStatement(Dialect dialect, const QString &table, const FieldDefinition &field);
GuardedStatement addDataColumnStatement(Dialect dialect, const QString &table, const QString &column);
GuardedStatement dropDataColumnStatement(Dialect dialect, const QString &table, const QString &column);
// "<folder>/TypeIni.VEHSX".
QString structureFilePath(const QString &folder);

class VehicleDesignEditor : public QObject {
    Q_OBJECT

public:
    enum Column {
        IdColumn,
        NameColumn,
        CaptionColumn,
        StyleColumn,
        TypeColumn,
        LinkColumn,
        RemarkColumn,
        DefaultColumn
    };

    explicit VehicleDesignEditor(QObject *parent = nullptr, int listClientWidth = 700);

    ReportListModel &list() { return m_list; }
    ScreenStatus &status() { return m_status; }
    VehicleDataTransfer &transfer() { return m_transfer; }

    void setColumns(int listClientWidth);
    // Opening: the link list. The vehicle-type library is opened by openLibrary.
    void load();
    QStringList links() const { return m_links; }    // "", then "id,name," per basic-information field
    QStringList values() const { return m_values; }  // the value texts of the chosen link

    void chooseTable(int design);  // 0 vehicle models, 1 engine models; -1 none
    int chosenTable() const { return m_design; }
    void chooseLink(const QString &link);
    // The editors' contents for a clicked row.
    FieldDefinition rowDefinition(int row) const;
    // The link entry that begins with `infoid` ("" for none).
    QString linkEntry(const QString &infoid) const;

    // "添加": updates the row of that name or appends one; nothing is stored. `link` is a link entry.
    void add(const FieldDefinition &field, const QString &link);
    void store();               // "更新"
    void deleteField(int row);  // double click
    bool checkStructure();      // "表结构校验"
    void exportStructure();     // "导出表结构"
    void importStructure();     // "导入表结构"

    // The vehicle-type library: loaded at opening, its manager shown over `area`.
    void openLibrary(const QString &path, QWidget *owner, const QRect &area);
    // "车型管理": true when the manager was shown (the window then polls the state).
    bool showManager(const QRect &area);
    // A tick of the window's timer: true when the library reports its manager done.
    bool managerDone();
    // Closing: stops the data worker (false while it still runs), then ends the library.
    bool close();

signals:
    void tableChanged();

private:
    bool checkDesign(const VehicleDesign &design);
    bool storeAll(const QString &table, const QList<FieldDefinition> &fields);
    QString tableName() const;
    void appendRow(const QStringList &cells);

    ReportListModel m_list;
    ScreenStatus m_status;
    VehicleDataTransfer m_transfer{m_status, VehicleDataTransfer::Window::Design, this};
    ExtensionComponent m_library;
    int m_design = -1;
    QStringList m_links, m_values;
};

}  // namespace dbkeel
