#pragma once
// The table view that draws a ReportListModel the way the installation's lists look:
// full-row selection, grid lines, optional check boxes, widths from the model, sorting on a
// header click. Built for long lists: fixed row height, no per-row widgets.

#include "widgets/ListColor.h"

#include <QList>
#include <QTableView>

namespace dbkeel {

class ReportListModel;

class ReportListView : public QTableView {
    Q_OBJECT

public:
    // Extended-style bits as the screens pass them (33: full row with grid lines; 37: the
    // same with check boxes).
    enum StyleFlag { GridLines = 0x01, CheckBoxes = 0x04, FullRowSelect = 0x20 };
    static constexpr int GridFullRowStyle = GridLines | FullRowSelect;
    static constexpr int GridFullRowCheckStyle = GridLines | CheckBoxes | FullRowSelect;

    // Shows a model of its own until setModel gives it another.
    explicit ReportListView(QWidget *parent = nullptr);

    // Takes ReportListModel only; a model the view created is deleted when replaced.
    // Check boxes are the model's: showing a model keeps its setting.
    void setModel(QAbstractItemModel *model) override;
    ReportListModel *reportModel() const { return m_model; }

    void setExtendedStyle(int flags);
    int extendedStyle() const;
    void setGridLines(bool on);  // keeps the other style bits

    // With selectNext the following row is selected first, so that it is the selection
    // once it has moved into the deleted row's place.
    bool deleteRow(int row, bool selectNext);
    int selectedRow() const;          // the first selected row, -1 when none
    QList<int> selectedRows() const;  // ascending
    void selectOnly(int row);         // the only selected row, and the current one

    // Whole-list colours, used by every cell that has no colour of its own; DefaultColor
    // restores the system's.
    void setListTextColor(ListColor color);
    void setListBackgroundColor(ListColor color);
    ListColor listTextColor() const;
    ListColor listBackgroundColor() const;

    void setRedraw(bool on);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;  // a new font scales the columns again

private:
    void applyColumnWidths();
    void sortByHeader(int column);
    void setPaletteColor(QPalette::ColorRole role, ListColor color);

    ReportListModel *m_model = nullptr;
    int m_style = 0;  // the check-box bit lives in the model
};

}  // namespace dbkeel
