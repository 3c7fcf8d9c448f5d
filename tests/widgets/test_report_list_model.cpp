#include "widgets/ReportListModel.h"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>
#include <QRandomGenerator>
#include <QSet>
#include <gtest/gtest.h>

#include <algorithm>

using namespace dbkeel;

namespace {

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

// Every operation runs under the model tester, which aborts on a broken model contract.
class ReportList : public ::testing::Test {
protected:
    ReportListModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};

    // One row per entry, cells separated by "|".
    void addRows(const QStringList &rows)
    {
        for (const QString &row : rows) {
            const QStringList cells = row.split(u'|');
            const int index = model.appendRow(cells[0]);
            for (int column = 1; column < cells.size(); ++column)
                model.setItemText(index, column, cells[column]);
        }
    }
    QStringList columnTexts(int column) const
    {
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts.append(model.itemText(row, column));
        return texts;
    }
};

}  // namespace

TEST_F(ReportList, SetColumnsParsesTheSpecification)
{
    struct Col {
        const char *title;
        int width;
        Qt::Alignment alignment;
    };
    struct Case {
        const char *spec;
        std::vector<Col> columns;
    } cases[] = {
        {"计算机名称,120;IP地址,80", {{"计算机名称", 120, Qt::AlignLeft}, {"IP地址", 80, Qt::AlignLeft}}},
        {"标题", {{"标题", 100, Qt::AlignLeft}}},
        {"a,10;;b,20;", {{"a", 10, Qt::AlignLeft}, {"b", 20, Qt::AlignLeft}}},
        {"a,,30,2", {{"a", 30, Qt::AlignRight}}},  // an empty field shifts the next ones
        {",a,5;,;", {{"a", 5, Qt::AlignLeft}}},
        {"hidden,0;x,-5", {{"hidden", 0, Qt::AlignLeft}, {"x", 0, Qt::AlignLeft}}},
        {"c,50,1;r,50,2;l,50,3;n,50,x;w,abc",
         {{"c", 50, Qt::AlignHCenter},
          {"r", 50, Qt::AlignRight},
          {"l", 50, Qt::AlignLeft},
          {"n", 50, Qt::AlignLeft},
          {"w", 0, Qt::AlignLeft}}},
        {" a ,7", {{" a ", 7, Qt::AlignLeft}}},
        {"", {}},
        {";;", {}},
        {",;,", {}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(model.setColumns(u8(c.spec)), !c.columns.empty()) << c.spec;
        ASSERT_EQ(model.columnCount(), int(c.columns.size())) << c.spec;
        for (int i = 0; i < model.columnCount(); ++i) {
            EXPECT_EQ(model.column(i).title, u8(c.columns[i].title)) << c.spec;
            EXPECT_EQ(model.column(i).width, c.columns[i].width) << c.spec << " column " << i;
            EXPECT_EQ(model.column(i).alignment, c.columns[i].alignment) << c.spec << " column " << i;
            EXPECT_EQ(model.headerData(i, Qt::Horizontal).toString(), u8(c.columns[i].title));
        }
    }
}

TEST_F(ReportList, SetColumnsRemovesEveryRowAndDeleteAllColumnsKeepsRowsWithoutCells)
{
    model.setColumns("a;b");
    addRows({"1|x", "2|y"});
    model.deleteAllColumns();
    EXPECT_EQ(model.columnCount(), 0);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.itemText(0, 0), QString());
    model.setColumns("a;b;c");
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 3);
}

