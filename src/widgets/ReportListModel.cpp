#include "widgets/ReportListModel.h"

#include "platform/Gbk.h"
#include "platform/Text.h"
#include "widgets/CellSortKey.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <numeric>

namespace dbkeel {

QString columnSpec(const QStringList &titles, const QList<int> &widths)
{
    QStringList columns;
    for (qsizetype k = 0; k < titles.size(); ++k)
        columns << titles.at(k) + u',' + QString::number(widths.value(k));
    return columns.join(u';');
}

QString listedValue(const QString &value)
{
    constexpr int kLongest = 120;
    if (value.size() <= kLongest / 2)
        return value;  // no character takes more than two bytes in GBK
    return gbkLength(value) > kLongest ? QStringLiteral("二进制数据或长度较长") : value;
}

namespace {

ReportColumn parseColumn(const QStringList &fields)
{
    ReportColumn column;
    column.title = fields[0];
    if (fields.size() > 1)
        column.width = std::max(0, toInt(fields[1]));
    const int alignment = fields.size() > 2 ? toInt(fields[2]) : 0;
    column.alignment = alignment == 1 ? Qt::AlignHCenter : alignment == 2 ? Qt::AlignRight : Qt::AlignLeft;
    return column;
}

ListColor paletteColor(QPalette::ColorRole role, ListColor fallback)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return fallback;
    return fromQColor(QGuiApplication::palette().color(role));
}

QVariant colorVariant(ListColor color)
{
    return color == DefaultColor ? QVariant() : QVariant(toQColor(color));
}

}  // namespace

ReportListModel::ReportListModel(QObject *parent) : QAbstractTableModel(parent) {}

ReportListModel::~ReportListModel() = default;

bool ReportListModel::setColumns(const QString &specification)
{
    beginResetModel();
    m_rows.clear();
    m_columns.clear();
    for (const QString &entry : specification.split(u';', Qt::SkipEmptyParts)) {
        const QStringList fields = entry.split(u',', Qt::SkipEmptyParts);
        if (!fields.isEmpty())
            m_columns.append(parseColumn(fields));
    }
    clearSortState();
    endResetModel();
    return !m_columns.isEmpty();
}

void ReportListModel::deleteAllColumns()
{
    clearSortState();
    if (m_columns.isEmpty())
        return;
    beginRemoveColumns({}, 0, columnCount() - 1);
    m_columns.clear();
    for (Row &row : m_rows) {
        row.texts.clear();
        row.colors.clear();
    }
    endRemoveColumns();
}

ReportColumn ReportListModel::column(int column) const
{
    return isColumn(column) ? m_columns[column] : ReportColumn{};
}

int ReportListModel::insertRow(int index, const QString &firstColumnText)
{
    if (index < 0)
        return -1;
    index = std::min(index, rowCount());
    beginInsertRows({}, index, index);
    Row row;
    row.texts.append(firstColumnText);
    m_rows.insert(index, std::move(row));
    endInsertRows();
    clearSortState();
    return index;
}

int ReportListModel::appendRow(const QString &firstColumnText)
{
    return insertRow(rowCount(), firstColumnText);
}

int ReportListModel::appendRows(const QList<QStringList> &rows)
{
    const int first = rowCount();
    if (rows.isEmpty())
        return first;
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    for (const QStringList &texts : rows) {
        Row row;
        row.texts = texts.mid(0, columnCount());
        m_rows.append(std::move(row));
    }
    endInsertRows();
    clearSortState();
    return first;
}

bool ReportListModel::setItemText(int row, int column, const QString &text)
{
    if (!isRow(row) || !isColumn(column))
        return false;
    QList<QString> &texts = m_rows[row].texts;
    if (texts.size() <= column)
        texts.resize(column + 1);
    texts[column] = text;
    clearSortState();
    emitCellsChanged(row, row, column, column, {Qt::DisplayRole});
    return true;
}

bool ReportListModel::setItemInt(int row, int column, int value)
{
    return setItemText(row, column, QString::number(value));
}

