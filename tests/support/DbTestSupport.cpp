#include "DbTestSupport.h"

#include "SharedDb.h"

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

}  // namespace dbkeel::test
