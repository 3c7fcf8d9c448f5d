#pragma once
// The GUI-free part of the system log screen SystemLogDialog: tb_sys_log filtered by time, operator or
// program, and chosen records deleted.

#include "widgets/ReportListModel.h"

#include <QObject>

#include <optional>

namespace dbkeel {

enum class LogFilter { None, DateTime, Operator, Program };

// " where <column> like '%T%' " for the filter, empty for None.
QString logCondition(LogFilter filter, const QString &text);
QString logQuery(const QString &condition);
QString logDeleteStatement(const QString &id);

class SystemLogEditor : public QObject {
    Q_OBJECT

public:
    static constexpr int IdColumn = 0;

    explicit SystemLogEditor(QObject *parent = nullptr, int listClientWidth = 600);

    ReportListModel &list() { return m_list; }
    void setColumns(int listClientWidth);
    static QStringList filterNames();  // the drop-down, in LogFilter order
    // "删除" is offered to users of level 0 and 1 only.
    static bool mayDelete();
    // The text the edit takes when the filter is chosen: the time of now for DateTime, else none.
    static std::optional<QString> filterPreset(LogFilter filter);

    // "查询": the list refilled; the window's title then counts the rows.
    void query(LogFilter filter, const QString &text);
    // "删除": every row of `rows` deleted, then the query again.
    void deleteRows(const QList<int> &rows, LogFilter filter, const QString &text);

signals:
    void titleChanged(const QString &title);

private:
    ReportListModel m_list;
};

}  // namespace dbkeel
