#pragma once
// Helpers for tests that read the shared database connection.

#include <QString>
#include <QStringList>

namespace dbkeel::test {

// Every row of a query on the shared connection: its columns joined by ",", rows by `rowSeparator`.
QString rows(const QString &query, QChar rowSeparator = u'|');
// The first column of every row.
QStringList firstColumn(const QString &query);
// `text` followed by the note a screen's status line gets after a write: where the newest history entry went.
QString withHistoryNote(const QString &text);

}  // namespace dbkeel::test