QString ReportListModel::itemText(int row, int column) const
{
    if (!isRow(row) || !isColumn(column))
        return {};
    return m_rows[row].texts.value(column);
}

bool ReportListModel::deleteRow(int row)
{
    if (!isRow(row))
        return false;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    return true;
}

void ReportListModel::deleteAllRows()
{
    if (m_rows.isEmpty())
        return;
    beginRemoveRows({}, 0, rowCount() - 1);
    m_rows.clear();
    m_rows.squeeze();
    endRemoveRows();
}

bool ReportListModel::setTextColor(int row, int column, ListColor color)
{
    return setColor(row, column, color, &CellColors::text, Qt::ForegroundRole);
}

bool ReportListModel::setBackgroundColor(int row, int column, ListColor color)
{
    return setColor(row, column, color, &CellColors::background, Qt::BackgroundRole);
}

ListColor ReportListModel::textColor(int row, int column) const
{
    const ListColor color = cellColor(row, column, &CellColors::text);
    return color == DefaultColor && isRow(row) && isColumn(column) ? systemTextColor() : color;
}

ListColor ReportListModel::backgroundColor(int row, int column) const
{
    const ListColor color = cellColor(row, column, &CellColors::background);
    return color == DefaultColor && isRow(row) && isColumn(column) ? systemBackgroundColor() : color;
}

ListColor ReportListModel::systemTextColor()
{
    return paletteColor(QPalette::Text, rgb(0, 0, 0));
}

ListColor ReportListModel::systemBackgroundColor()
{
    return paletteColor(QPalette::Base, rgb(255, 255, 255));
}

bool ReportListModel::setColor(int row, int column, ListColor color, ColorField field, int role)
{
    if (!isValidListColor(color))
        return false;
    const int firstRow = isRow(row) ? row : 0;
    const int lastRow = isRow(row) ? row : rowCount() - 1;
    const int firstColumn = isColumn(column) ? column : 0;
    const int lastColumn = isColumn(column) ? column : columnCount() - 1;
    if (lastRow < firstRow || lastColumn < firstColumn)
        return true;
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = firstColumn; c <= lastColumn; ++c)
            setCellColor(m_rows[r], c, color, field);
    }
    emitCellsChanged(firstRow, lastRow, firstColumn, lastColumn, {role});
    return true;
}

void ReportListModel::setCellColor(Row &row, int column, ListColor color, ColorField field)
{
    if (row.colors.empty()) {
        if (color == DefaultColor)
            return;
        row.colors.resize(columnCount());
    }
    row.colors[column].*field = color;
}

// The stored colour, DefaultColor when never set, -1 when out of range.
ListColor ReportListModel::cellColor(int row, int column, ColorField field) const
{
    if (!isRow(row) || !isColumn(column))
        return -1;
    const std::vector<CellColors> &colors = m_rows[row].colors;
    return size_t(column) < colors.size() ? colors[column].*field : DefaultColor;
}

void ReportListModel::setCheckBoxes(bool on)
{
    if (m_checkBoxes == on)
        return;
    m_checkBoxes = on;
    if (rowCount() > 0 && columnCount() > 0)
        emitCellsChanged(0, rowCount() - 1, 0, 0, {Qt::CheckStateRole});
}

bool ReportListModel::setChecked(int row, bool checked)
{
    if (!isRow(row))
        return false;
    if (m_rows[row].checked != checked) {
        m_rows[row].checked = checked;
        emitChecksChanged(row, row);
    }
    return true;
}

bool ReportListModel::isChecked(int row) const
{
    return isRow(row) && m_rows[row].checked;
}

void ReportListModel::setAllChecked(bool checked)
{
    for (Row &row : m_rows)
        row.checked = checked;
    emitChecksChanged(0, rowCount() - 1);
}

void ReportListModel::invertChecks()
{
    for (Row &row : m_rows)
        row.checked = !row.checked;
    emitChecksChanged(0, rowCount() - 1);
}

bool ReportListModel::setRowData(int row, const QVariant &value)
{
    if (!isRow(row))
        return false;
    m_rows[row].data = value;
    return true;
}

