#include "components/vehicletypes/VehicleTypeManager.h"

#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "platform/Text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dbkeel {

TypeGrid loadTypeGrid(SharedDb &db, const QString &dataTable, const QString &definitionTable)
{
    TypeGrid grid{dataTable, definitionTable, {}, {}, {}};
    SqlCursor names = db.query(tableColumnsQuery(db.dialect(), dataTable));
    for (bool first = true; names.next(); first = false)
        if (!first)
            grid.columns << trimBoth(names.text(0));
    names.close();
    QHash<QString, QString> captions;
    SqlCursor definitions = db.query(
        QStringLiteral("select ziduan,ziduanming from %1 order by ID").arg(definitionTable));
    while (definitions.next())
        captions.insert(trimBoth(definitions.text(0)).toLower(), trimBoth(definitions.text(1)));
    definitions.close();
    for (const QString &column : grid.columns)
        grid.captions << captions.value(column.toLower(), column);
    if (grid.columns.isEmpty())
        return grid;
    SqlCursor rows = db.query(
        QStringLiteral("select %1 from %2 order by 1").arg(grid.columns.join(QLatin1Char(',')), dataTable));
    while (rows.next()) {
        QStringList row;
        for (int i = 0; i < grid.columns.size(); ++i)
            row << trimBoth(rows.text(i));
        grid.rows << row;
    }
    return grid;
}

void saveTypeGrid(SharedDb &db, const TypeGrid &grid)
{
    SqlTransaction transaction(db);
    db.exec(QStringLiteral("delete from %1").arg(grid.dataTable));
    for (const QStringList &row : grid.rows) {
        QStringList values;
        for (const QString &value : row)
            values << sqlText(value);
        db.exec(QStringLiteral("insert into %1(%2)values(%3)")
                    .arg(grid.dataTable, grid.columns.join(QLatin1Char(',')), values.join(QLatin1Char(','))));
    }
    transaction.commit();
}

VehicleTypeManager::VehicleTypeManager(SharedDb &db, QWidget *parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("VehicleTypeManager"));
    setWindowTitle(QStringLiteral("车型管理"));
    m_tabs = new QTabWidget(this);
    for (const char *caption : {"车辆型号", "发动机型号"}) {
        auto *table = new QTableWidget(this);
        table->setObjectName(m_tables.isEmpty() ? QStringLiteral("vehicleTable") : QStringLiteral("engineTable"));
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->horizontalHeader()->setStretchLastSection(true);
        m_tabs->addTab(table, QString::fromUtf8(caption));
        m_tables << table;
    }
    auto *buttons = new QHBoxLayout;
    const auto button = [&](const char *name, const char *text, auto slot) {
        auto *b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    button("addRowButton", "添加", &VehicleTypeManager::addRow);
    button("removeRowButton", "删除", &VehicleTypeManager::removeRow);
    button("saveButton", "保存", &VehicleTypeManager::save);
    buttons->addStretch();
    button("closeButton", "关闭", &VehicleTypeManager::reject);
    m_status = new QLabel(this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    reload();
}

void VehicleTypeManager::setStatus(const QString &text)
{
    m_statusText = text;
    m_status->setText(text);
}

void VehicleTypeManager::reload()
{
    m_grids.clear();
    try {
        m_grids << loadTypeGrid(m_db, QStringLiteral("tb_type_vehicle"), QStringLiteral("tb_type_base_ini"))
                << loadTypeGrid(m_db, QStringLiteral("tb_type_fdjxh"), QStringLiteral("tb_type_fdj_ini"));
    } catch (const DbError &error) {
        setStatus(QStringLiteral("读取车型数据失败:") + error.text());
        return;
    }
    for (int index = 0; index < m_grids.size(); ++index) {
        const TypeGrid &grid = m_grids.at(index);
        QTableWidget *table = m_tables.at(index);
        table->clear();
        table->setColumnCount(int(grid.columns.size()));
        table->setHorizontalHeaderLabels(grid.captions);
        table->setRowCount(int(grid.rows.size()));
        for (int row = 0; row < grid.rows.size(); ++row)
            for (int column = 0; column < grid.columns.size(); ++column)
                table->setItem(row, column, new QTableWidgetItem(grid.rows.at(row).value(column)));
    }
    setStatus(QStringLiteral("车辆型号%1条,发动机型号%2条")
                  .arg(QString::number(m_grids.value(0).rows.size()), QString::number(m_grids.value(1).rows.size())));
}

void VehicleTypeManager::addRow()
{
    QTableWidget *table = m_tables.at(m_tabs->currentIndex());
    table->insertRow(table->rowCount());
    table->setCurrentCell(table->rowCount() - 1, 0);
}

void VehicleTypeManager::removeRow()
{
    QTableWidget *table = m_tables.at(m_tabs->currentIndex());
    if (table->currentRow() >= 0)
        table->removeRow(table->currentRow());
}

TypeGrid VehicleTypeManager::gridOf(int index) const
{
    TypeGrid grid = m_grids.at(index);
    grid.rows.clear();
    const QTableWidget *table = m_tables.at(index);
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList values;
        for (int column = 0; column < table->columnCount(); ++column)
            values << (table->item(row, column) ? trimBoth(table->item(row, column)->text()) : QString());
        grid.rows << values;
    }
    return grid;
}

bool VehicleTypeManager::save()
{
    if (m_grids.size() != m_tables.size())
        return false;
    for (int index = 0; index < m_grids.size(); ++index) {
        try {
            saveTypeGrid(m_db, gridOf(index));
        } catch (const DbError &error) {
            setStatus(QStringLiteral("保存[%1]失败,该表保持原样:%2").arg(m_grids.at(index).dataTable, error.text()));
            return false;
        }
    }
    reload();
    setStatus(QStringLiteral("保存成功"));
    return true;
}

}  // namespace dbkeel
