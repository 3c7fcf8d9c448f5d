#pragma once
// The shared connection on a fresh database of the installation's tables (the dictionaries' fixture),
// with what the maintenance tests add: the connect string a job opens and a list read as text.

#include "tests/support/DictionaryFixture.h"
#include "widgets/ReportListModel.h"

namespace dbkeel::test {

class MaintenanceFixture : public DictionaryFixture {
protected:
    QString jobConnectString() const { return sqliteConnectString(dir.filePath(QStringLiteral("test.db"))); }
    // The rows of `list`, cells joined by ",", rows by "|".
    static QString listed(const ReportListModel &list)
    {
        QStringList rows;
        for (int row = 0; row < list.rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < list.columnCount(); ++column)
                cells << list.itemText(row, column);
            rows << cells.join(u',');
        }
        return rows.join(u'|');
    }
};

}  // namespace dbkeel::test