TEST_F(ReportList, InsertsRowsAndSetsCells)
{
    model.setColumns("a;b;c,50,2");
    EXPECT_EQ(model.insertRow(0, "first"), 0);
    EXPECT_EQ(model.insertRow(99, "last"), 1);  // past the end appends
    EXPECT_EQ(model.insertRow(1, "middle"), 1);
    EXPECT_EQ(model.insertRow(-1, "refused"), -1);
    EXPECT_EQ(columnTexts(0), QStringList({"first", "middle", "last"}));

    EXPECT_TRUE(model.setItemInt(1, 2, -42));
    EXPECT_TRUE(model.setItemText(2, 1, u8("检测线")));
    EXPECT_EQ(model.itemText(1, 2), "-42");
    EXPECT_EQ(model.data(model.index(2, 1)).toString(), u8("检测线"));
    EXPECT_EQ(model.data(model.index(1, 2), Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    for (auto [row, column] : {std::pair{3, 0}, {-1, 0}, {0, 3}, {0, -1}}) {
        EXPECT_FALSE(model.setItemText(row, column, "x")) << row << "," << column;
        EXPECT_EQ(model.itemText(row, column), QString());
    }
    EXPECT_TRUE(model.deleteRow(0));
    EXPECT_FALSE(model.deleteRow(2));
    EXPECT_EQ(columnTexts(0), QStringList({"middle", "last"}));
}

TEST_F(ReportList, AppendsAChunkOfRowsAtOnce)
{
    model.setColumns("a;b");
    addRows({"first|1"});
    model.sort(0);
    EXPECT_EQ(model.appendRows({{"x", "2", "dropped"}, {"y"}}), 1);
    EXPECT_EQ(model.appendRows({}), 3);
    EXPECT_EQ(columnTexts(0), QStringList({"first", "x", "y"}));
    EXPECT_EQ(columnTexts(1), QStringList({"1", "2", ""}));
    EXPECT_EQ(model.itemText(1, 2), QString());
    EXPECT_EQ(model.sortColumn(), -1);
}

TEST_F(ReportList, ColourAddressingReachesCellRowColumnOrList)
{
    const ListColor red = listcolor::Red;
    const ListColor text = ReportListModel::systemTextColor();
    const ListColor back = ReportListModel::systemBackgroundColor();
    // Which of the 3×3 cells (row-major) take the colour.
    struct Case {
        int row;
        int column;
        const char *cells;
    } cases[] = {
        {1, 2,
         "000"
         "001"
         "000"},
        {1, -1,
         "000"
         "111"
         "000"},
        {-1, 2,
         "001"
         "001"
         "001"},
        {-1, -1,
         "111"
         "111"
         "111"},
        {3, 7,
         "111"
         "111"
         "111"},
        {5, 0,
         "100"
         "100"
         "100"},
    };
    using Setter = bool (ReportListModel::*)(int, int, ListColor);
    using Getter = ListColor (ReportListModel::*)(int, int) const;
    struct Kind {
        Setter set;
        Getter get;
        ListColor system;
        int role;
    } kinds[] = {
        {&ReportListModel::setTextColor, &ReportListModel::textColor, text, Qt::ForegroundRole},
        {&ReportListModel::setBackgroundColor, &ReportListModel::backgroundColor, back, Qt::BackgroundRole},
    };
    for (const Kind &kind : kinds) {
        for (const auto &c : cases) {
            model.setColumns("a;b;c");
            addRows({"0", "1", "2"});
            EXPECT_TRUE((model.*kind.set)(c.row, c.column, red));
            for (int cell = 0; cell < 9; ++cell) {
                const bool coloured = c.cells[cell] == '1';
                const int row = cell / 3, column = cell % 3;
                EXPECT_EQ((model.*kind.get)(row, column), coloured ? red : kind.system)
                    << c.row << "," << c.column << " cell " << row << "," << column;
                EXPECT_EQ(model.data(model.index(row, column), kind.role),
                          coloured ? QVariant(QColor(255, 0, 0)) : QVariant());
            }
        }
        for (auto [row, column] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 3}, {-1, -1}})
            EXPECT_EQ((model.*kind.get)(row, column), -1) << row << "," << column;

        EXPECT_TRUE((model.*kind.set)(-1, -1, DefaultColor));
        EXPECT_EQ((model.*kind.get)(1, 1), kind.system);
        for (ListColor bad : {-2, 0x1000000}) {
            EXPECT_FALSE((model.*kind.set)(1, 1, bad));
            EXPECT_EQ((model.*kind.get)(1, 1), kind.system);
        }
    }
}

