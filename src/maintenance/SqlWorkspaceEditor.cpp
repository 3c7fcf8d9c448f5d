#include "maintenance/SqlWorkspaceEditor.h"

#include "core/AppState.h"
#include "core/Database.h"
#include "core/SharedDb.h"
#include "maintenance/ListedRows.h"

namespace dbkeel {

// What a run found, written by its job and read by the window once the job has ended.
struct WorkspaceOutcome {
    bool returnedRows = false;
    long long rowsReturned = 0;
    long long rowsAffected = 0;
};

namespace {

constexpr int kChunkRows = 500;

// The rows of the result set the cursor is on go to the window, its column names first.
void listRows(JobContext &job, SqlCursor &cursor, WorkspaceOutcome &outcome)
{
    outcome.returnedRows = true;
    QList<QStringList> chunk{cursor.columnNames()};
    while (!job.stopRequested() && cursor.next()) {
        if (++outcome.rowsReturned > kListedRows)
            continue;  // counted, not listed
        QStringList row;
        for (int column = 0; column < cursor.columnCount(); ++column)
            row << cursor.text(column);
        chunk.append(row);
        if (chunk.size() >= kChunkRows)
            job.addRows(std::exchange(chunk, {}));
    }
    job.addRows(chunk);
}

// Reads every result of the text's statements: the first result set is listed, the counts are summed,
// and the failures of the statements, all of them, end the job as its error. (The embedded database
// runs the text statement by statement and stops at the first failure.)
JobRunner::Job workspaceJob(const QStringList &statements, std::shared_ptr<WorkspaceOutcome> outcome)
{
    return [statements, outcome](JobContext &job) {
        QStringList errors;
        for (const QString &statement : statements) {
            if (job.stopRequested() || !errors.isEmpty())
                break;
            SqlCursor cursor = job.db().batch(statement);
            do {
                if (cursor.columnCount() > 0 && !outcome->returnedRows)
                    listRows(job, cursor, *outcome);
            } while (!job.stopRequested() && cursor.nextResultSet());
            outcome->rowsAffected += cursor.rowsAffected();
            errors << cursor.errors();
        }
        if (!errors.isEmpty())
            throw DbError(errors.join(u'\n'));
    };
}

}  // namespace

SqlWorkspaceEditor::SqlWorkspaceEditor(QObject *parent) : QObject(parent)
{
    connect(&m_runner, &JobRunner::rowsReady, this, &SqlWorkspaceEditor::takeRows);
    connect(&m_runner, &JobRunner::finished, this, &SqlWorkspaceEditor::finish);
}

void SqlWorkspaceEditor::execute(const QString &text)
{
    if (text.isEmpty() || !sharedDb().isOpen() || m_runner.isRunning())
        return;
    const QStringList statements = sharedDb().dialect() == Dialect::Sqlite ? splitStatements(text) : QStringList{text};
    m_result.setColumns(QString());
    m_status.setLeft(QStringLiteral("正在执行..."));
    m_outcome = std::make_shared<WorkspaceOutcome>();
    m_clock.start();
    m_runner.start(workspaceJob(statements, m_outcome), m_connectString.isEmpty() ? connectString() : m_connectString);
    emit running(true);
}

void SqlWorkspaceEditor::takeRows(const QList<QStringList> &rows)
{
    QList<QStringList> data = rows;
    if (m_result.columnCount() == 0 && !data.isEmpty()) {
        QStringList columns;
        for (const QString &name : data.takeFirst())
            columns << QStringLiteral("%1,120").arg(QString(name).remove(QLatin1Char(';')).remove(QLatin1Char(',')));
        m_result.setColumns(columns.join(QLatin1Char(';')));
    }
    m_result.appendRows(data);
}

void SqlWorkspaceEditor::finish(bool stopped, const QString &error)
{
    const double seconds = m_clock.elapsed() / 1000.0;
    appendUnlistedRowsLine(m_result, m_outcome->rowsReturned);
    QStringList counts;
    if (m_outcome->returnedRows)
        counts << QStringLiteral("返回%1行").arg(m_outcome->rowsReturned);
    if (!m_outcome->returnedRows || m_outcome->rowsAffected > 0)
        counts << QStringLiteral("影响%1行").arg(m_outcome->rowsAffected);
    const QString count = counts.join(u',');
    m_status.setLeft(QStringLiteral("%1,用时%2秒").arg(count, QString::number(seconds, 'f', 3)));
    if (stopped) {
        appendLog(QStringLiteral("执行已停止"));
    } else if (!error.isEmpty()) {
        DbReady = 0;
        appendLog(error);
    } else {
        appendLog(QStringLiteral("执行成功!"));
    }
    emit running(false);
}

void SqlWorkspaceEditor::appendLog(const QString &entry)
{
    m_log += entry + QStringLiteral("\r\n\r\n");
    emit logChanged(m_log);
}

void SqlWorkspaceEditor::clearLog()
{
    m_log.clear();
    emit logChanged(m_log);
}

}  // namespace dbkeel
