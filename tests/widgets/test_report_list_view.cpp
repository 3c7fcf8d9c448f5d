#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

using namespace dbkeel;

namespace {

class TestView : public ReportListView {
public:
    using ReportListView::initViewItemOption;
    using ReportListView::sizeHintForColumn;
};

class ReportListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFont font = view.font();
        font.setPixelSize(12);  // the size the given widths were made for
        view.setFont(font);
        view.resize(400, 300);
        model->setColumns("key,100;hidden,0;name,120,2");
        for (const char *key : {"3", "1", "2", "5", "4"})
            model->setItemText(model->appendRow(key), 2, QString("name") + key);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QStringList keys() const
    {
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts.append(model->itemText(row, 0));
        return texts;
    }
    void clickHeader(int column)
    {
        QHeaderView *header = view.horizontalHeader();
        const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }
    QPoint checkBoxCentre(int row)
    {
        const QModelIndex index = model->index(row, 0);
        QStyleOptionViewItem option;
        view.initViewItemOption(&option);
        option.rect = view.visualRect(index);
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        return view.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &view).center();
    }

    // What a column takes beyond its given width: the cells' text margins (3 pixels a side) and the grid line.
    static constexpr int kCellMargins = 7;

    TestView view;
    ReportListModel *model = view.reportModel();
    QAbstractItemModelTester tester{model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

}  // namespace

// The widths were given for 12-pixel Chinese glyphs: a larger font widens them by as much, the cells add
// their margins, and no column is narrower than its title.
TEST_F(ReportListViewTest, ScalesTheGivenWidthsToTheFontAndKeepsTitlesWhole)
{
    struct Case {
        int pixelSize;
        int expected;  // of the column given 60 pixels
    };
    for (const Case &c : {Case{12, 60}, Case{18, 90}, Case{24, 120}}) {
        QFont font = view.font();
        font.setPixelSize(c.pixelSize);
        view.setFont(font);
        model->setColumns(QStringLiteral("a,60;项目代号,20"));
        const int glyph = view.fontMetrics().horizontalAdvance(QChar(0x4E2D));
        EXPECT_NEAR(view.columnWidth(0), c.expected * glyph / c.pixelSize + kCellMargins, 1) << c.pixelSize;
        const int title = view.horizontalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("项目代号"));
        EXPECT_GT(view.columnWidth(1), title) << c.pixelSize;
    }
}

// A width that held its text whole in 12-pixel glyphs (4 glyphs and a little) still shows it whole,
// whatever the font: this view's cells keep margins the given widths do not hold.
TEST_F(ReportListViewTest, ACellThatFitTheGivenWidthIsShownWhole)
{
    for (const int pixelSize : {12, 13, 16, 24}) {
        QFont font = view.font();
        font.setPixelSize(pixelSize);
        view.setFont(font);
        model->setColumns(QStringLiteral("类型,52;说明,100"));
        model->deleteAllRows();
        model->appendRow(QStringLiteral("非否决项"));
        EXPECT_GE(view.columnWidth(0), view.sizeHintForColumn(0)) << pixelSize;
    }
}

TEST_F(ReportListViewTest, TakesWidthsAndStyleFromTheModel)
{
    EXPECT_EQ(view.columnWidth(0), 100 + kCellMargins);
    EXPECT_TRUE(view.isColumnHidden(1));
    EXPECT_EQ(view.columnWidth(2), 120 + kCellMargins);
    model->setColumns("a,40;b,0;c,0;d,60");
    EXPECT_FALSE(view.isColumnHidden(0));
    EXPECT_EQ(view.columnWidth(0), 40 + kCellMargins);
    EXPECT_TRUE(view.isColumnHidden(1) && view.isColumnHidden(2));
    EXPECT_EQ(view.columnWidth(3), 60 + kCellMargins);

    EXPECT_TRUE(view.showGrid());
    EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(model->hasCheckBoxes());
    view.setExtendedStyle(ReportListView::GridFullRowCheckStyle);
    EXPECT_TRUE(model->hasCheckBoxes());
    view.setGridLines(false);
    EXPECT_FALSE(view.showGrid());
    EXPECT_EQ(view.extendedStyle(), 36);
    EXPECT_TRUE(model->hasCheckBoxes());

    ReportListModel checked;  // a screen's own model keeps its check boxes when shown
    checked.setCheckBoxes(true);
    ReportListView other;
    other.setModel(&checked);
    EXPECT_EQ(other.reportModel(), &checked);
    EXPECT_EQ(other.extendedStyle(), ReportListView::GridFullRowCheckStyle);
}