TEST_F(ReportList, DeletedRowsLeaveNothingBehind)
{
    model.setColumns("a;b");
    model.setCheckBoxes(true);
    addRows({"1|x", "2|y"});
    model.setTextColor(-1, -1, listcolor::Teal);
    model.setBackgroundColor(0, 1, listcolor::PaleGreen);
    model.setAllChecked(true);
    model.setRowData(0, 17);
    model.deleteAllRows();
    EXPECT_EQ(model.rowCount(), 0);
    model.appendRow("new");
    EXPECT_EQ(model.textColor(0, 0), ReportListModel::systemTextColor());
    EXPECT_EQ(model.backgroundColor(0, 1), ReportListModel::systemBackgroundColor());
    EXPECT_FALSE(model.isChecked(0));
    EXPECT_EQ(model.rowData(0), QVariant());
    EXPECT_EQ(model.itemText(0, 1), QString());
}

TEST_F(ReportList, CheckStatesShowOnColumnZeroOnlyWithCheckBoxes)
{
    model.setColumns("a;b");
    addRows({"1", "2", "3"});
    EXPECT_TRUE(model.setChecked(1, true));
    EXPECT_FALSE(model.setChecked(3, true));
    EXPECT_TRUE(model.isChecked(1));
    EXPECT_FALSE(model.isChecked(-1));
    EXPECT_EQ(model.data(model.index(1, 0), Qt::CheckStateRole), QVariant());
    EXPECT_FALSE(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);

    model.setCheckBoxes(true);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::CheckStateRole).toInt(), int(Qt::Checked));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    EXPECT_EQ(model.data(model.index(1, 1), Qt::CheckStateRole), QVariant());
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(model.isChecked(0));

    model.invertChecks();
    EXPECT_EQ(std::vector({model.isChecked(0), model.isChecked(1), model.isChecked(2)}),
              std::vector({false, false, true}));
    model.setAllChecked(true);
    EXPECT_TRUE(model.isChecked(0) && model.isChecked(1) && model.isChecked(2));
}

TEST_F(ReportList, SortsByTheCellReadings)
{
    struct Case {
        QStringList texts;
        Qt::SortOrder order;
        QStringList sorted;
    } cases[] = {
        {{"100", "9", "10"}, Qt::AscendingOrder, {"9", "10", "100"}},
        {{"100", "9", "10"}, Qt::DescendingOrder, {"100", "10", "9"}},
        {{"50%", "7.5%", "12%"}, Qt::AscendingOrder, {"7.5%", "12%", "50%"}},
        {{"20", "0x1A"}, Qt::AscendingOrder, {"0x1A", "20"}},
        {{"2023-12-01", "2023-5-6", "2022-12-31 23:59:59"},
         Qt::AscendingOrder,
         {"2022-12-31 23:59:59", "2023-5-6", "2023-12-01"}},
        {{u8("中心"), u8("安检"), u8("北线")}, Qt::AscendingOrder, {u8("安检"), u8("北线"), u8("中心")}},
        {{"10", "xyz", "9"}, Qt::AscendingOrder, {"9", "10", "xyz"}},
        {{"-5", "3", "-10"}, Qt::AscendingOrder, {"-10", "-5", "3"}},
    };
    for (const auto &c : cases) {
        model.setColumns("a;b");
        for (const QString &text : c.texts)
            model.setItemText(model.appendRow("row"), 1, text);
        model.sort(1, c.order);
        EXPECT_EQ(columnTexts(1), c.sorted) << c.texts.join(' ').toStdString();
        EXPECT_EQ(model.sortColumn(), 1);
        EXPECT_EQ(model.sortOrder(), c.order);
    }
}

TEST_F(ReportList, EqualTextsKeepTheirOrderEitherWay)
{
    model.setColumns("a;b");
    addRows({"first|010", "x|5", "second|10", "third|0x10"});
    model.sort(1, Qt::AscendingOrder);
    EXPECT_EQ(columnTexts(0), QStringList({"x", "first", "second", "third"}));
    model.sort(1, Qt::DescendingOrder);
    EXPECT_EQ(columnTexts(0), QStringList({"first", "second", "third", "x"}));
}

TEST_F(ReportList, SeparatorRowsStayAndBoundSortedRuns)
{
    const QString separator = u8("项目类型");
    model.setColumns("a");
    addRows({"r", "p", separator, "s", "q2", separator, "z", "y"});
    model.setSeparatorText(separator);
    model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(columnTexts(0), QStringList({"p", "r", separator, "q2", "s", separator, "y", "z"}));
    model.sort(0, Qt::DescendingOrder);
    EXPECT_EQ(columnTexts(0), QStringList({"r", "p", separator, "s", "q2", separator, "z", "y"}));

    model.setSeparatorText(std::nullopt);
    model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(columnTexts(0).indexOf(separator), 6);  // GBK lead bytes order after ASCII
}

