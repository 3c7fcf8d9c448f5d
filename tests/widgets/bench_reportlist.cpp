// Speed of the report list at 100,000 rows: fill, sort, scroll. Prints figures.

#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QTest>

#include <sys/resource.h>

#include <cstdio>

using namespace dbkeel;

namespace {

constexpr int Rows = 100000;

long peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

void report(const char *what, qint64 ms)
{
    std::printf("%-44s %7lld ms   peak memory %ld MiB\n", what, static_cast<long long>(ms), peakMemoryMiB());
}

void fill(ReportListModel &model)
{
    QRandomGenerator random(1);
    const QStringList names =
        {QString::fromUtf8("制动台"), QString::fromUtf8("灯光仪"), QString::fromUtf8("侧滑台"), "Speed", "Emission",
         QString::fromUtf8("安检线"), QString::fromUtf8("北区")};
    for (int i = 0; i < Rows; ++i) {
        const int row = model.appendRow(QString::number(i + 1));
        model.setItemText(row, 1, names[random.bounded(int(names.size()))] + QString::number(random.bounded(1000)));
        model.setItemInt(row, 2, int(random.bounded(1000000)));
        model.setItemText(row, 3, QString::number(random.bounded(10000) / 100.0) + '%');
        model.setItemText(row, 4,
                          QDateTime(QDate(2020, 1, 1).addDays(random.bounded(1500)),
                                    QTime(0, 0).addSecs(random.bounded(86400)))
                              .toString("yyyy-MM-dd HH:mm:ss"));
        model.setItemText(row, 5, QString("192.168.%1.%2").arg(random.bounded(256)).arg(random.bounded(256)));
        model.setItemText(row, 6, QString::fromUtf8("备注") + QString::number(i % 97));
        if (i % 3 == 0)
            model.setTextColor(row, -1, listcolor::Blue);
    }
}

template <typename F>
qint64 timed(F &&work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.elapsed();
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    ReportListView view;
    view.resize(900, 600);
    view.show();
    if (!QTest::qWaitForWindowExposed(&view)) {
        std::fprintf(stderr, "the list window was not shown\n");
        return 1;
    }
    ReportListModel &model = *view.reportModel();
    model.setColumns("ID,60;名称,150;数值,80;比例,70;时间,150,1;地址,120;备注,100");

    std::printf("before filling: peak memory %ld MiB\n", peakMemoryMiB());
    report("fill 100000 rows x 7 columns (view attached)", timed([&] { fill(model); }));
    report("sort by a numeric column, ascending", timed([&] { model.sort(2, Qt::AscendingOrder); }));
    report("sort by the same column, descending", timed([&] { model.sort(2, Qt::DescendingOrder); }));
    report("sort by a text column (Chinese names)", timed([&] { model.sort(1, Qt::AscendingOrder); }));
    report("sort by a date-time column", timed([&] { model.sort(4, Qt::AscendingOrder); }));
    report("sort by a percentage column", timed([&] { model.sort(3, Qt::AscendingOrder); }));
    report("sort by an address column", timed([&] { model.sort(5, Qt::AscendingOrder); }));

    const int perScreen = std::max(1, view.viewport()->height() / view.verticalHeader()->defaultSectionSize());
    int screens = 0;
    const qint64 scrollMs = timed([&] {
        for (int row = 0; row < Rows; row += perScreen, ++screens) {
            view.scrollTo(model.index(row, 0), QAbstractItemView::PositionAtTop);
            view.viewport()->repaint();
        }
    });
    std::printf("scroll through all rows: %d screens of %d rows, %.3f ms per screen   peak memory %ld MiB\n", screens,
                perScreen, double(scrollMs) / screens, peakMemoryMiB());

    report("delete all rows", timed([&] { model.deleteAllRows(); }));
    return 0;
}
