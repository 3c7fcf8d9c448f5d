// Prints how long the vehicle-type transfer takes for 100,000 models of 20 columns through the
// exchange file (export, then import), and how long the window's thread waited at most between two
// of its timer ticks meanwhile (its responsiveness). Target: export and import together under 10 s.

#include "core/SharedDb.h"
#include "screens/JobRunner.h"
#include "stats/VehicleTransfer.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include <sys/resource.h>

using namespace dbkeel;

namespace {

constexpr int kRows = 100000;
constexpr int kExtraColumns = 14;  // the table's 6 columns and these give 20

// CPU seconds of the whole process so far: on a shared machine the wall time also holds the waits
// for a core.
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Figures {
    double seconds = 0, cpu = 0;
    qint64 longestTickGapMs = 0;
    QStringList warnings;
};

// Runs `work` on a job while a 10 ms timer ticks on this thread.
Figures measure(const QString &connectString, const std::function<void(JobContext &, TransferReport &)> &work)
{
    Figures figures;
    JobRunner runner;
    TransferReport report;
    QElapsedTimer sinceTick, elapsed;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { figures.longestTickGapMs = std::max(figures.longestTickGapMs, sinceTick.restart()); });
    sinceTick.start();
    elapsed.start();
    const double cpuBefore = cpuSeconds();
    tick.start(10);
    QEventLoop loop;  // the window's event loop: it sleeps until an event comes
    QObject::connect(&runner, &JobRunner::finished, &loop, &QEventLoop::quit);
    runner.start([&](JobContext &job) { work(job, report); }, connectString);
    loop.exec();
    figures.seconds = elapsed.nsecsElapsed() / 1e9;
    figures.cpu = cpuSeconds() - cpuBefore;
    figures.warnings = report.warnings;
    return figures;
}

void print(const char *what, const Figures &figures)
{
    std::printf("%-8s %7.2f s (CPU %.2f s)   longest gap between ticks of the window's thread: %lld ms%s\n", what,
                figures.seconds, figures.cpu, static_cast<long long>(figures.longestTickGapMs),
                figures.warnings.isEmpty() ? "" : "   WARNINGS");
    for (const QString &warning : figures.warnings)
        std::printf("  %s\n", qPrintable(warning));
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const QString connect = test::sqliteConnectString(dir.filePath(QStringLiteral("bench.db")),
                                                      QStringLiteral("JournalMode=WAL;StepAPI=1;"));
    try {
        SharedDb db;
        db.open(connect, 10);
        db.exec(test::schemaText());
        QStringList values{QStringLiteral("'SVW7182' || n"), QStringLiteral("'桑塔纳'"), QStringLiteral("'轿车'"),
                           QStringLiteral("n % 3000"),       QStringLiteral("'EA211'"),  QStringLiteral("'汽油'")};
        for (int i = 1; i <= kExtraColumns; ++i) {
            db.exec(QStringLiteral("ALTER TABLE tb_type_vehicle ADD COLUMN EXTRA%1 TEXT").arg(i));
            values << QStringLiteral("'参数%1-' || n").arg(i);
        }
        db.exec(
            QStringLiteral("insert into tb_type_vehicle select null, %1 from (with recursive c(n) as (select 1 union "
                           "all select n + 1 from c where n < %2) select n from c)")
                .arg(values.join(QLatin1Char(',')))
                .arg(kRows));
        const QString file = dir.filePath(QStringLiteral("VehicleInfo.VEH"));
        std::printf("tb_type_vehicle: %d rows of %d columns\n", kRows, 6 + kExtraColumns);
        const Figures exported = measure(connect, [&](JobContext &job, TransferReport &report) {
            exportVehicleTypes(job, file, report);
        });
        print("export", exported);
        std::printf("exchange file: %.1f MB\n", QFileInfo(file).size() / 1e6);
        const Figures imported = measure(connect, [&](JobContext &job, TransferReport &report) {
            importVehicleTypes(job, file, report);
        });
        print("import", imported);
        SqlCursor count = db.query(QStringLiteral("select count(*) from tb_type_vehicle"));
        count.next();
        std::printf("rows after the import: %s\n", qPrintable(count.text(0)));
        std::printf("together %.2f s, CPU %.2f s (target under 10 s)\n", exported.seconds + imported.seconds,
                    exported.cpu + imported.cpu);
    } catch (const DbError &error) {
        std::printf("failed: %s\n", qPrintable(error.text()));
        return 1;
    }
    return 0;
}