TEST_F(ReportList, ColoursChecksAndRowDataMoveWithTheirRows)
{
    model.setColumns("a;b");
    model.setCheckBoxes(true);
    addRows({"3|c", "1|a", "2|b"});
    for (int row = 0; row < 3; ++row) {
        const int key = model.itemText(row, 0).toInt();
        model.setTextColor(row, 1, rgb(key, 0, 0));
        model.setBackgroundColor(row, 0, rgb(0, key, 0));
        model.setRowData(row, key * 100);
        model.setChecked(row, key != 2);
    }
    const QPersistentModelIndex keyTwo = model.index(2, 1);
    model.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(columnTexts(1), QStringList({"a", "b", "c"}));
    for (int row = 0; row < 3; ++row) {
        const int key = row + 1;
        EXPECT_EQ(model.textColor(row, 1), rgb(key, 0, 0));
        EXPECT_EQ(model.textColor(row, 0), ReportListModel::systemTextColor());
        EXPECT_EQ(model.backgroundColor(row, 0), rgb(0, key, 0));
        EXPECT_EQ(model.rowData(row), key * 100);
        EXPECT_EQ(model.isChecked(row), key != 2);
    }
    EXPECT_EQ(keyTwo.row(), 1);
    EXPECT_EQ(keyTwo.column(), 1);
}

TEST_F(ReportList, HeaderClicksToggleAndEditsResetTheDirection)
{
    model.setColumns("a;b");
    addRows({"1|z", "3|x", "2|y"});
    model.sortByHeaderClick(0);
    EXPECT_EQ(columnTexts(0), QStringList({"1", "2", "3"}));
    model.sortByHeaderClick(0);
    EXPECT_EQ(columnTexts(0), QStringList({"3", "2", "1"}));
    model.sortByHeaderClick(1);
    EXPECT_EQ(columnTexts(1), QStringList({"x", "y", "z"}));
    model.sortByHeaderClick(1);
    EXPECT_EQ(columnTexts(1), QStringList({"z", "y", "x"}));

    model.appendRow("0");  // an insert forgets the sort state
    EXPECT_EQ(model.sortColumn(), -1);
    model.sortByHeaderClick(1);
    EXPECT_EQ(columnTexts(1), QStringList({"", "x", "y", "z"}));
    model.sortByHeaderClick(1);
    model.setItemText(0, 1, "w");  // so does a text change
    EXPECT_EQ(model.sortColumn(), -1);
    EXPECT_EQ(model.sortOrder(), Qt::AscendingOrder);

    const QStringList before = columnTexts(1);
    model.sortByHeaderClick(2);
    model.sortByHeaderClick(-1);
    EXPECT_EQ(columnTexts(1), before);
    EXPECT_EQ(model.sortColumn(), -1);
}

TEST(ReportListSort, MixedReadingsKeepEveryRow)
{
    // Pairwise readings are not transitive across kinds; the sort must still only reorder.
    ReportListModel model;
    const QStringList pool = {"10",     "9",  "A",    "abc",           "1e5", "2023-1-1", "7%", "",
                              u8("中"), "-3", "0x1F", "2023/1/1 8:00", "inf", "nan",      "G7", "12:00"};
    model.setColumns("a;b");
    QRandomGenerator random(7);
    QStringList texts;
    for (int i = 0; i < 5000; ++i) {
        texts.append(pool[random.bounded(int(pool.size()))]);
        model.setItemInt(model.appendRow(texts.last()), 1, i);
    }
    for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        model.sort(0, order);
        QStringList sortedTexts, ids;
        for (int row = 0; row < model.rowCount(); ++row) {
            sortedTexts.append(model.itemText(row, 0));
            ids.append(model.itemText(row, 1));
        }
        std::sort(sortedTexts.begin(), sortedTexts.end());
        std::sort(texts.begin(), texts.end());
        EXPECT_EQ(sortedTexts, texts);
        EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), 5000);
    }
}
