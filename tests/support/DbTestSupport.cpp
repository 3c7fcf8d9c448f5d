#include "tests/support/DbTestSupport.h"

#include "core/SharedDb.h"
#include "core/WriteHistory.h"

#include <QStringList>

namespace dbkeel::test {

QString rows(const QString &query, QChar rowSeparator)
{
    QStringList all;
    SqlCursor cursor = sharedDb().query(query);
    while (cursor.next()) {
        QStringList columns;
        for (int c = 0; c < cursor.columnCount(); ++c)
            columns << cursor.text(c);
        all << columns.join(u',');
    }
    return all.join(rowSeparator);
}

QStringList firstColumn(const QString &query)
{
    QStringList values;
    SqlCursor cursor = sharedDb().query(query);
    while (cursor.next())
        values << cursor.text(0);
    return values;
}

QString withHistoryNote(const QString &text)
{
    const QList<HistoryEntry> entries = historyEntries();
    return entries.isEmpty() ? text : text + QStringLiteral("  历史记录: ") + entries.last().path;
}

}  // namespace dbkeel::test
