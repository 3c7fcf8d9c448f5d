#pragma once
// The table browser of the debug query screen: any tb_ table, with a condition, streamed into its
// list through the job runner on a connection of its own, in chunks, stoppable, at most kListedRows
// rows listed.

#include "core/SqlDialect.h"
#include "screens/JobRunner.h"
#include "screens/ScreenStatus.h"
#include "widgets/ReportListModel.h"

#include <QObject>

#include <memory>

namespace dbkeel {

QString browseQuery(const QString &table, const QString &condition);

class TableBrowser : public QObject {
    Q_OBJECT

public:
    explicit TableBrowser(QObject *parent = nullptr);

    ReportListModel &list() { return m_list; }
    ScreenStatus &status() { return m_status; }  // left: the browse's status line
    JobRunner &runner() { return m_runner; }
    QString table() const { return m_table; }
    int columnCount() const { return m_columns; }
    void setConnectString(const QString &text) { m_connectString = text; }

    // The tb_ tables of the database, for the drop-down.
    static QStringList tables();
    // A table chosen in the drop-down: its columns, each a third of the list's width, unless it is the
    // table loaded already (or a browse runs).
    void chooseTable(const QString &table, int listClientWidth);
    // "查询": asks, then streams the rows of the loaded table that meet `condition`.
    void browse(const QString &condition);
    void stop() { m_runner.stop(); }
    bool isRunning() const { return m_runner.isRunning(); }

signals:
    void running(bool running);

private:
    void takeRows(const QList<QStringList> &rows);
    void finish(bool stopped, const QString &error);

    ReportListModel m_list;
    ScreenStatus m_status;
    JobRunner m_runner{this};
    QString m_table, m_connectString;
    int m_columns = 0;
    std::shared_ptr<long long> m_unlisted = std::make_shared<long long>(0);  // rows read past the bound
};

}  // namespace dbkeel
