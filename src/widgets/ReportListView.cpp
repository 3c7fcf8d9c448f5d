#include "widgets/ReportListView.h"

#include "widgets/ReportListModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace dbkeel {

ReportListView::ReportListView(QWidget *parent) : QTableView(parent)
{
    setEditTriggers(NoEditTriggers);
    setSelectionMode(ExtendedSelection);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ReportListView::sortByHeader);
    setModel(new ReportListModel(this));
    setExtendedStyle(GridFullRowStyle);
}

void ReportListView::setModel(QAbstractItemModel *model)
{
    auto *report = qobject_cast<ReportListModel *>(model);
    if (!report) {
        qWarning("ReportListView: only a ReportListModel can be shown");
        return;
    }
    ReportListModel *previous = m_model;
    if (previous)
        disconnect(previous, nullptr, this, nullptr);
    m_model = report;
    QTableView::setModel(report);
    connect(report, &QAbstractItemModel::modelReset, this, &ReportListView::applyColumnWidths);
    connect(report, &QAbstractItemModel::columnsInserted, this, &ReportListView::applyColumnWidths);
    applyColumnWidths();
    if (previous && previous != report && previous->parent() == this)
        delete previous;
}

void ReportListView::setExtendedStyle(int flags)
{
    m_style = flags;
    setShowGrid(flags & GridLines);
    setSelectionBehavior(flags & FullRowSelect ? SelectRows : SelectItems);
    m_model->setCheckBoxes(flags & CheckBoxes);
}

int ReportListView::extendedStyle() const
{
    return (m_style & ~CheckBoxes) | (m_model->hasCheckBoxes() ? CheckBoxes : 0);
}

void ReportListView::setGridLines(bool on)
{
    const int style = extendedStyle();
    setExtendedStyle(on ? style | GridLines : style & ~GridLines);
}

bool ReportListView::deleteRow(int row, bool selectNext)
{
    if (row < 0 || row >= m_model->rowCount())
        return false;
    if (selectNext && row + 1 < m_model->rowCount())
        selectionModel()->setCurrentIndex(m_model->index(row + 1, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    return m_model->deleteRow(row);
}

int ReportListView::selectedRow() const
{
    const QList<int> rows = selectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

QList<int> ReportListView::selectedRows() const
{
    QList<int> rows;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void ReportListView::selectOnly(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    selectionModel()->setCurrentIndex(m_model->index(row, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ReportListView::setListTextColor(ListColor color)
{
    setPaletteColor(QPalette::Text, color);
}

void ReportListView::setListBackgroundColor(ListColor color)
{
    setPaletteColor(QPalette::Base, color);
}

ListColor ReportListView::listTextColor() const
{
    return fromQColor(palette().color(QPalette::Text));
}

ListColor ReportListView::listBackgroundColor() const
{
    return fromQColor(palette().color(QPalette::Base));
}

void ReportListView::setPaletteColor(QPalette::ColorRole role, ListColor color)
{
    if (!isValidListColor(color))
        return;
    QPalette colors = palette();
    colors.setColor(role, color == DefaultColor ? QApplication::palette(this).color(role) : toQColor(color));
    setPalette(colors);
}

void ReportListView::setRedraw(bool on)
{
    setUpdatesEnabled(on);
    if (on)
        viewport()->update();
}

// A click that changes a row's check box makes that row the only selected one.
void ReportListView::mouseReleaseEvent(QMouseEvent *event)
{
    const int row = indexAt(event->position().toPoint()).row();
    const bool wasChecked = m_model->isChecked(row);
    QTableView::mouseReleaseEvent(event);
    if (row >= 0 && m_model->hasCheckBoxes() && m_model->isChecked(row) != wasChecked) {
        selectOnly(row);
        setFocus(Qt::MouseFocusReason);
    }
}

void ReportListView::applyColumnWidths()
{
    // The widths were given for a dialog font whose Chinese glyphs are 12 pixels wide, in a list that
    // draws its text nearly from edge to edge: a larger font widens every column by as much, this view's
    // cells add their text margins and the grid line, and no column is narrower than its title.
    constexpr double kGivenGlyphWidth = 12.0;
    const double scale = std::max(1.0, fontMetrics().horizontalAdvance(QChar(0x4E2D)) / kGivenGlyphWidth);
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1)
                        + (showGrid() ? 1 : 0);
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const int width = m_model->column(column).width;
        setColumnHidden(column, width == 0);
        if (width > 0)
            setColumnWidth(column, std::max(int(std::lround(width * scale)) + margins,
                                            horizontalHeader()->sectionSizeHint(column)));
    }
}

void ReportListView::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyColumnWidths();
}

void ReportListView::sortByHeader(int column)
{
    if (horizontalHeader()->sectionsClickable())
        m_model->sortByHeaderClick(column);
}

}  // namespace dbkeel
