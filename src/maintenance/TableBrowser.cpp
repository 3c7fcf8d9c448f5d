#include "maintenance/TableBrowser.h"

#include "core/Database.h"
#include "core/SharedDb.h"
#include "maintenance/ListedRows.h"
#include "platform/Prompt.h"
#include "screens/DbErrorReport.h"

#include <QElapsedTimer>

namespace dbkeel {

QString browseQuery(const QString &table, const QString &condition)
{
    if (condition.isEmpty())
        return QStringLiteral("select * from %1 ;").arg(table);
    return QStringLiteral("select * from %1 %2 ;").arg(table, condition);
}

namespace {

constexpr int kChunkRows = 1000;
constexpr int kChunkMilliseconds = 50;  // the first rows show at once even when rows come slowly
const QString kNotice = QStringLiteral("提示");

JobRunner::Job browseJob(const QString &statement, int columns, std::shared_ptr<long long> unlisted)
{
    return [statement, columns, unlisted](JobContext &job) {
        long long read = 0;
        SqlCursor cursor = job.db().query(statement);
        QList<QStringList> chunk;
        QElapsedTimer sent;
        sent.start();
        while (!job.stopRequested() && cursor.next()) {
            if (++read > kListedRows) {
                ++*unlisted;
                continue;
            }
            QStringList row;
            row.reserve(columns);
            for (int column = 0; column < columns; ++column)
                row << listedValue(cursor.text(column));
            chunk.append(std::move(row));
            if (chunk.size() >= kChunkRows || sent.elapsed() >= kChunkMilliseconds) {
                job.addRows(std::exchange(chunk, {}));
                sent.restart();
            }
        }
        job.addRows(chunk);
    };
}

}  // namespace

TableBrowser::TableBrowser(QObject *parent) : QObject(parent)
{
    connect(&m_runner, &JobRunner::rowsReady, this, &TableBrowser::takeRows);
    connect(&m_runner, &JobRunner::finished, this, &TableBrowser::finish);
}

QStringList TableBrowser::tables()
{
    QStringList names;
    if (!sharedDb().isOpen())
        return names;
    try {
        SqlCursor cursor = sharedDb().query(userTablesQuery(sharedDb().dialect(), QStringLiteral("tb_%")));
        while (cursor.next())
            names << cursor.text(QStringLiteral("name"));
    } catch (const DbError &error) {
        reportDbError(kNotice, QStringLiteral("查询线异常"), error);
    }
    return names;
}

void TableBrowser::chooseTable(const QString &table, int listClientWidth)
{
    if (table.isEmpty() || table == m_table || isRunning() || !sharedDb().isOpen())
        return;
    m_table = table;
    m_list.setColumns(QString());
    m_columns = 0;
    QStringList entries;
    try {
        SqlCursor cursor = sharedDb().query(tableColumnsQuery(sharedDb().dialect(), table));
        while (cursor.next())
            entries << QStringLiteral("%1,%2").arg(cursor.text(QStringLiteral("name")),
                                                   QString::number(listClientWidth / 3));
    } catch (const DbError &error) {
        reportDbError(kNotice, QStringLiteral("查询线异常"), error);
    }
    m_columns = int(entries.size());
    if (m_columns > 0)
        m_list.setColumns(entries.join(QLatin1Char(';')));
}

void TableBrowser::browse(const QString &condition)
{
    if (m_columns == 0 || m_table.isEmpty() || isRunning())
        return;
    if (prompt().message(kNotice, QStringLiteral("确定要查询,如果该表数据较多,则会等待很久?确定(查询),取消"),
                         PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel)
        != PromptButton::Ok)
        return;
    m_list.deleteAllRows();
    m_status.setLeft(QStringLiteral("请稍等,正在查询中..."));
    m_unlisted = std::make_shared<long long>(0);
    m_runner.start(browseJob(browseQuery(m_table, condition), m_columns, m_unlisted),
                   m_connectString.isEmpty() ? connectString() : m_connectString);
    emit running(true);
}

void TableBrowser::takeRows(const QList<QStringList> &rows)
{
    m_list.appendRows(rows);
    m_status.setLeft(QStringLiteral("查询中...[%1]").arg(m_list.rowCount() - 1));
}

void TableBrowser::finish(bool stopped, const QString &error)
{
    const long long read = m_list.rowCount() + *m_unlisted;
    appendUnlistedRowsLine(m_list, read);
    if (stopped) {
        m_status.setLeft(QStringLiteral("查询已停止,共查询到[%1]条记录").arg(read));
    } else if (!error.isEmpty()) {
        m_status.setLeft(QStringLiteral("查询异常"));
        reportDbError(kNotice, QStringLiteral("查询线异常"), DbError(error));
    } else {
        m_status.setLeft(QStringLiteral("共查询到[%1]条记录").arg(read));
    }
    emit running(false);
}

}  // namespace dbkeel
