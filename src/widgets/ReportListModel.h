#pragma once
// The report list of every screen: columns declared by one specification string, one text,
// text colour and background colour per cell, a check state and an attached value per row,
// and the list's own sort order. It never shows anything itself; ReportListView draws it.

#include "widgets/ListColor.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace dbkeel {

struct ReportColumn {
    QString title;
    int width = 100;  // pixels; 0 hides the column
    Qt::Alignment alignment = Qt::AlignLeft;
};

// "title,width;title,width;..." for setColumns: the titles with the widths in pixels, in order.
QString columnSpec(const QStringList &titles, const QList<int> &widths);
// A database value as a list shows it: one longer than 120 bytes (GBK) as "二进制数据或长度较长".
QString listedValue(const QString &value);

class ReportListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ReportListModel(QObject *parent = nullptr);
    ~ReportListModel() override;

    // Columns. A specification is "title,width,alignment;..." (alignment 1 centre, 2 right,
    // else left; width missing → 100); empty pieces are dropped at both levels.
    // Removes every row and column first; true when at least one column was added.
    bool setColumns(const QString &specification);
    void deleteAllColumns();
    ReportColumn column(int column) const;  // a default column when out of range

    // Rows. insertRow returns the new row's index (an index past the end appends) or -1
    // for a negative index; it and the text setters clear the sort state.
    int insertRow(int index, const QString &firstColumnText);
    int appendRow(const QString &firstColumnText);
    // Appends the rows at once (texts by column, those past the last column dropped), as one
    // insertion however many there are; returns the index of the first.
    int appendRows(const QList<QStringList> &rows);
    bool setItemText(int row, int column, const QString &text);
    bool setItemInt(int row, int column, int value);  // decimal text, as "%d"
    QString itemText(int row, int column) const;      // empty when out of range
    bool deleteRow(int row);
    void deleteAllRows();

    // Colours. A row or column out of range (e.g. -1) addresses the whole column, the
    // whole row, or with both out of range the whole list; DefaultColor resets to the
    // system's colour. False, changing nothing, for a colour that is neither. Views repaint
    // the changed cells on their own.
    bool setTextColor(int row, int column, ListColor color);
    bool setBackgroundColor(int row, int column, ListColor color);
    // That cell's colour (the system's colour when never set); -1 when row or column is out of range.
    ListColor textColor(int row, int column) const;
    ListColor backgroundColor(int row, int column) const;
    static ListColor systemTextColor();
    static ListColor systemBackgroundColor();

    // Check boxes: shown on column 0 when enabled; every row keeps its state either way.
    void setCheckBoxes(bool on);
    bool hasCheckBoxes() const { return m_checkBoxes; }
    bool setChecked(int row, bool checked);
    bool isChecked(int row) const;  // false when out of range
    void setAllChecked(bool checked);
    void invertChecks();

    // A value the screen attaches to a row; it moves with the row when the list sorts.
    bool setRowData(int row, const QVariant &value);
    QVariant rowData(int row) const;

    // Rows whose sort-column text equals the separator text stay in place and bound the
    // runs that sort separately.
    void setSeparatorText(const std::optional<QString> &text);
    std::optional<QString> separatorText() const { return m_separator; }

    // Sorts stably by the column's texts (CellSortKey.h); nothing happens for a column
    // out of range. Colours, checks and row data move with their rows.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    // A header click: ascending for a new sort column, else the reverse of the current order.
    void sortByHeaderClick(int column);
    int sortColumn() const { return m_sortColumn; }  // -1: none
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct CellColors {
        ListColor text = DefaultColor;
        ListColor background = DefaultColor;
    };
    struct Row {
        QList<QString> texts;            // up to the last cell set
        std::vector<CellColors> colors;  // empty until a colour is set, then one per column
        QVariant data;
        bool checked = false;
    };
    using ColorField = ListColor CellColors::*;

    bool isRow(int row) const { return row >= 0 && row < rowCount(); }
    bool isColumn(int column) const { return column >= 0 && column < columnCount(); }
    bool setColor(int row, int column, ListColor color, ColorField field, int role);
    void setCellColor(Row &row, int column, ListColor color, ColorField field);
    ListColor cellColor(int row, int column, ColorField field) const;
    void emitCellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn, const QList<int> &roles);
    void emitChecksChanged(int firstRow, int lastRow);
    void clearSortState();
    std::vector<int> sortedOrder(int column, Qt::SortOrder order) const;
    void applyOrder(const std::vector<int> &order);

    QList<ReportColumn> m_columns;
    QList<Row> m_rows;
    bool m_checkBoxes = false;
    std::optional<QString> m_separator;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

}  // namespace dbkeel
