#pragma once
// The GUI-free part of the statement workspace SqlWorkspaceDialog: any SQL text executed on the
// installation's database through the job runner (stoppable on the driver), a running log of results,
// and the rows of a query in a result list.

#include "screens/JobRunner.h"
#include "screens/ScreenStatus.h"
#include "widgets/ReportListModel.h"

#include <QElapsedTimer>
#include <QObject>

#include <memory>

namespace dbkeel {

struct WorkspaceOutcome;

class SqlWorkspaceEditor : public QObject {
    Q_OBJECT

public:
    explicit SqlWorkspaceEditor(QObject *parent = nullptr);

    QString log() const { return m_log; }
    // The rows of the first result set the text returns (its first kListedRows, then a line telling
    // how many more there were).
    ReportListModel &result() { return m_result; }
    // Left: rows affected or returned and the time taken.
    ScreenStatus &status() { return m_status; }
    bool isRunning() const { return m_runner.isRunning(); }
    JobRunner &runner() { return m_runner; }
    // The connection a run opens (by default the shared connection's connect string).
    void setConnectString(const QString &text) { m_connectString = text; }

    // "执行...": runs the text as one batch (on the embedded database statement by statement).
    void execute(const QString &text);
    // "停止": cancels the running statement on the driver.
    void stop() { m_runner.stop(); }
    // "清除": the log emptied.
    void clearLog();

signals:
    void logChanged(const QString &log);
    void running(bool running);

private:
    void takeRows(const QList<QStringList> &rows);
    void finish(bool stopped, const QString &error);
    void appendLog(const QString &entry);

    ReportListModel m_result;
    ScreenStatus m_status;
    JobRunner m_runner{this};
    QString m_log, m_connectString;
    QElapsedTimer m_clock;
    std::shared_ptr<WorkspaceOutcome> m_outcome;
};

}  // namespace dbkeel
