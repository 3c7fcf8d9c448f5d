#pragma once
// The vehicle-type library's manager: the rows of the vehicle-model and engine-model tables in
// editable grids whose columns (and captions) come from their field-definition tables, saved to the
// database in one transaction per table.

#include <QDialog>
#include <QList>
#include <QStringList>

class QLabel;
class QTabWidget;
class QTableWidget;

namespace dbkeel {

class SharedDb;

// One data table as the manager edits it: every column but the identity, in table order, with the
// caption its definition gives (the column name when it has none).
struct TypeGrid {
    QString dataTable, definitionTable;
    QStringList columns, captions;
    QList<QStringList> rows;
};

TypeGrid loadTypeGrid(SharedDb &db, const QString &dataTable, const QString &definitionTable);
// Replaces the table's rows by the grid's in one transaction; DbError with the table as it was.
void saveTypeGrid(SharedDb &db, const TypeGrid &grid);

class VehicleTypeManager : public QDialog {
    Q_OBJECT

public:
    VehicleTypeManager(SharedDb &db, QWidget *parent = nullptr);

    QTableWidget *table(int index) const { return m_tables.value(index); }
    QString status() const { return m_statusText; }

    void addRow();
    void removeRow();
    bool save();  // both tables; false (reported in the status) when one could not be saved

private:
    void reload();
    TypeGrid gridOf(int index) const;
    void setStatus(const QString &text);

    SharedDb &m_db;
    QList<TypeGrid> m_grids;
    QList<QTableWidget *> m_tables;
    QTabWidget *m_tabs;
    QLabel *m_status;
    QString m_statusText;
};

}  // namespace dbkeel
