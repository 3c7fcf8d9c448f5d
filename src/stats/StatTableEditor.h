#pragma once
// The GUI-free part of the statistics table builder StatTableDialog: the design of tb_stat_all from the
// element dictionaries (a column per identifier, named by the prefix of its attribute), creating,
// dropping, scripting, and the statistics library's build on a worker.

#include "core/SqlDialect.h"
#include "extensions/StatisticsLibrary.h"
#include "screens/JobRunner.h"
#include "screens/ScreenStatus.h"
#include "stats/GuardedStatement.h"
#include "widgets/ReportListModel.h"

#include <QObject>
#include <QPair>

#include <chrono>
#include <memory>

namespace dbkeel {

// One column of the script: what the catalogue says of it.
struct ScriptColumn {
    QString name, type, length, collation;
    bool nullable = true;
    bool identity = false;
};

inline const QString kStatCollation = QStringLiteral("Chinese_PRC_CI_AS");

// The types offered, in order, with the length each puts into the length field.
const QList<QPair<QString, int>> &statTypes();
// The length of a type of that list, empty for any other.
QString statTypeLength(const QString &type);
// "Chinese_PRC_CI_AS" for the char family, empty otherwise.
QString statCollation(const QString &type);
// The column prefix of a field attribute ("判定等级" → "JUDGE_DJ_"), empty for an unknown one.
QString statColumnPrefix(const QString &attribute);
// The attributes a source table offers, in order.
QStringList statAttributes(const QString &sourceTable);
// Which column of a source row holds the identifier (itemid, paramid: the second; infoid: the first).
int statIdentifierColumn(const QString &sourceTable);

QString statBaseTableStatement(Dialect dialect);
// Adds the column unless the table lacks it or already has it; a char-family type takes its length.
GuardedStatement statColumnStatement(Dialect dialect, const QString &name, const QString &type, const QString &length,
                                     const QString &collation);
QString statDropStatement(Dialect dialect);
// The existing columns: ColumnsName, Stringflag (collation), DateType, DateLength; on SQL Server also Remark,
// the column's description, from SysProperties on 2000 (major 8) and sys.extended_properties from 2005.
QString statColumnsQuery(Dialect dialect, int sqlServerMajor);
// The script's column query (SQL Server of major version `sqlServerMajor`) for a table.
QString statScriptColumnsQuery(const QString &table, int sqlServerMajor);
// The T-SQL script: drop the table when it exists, create it with these columns; empty without columns.
QString statScriptText(const QString &table, const QList<ScriptColumn> &columns);
// The path of the script in a chosen folder.
QString statScriptPath(const QString &folder);
// "<entry 115>/DayTally" with the platform's library suffix.
QString statisticsLibraryPath();

// The status line handed to the statistics library: it calls setText from its own thread, queued.
class StatusLineRelay : public QObject {
    Q_OBJECT

public:
    StatusLineRelay(ScreenStatus &status, QObject *parent) : QObject(parent), m_status(status) {}
    Q_INVOKABLE void setText(const QString &text) { m_status.setLeft(text); }

private:
    ScreenStatus &m_status;
};

class StatTableEditor : public QObject {
    Q_OBJECT

public:
    static constexpr int NameColumn = 0, TypeColumn = 1, LengthColumn = 2, CollationColumn = 3;
    static constexpr std::chrono::milliseconds kCloseWait{500};

    explicit StatTableEditor(QObject *parent = nullptr, int sourceClientWidth = 600);

    ReportListModel &source() { return m_source; }
    ReportListModel &fields() { return m_fields; }
    ScreenStatus &status() { return m_status; }
    StatisticsLibrary &library() { return m_library; }

    void setColumns(int sourceClientWidth);
    // Opening: the source tables, the existing columns, the statistics library.
    void load(const QString &libraryPath = statisticsLibraryPath());
    QStringList sourceTables() const { return m_sourceTables; }
    QString loadedTable() const { return m_loadedTable; }
    QStringList attributes() const { return m_attributes; }

    void chooseSourceTable(const QString &table);
    void setAttribute(const QString &attribute) { m_attribute = attribute; }
    // Sets the length from the type list.
    void chooseType(const QString &type);
    void setLength(const QString &length) { m_length = length; }
    QString type() const { return m_type; }
    QString length() const { return m_length; }

    // A planned field; false for a duplicate (same name and type).
    bool addField(const QString &name, const QString &type, const QString &length, ListColor color);
    void addChecked();  // "(添加单个) >"
    void addAll();      // "(添加全部) >>"
    void removeAll() { m_fields.deleteAllRows(); }
    void removeField(int row) { m_fields.deleteRow(row); }

    void create();           // "建立"
    void dropTable();        // "删除重建"
    void exportScript();     // "导出统计表"
    void importScript();     // "导入统计表"
    void buildStatistics();  // "建立统计数据"
    bool isBuilding() const { return m_build.isRunning(); }
    // Closing: waits a little for a running build; releases the library unless the build still runs.
    // False while it runs (the window then stays open).
    bool close();

signals:
    // Create or build running: the build, create, drop and cancel buttons are greyed.
    void busy(bool running);
    void attributesChanged(const QStringList &attributes);
    void lengthChanged(const QString &length);

private:
    void loadSourceTables();
    void loadExistingFields();
    void loadLibrary(const QString &path);
    void addSourceRows(bool onlyChecked, const QString &attribute);
    QString scriptText(SharedDb &db);

    ReportListModel m_source, m_fields;
    ScreenStatus m_status;
    StatusLineRelay m_statusLine{m_status, this};
    StatisticsLibrary m_library;  // outlives the build's worker below
    JobRunner m_build{this};
    std::shared_ptr<bool> m_built = std::make_shared<bool>(false);  // the running build's outcome
    int m_sourceWidth = 600;
    QStringList m_sourceTables, m_attributes;
    QString m_loadedTable, m_attribute, m_type, m_length;
};

}  // namespace dbkeel