QVariant ReportListModel::rowData(int row) const
{
    return isRow(row) ? m_rows[row].data : QVariant();
}

void ReportListModel::setSeparatorText(const std::optional<QString> &text)
{
    m_separator = text;
}

void ReportListModel::sort(int column, Qt::SortOrder order)
{
    if (!isColumn(column))
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    applyOrder(sortedOrder(column, order));
}

void ReportListModel::sortByHeaderClick(int column)
{
    if (!isColumn(column))
        return;
    const bool reverse = column == m_sortColumn && m_sortOrder == Qt::AscendingOrder;
    sort(column, reverse ? Qt::DescendingOrder : Qt::AscendingOrder);
}

// Old row indexes in their new order; separator rows keep their places.
std::vector<int> ReportListModel::sortedOrder(int column, Qt::SortOrder order) const
{
    const int count = rowCount();
    const LocaleDates locale;
    std::vector<CellSortKey> keys;
    keys.reserve(count);
    for (const Row &row : m_rows)
        keys.emplace_back(row.texts.value(column), locale);
    const auto before = [&](int a, int b) {
        const int result = compare(keys[a], keys[b]);
        return order == Qt::AscendingOrder ? result < 0 : result > 0;
    };
    std::vector<int> rows(count);
    std::iota(rows.begin(), rows.end(), 0);
    auto runBegin = rows.begin();
    for (int i = 0; i < count; ++i) {
        if (m_separator && m_rows[i].texts.value(column) == *m_separator) {
            std::stable_sort(runBegin, rows.begin() + i, before);
            runBegin = rows.begin() + i + 1;
        }
    }
    std::stable_sort(runBegin, rows.end(), before);
    return rows;
}

void ReportListModel::applyOrder(const std::vector<int> &order)
{
    if (std::is_sorted(order.begin(), order.end()))
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<Row> rows;
    rows.reserve(m_rows.size());
    std::vector<int> newRowOf(order.size());
    for (size_t position = 0; position < order.size(); ++position) {
        rows.append(std::move(m_rows[order[position]]));
        newRowOf[order[position]] = int(position);
    }
    m_rows = std::move(rows);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &index : from)
        to.append(this->index(newRowOf[index.row()], index.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ReportListModel::emitCellsChanged(int firstRow, int lastRow, int firstColumn, int lastColumn,
                                       const QList<int> &roles)
{
    emit dataChanged(index(firstRow, firstColumn), index(lastRow, lastColumn), roles);
}

void ReportListModel::emitChecksChanged(int firstRow, int lastRow)
{
    if (m_checkBoxes && lastRow >= firstRow && !m_columns.isEmpty())
        emitCellsChanged(firstRow, lastRow, 0, 0, {Qt::CheckStateRole});
}

void ReportListModel::clearSortState()
{
    m_sortColumn = -1;
    m_sortOrder = Qt::AscendingOrder;
}

int ReportListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ReportListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ReportListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !isRow(index.row()) || !isColumn(index.column()))
        return {};
    const Row &row = m_rows[index.row()];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: return row.texts.value(column);
    case Qt::ForegroundRole: return colorVariant(cellColor(index.row(), column, &CellColors::text));
    case Qt::BackgroundRole: return colorVariant(cellColor(index.row(), column, &CellColors::background));
    case Qt::TextAlignmentRole: return int(m_columns[column].alignment | Qt::AlignVCenter);
    case Qt::CheckStateRole:
        if (m_checkBoxes && column == 0)
            return int(row.checked ? Qt::Checked : Qt::Unchecked);
        return {};
    default: return {};
    }
}

bool ReportListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !m_checkBoxes || !index.isValid() || index.column() != 0)
        return false;
    return setChecked(index.row(), value.toInt() == Qt::Checked);
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !isColumn(section))
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns[section].title;
    if (role == Qt::TextAlignmentRole)
        return int(m_columns[section].alignment | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ReportListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (m_checkBoxes && index.isValid() && index.column() == 0)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

}  // namespace dbkeel