TEST_F(ReportListViewTest, DeleteWithSelectNextSelectsTheFollowingRow)
{
    view.selectOnly(1);
    ASSERT_TRUE(view.deleteRow(1, true));
    EXPECT_EQ(keys(), QStringList({"3", "2", "5", "4"}));
    EXPECT_EQ(view.selectedRows(), QList<int>({1}));
    EXPECT_EQ(view.selectedRow(), 1);

    view.selectOnly(3);
    ASSERT_TRUE(view.deleteRow(3, true));  // the last row: nothing follows it
    EXPECT_EQ(view.selectedRow(), -1);
    EXPECT_TRUE(view.selectedRows().isEmpty());

    view.selectOnly(0);
    ASSERT_TRUE(view.deleteRow(0, false));
    EXPECT_EQ(view.selectedRow(), -1);
    EXPECT_FALSE(view.deleteRow(7, true));
    EXPECT_EQ(keys(), QStringList({"2", "5"}));
}

TEST_F(ReportListViewTest, HeaderClicksSortThroughTheHeader)
{
    clickHeader(0);
    EXPECT_EQ(keys(), QStringList({"1", "2", "3", "4", "5"}));
    clickHeader(0);
    EXPECT_EQ(keys(), QStringList({"5", "4", "3", "2", "1"}));
    clickHeader(2);
    EXPECT_EQ(keys(), QStringList({"1", "2", "3", "4", "5"}));

    model->appendRow("0");
    view.horizontalHeader()->setSectionsClickable(false);
    clickHeader(0);
    EXPECT_EQ(keys(), QStringList({"1", "2", "3", "4", "5", "0"}));
    EXPECT_EQ(model->sortColumn(), -1);
}

TEST_F(ReportListViewTest, SortKeepsTheSelectionOnItsRow)
{
    view.selectOnly(0);  // key 3
    clickHeader(0);
    EXPECT_EQ(view.selectedRows(), QList<int>({2}));
}

TEST_F(ReportListViewTest, ClickOnACheckBoxSelectsOnlyThatRow)
{
    view.setExtendedStyle(ReportListView::GridFullRowCheckStyle);
    view.selectionModel()->select(model->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view.selectionModel()->select(model->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, checkBoxCentre(3));
    EXPECT_TRUE(model->isChecked(3));
    EXPECT_EQ(view.selectedRows(), QList<int>({3}));
    EXPECT_EQ(view.currentIndex().row(), 3);

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, checkBoxCentre(3));
    EXPECT_FALSE(model->isChecked(3));
}

TEST_F(ReportListViewTest, CellsWithoutColourUseTheListColours)
{
    view.setListBackgroundColor(listcolor::PaleGreen);
    view.setListTextColor(listcolor::Blue);
    model->setBackgroundColor(1, -1, listcolor::Red);
    EXPECT_EQ(view.listTextColor(), listcolor::Blue);
    const QImage image = view.viewport()->grab().toImage();
    const auto pixelOf = [&](int row) {
        const QRect cell = view.visualRect(model->index(row, 2));
        return fromQColor(image.pixelColor(cell.right() - 2, cell.center().y()));
    };
    EXPECT_EQ(pixelOf(0), listcolor::PaleGreen);
    EXPECT_EQ(pixelOf(1), listcolor::Red);

    view.setListBackgroundColor(DefaultColor);
    EXPECT_EQ(view.listBackgroundColor(), fromQColor(QApplication::palette(&view).color(QPalette::Base)));
}
