// Speed figures of the maintenance screens on 100,000 rows, against the real SQLite driver:
// the item-parameter check, the table browser (first rows, all rows, peak memory) and the log filter.
// Prints figures; not a ctest. Usage: bench_maintenance [source folder]

#include "core/SharedDb.h"
#include "maintenance/ItemParamCheckEditor.h"
#include "maintenance/SystemLogEditor.h"
#include "maintenance/TableBrowser.h"
#include "platform/ScriptedPrompt.h"
#include "tests/support/TestSupport.h"
#include "widgets/ReportListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

using namespace dbkeel;

namespace {

constexpr int kRows = 100000;

void exec(const QString &batch)
{
    sharedDb().exec(batch);
}

QString numbers(int count)
{
    return QStringLiteral("with recursive c(n) as (select 1 union all select n + 1 from c where n < %1) ").arg(count);
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// CPU time of the process (every thread) so far: the figure that does not depend on other work on the machine.
long long cpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1000LL + t.tv_usec / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

void benchItemParamCheck()
{
    exec(QStringLiteral("create table tb_id_param (devId INTEGER, ParamId INTEGER, ItemId INTEGER, ParamName TEXT)"));
    // Every parameter on two devices; every hundredth one also under a second item.
    exec(QStringLiteral("insert into tb_id_param %1 select n % 2, n / 2, case when n % 200 = 0 then 2 else 1 end, "
                        "'参数' || (n / 2) from c")
             .arg(numbers(kRows)));
    ItemParamCheckEditor check;
    QElapsedTimer clock;
    clock.start();
    check.load();
    const qint64 load = clock.restart();
    check.check();
    std::printf("item-parameter check, %d rows: load %lld ms, check %lld ms (target < 1000 ms); %s\n", kRows,
                static_cast<long long>(load), static_cast<long long>(clock.elapsed()),
                check.status().left().toUtf8().constData());
}

void benchBrowser(const QString &connectString)
{
    QStringList columns, values;
    for (int column = 0; column < 20; ++column) {
        columns << QStringLiteral("c%1 TEXT").arg(column);
        values << QStringLiteral("'值%1-' || n").arg(column);
    }
    exec(QStringLiteral("create table tb_wide (%1)").arg(columns.join(u',')));
    exec(QStringLiteral("insert into tb_wide %1 select %2 from c").arg(numbers(kRows), values.join(u',')));

    ScriptedPrompt prompts;
    TableBrowser browser;
    browser.setConnectString(connectString);
    ReportListView view;
    view.resize(1000, 400);
    view.setModel(&browser.list());
    view.show();
    browser.chooseTable(QStringLiteral("tb_wide"), 980);
    const long before = peakKilobytes();
    const long long cpuBefore = cpuMilliseconds();
    QElapsedTimer clock;
    qint64 firstRows = -1;
    QObject::connect(&browser.runner(), &JobRunner::rowsReady, &view, [&] {
        if (firstRows < 0) {
            view.viewport()->repaint();
            firstRows = clock.elapsed();
        }
    });
    prompts.answer(PromptButton::Ok);
    clock.start();
    browser.browse(QString());
    browser.runner().wait(std::chrono::minutes(5));
    std::printf("table browser, %d rows x 20 columns: first rows on screen %lld ms (target < 300), all rows %lld ms "
                "(target < 3000; %lld ms CPU in all threads), %d rows listed; peak memory %ld MB (%ld MB before the "
                "browse)\n",
                kRows, static_cast<long long>(firstRows), static_cast<long long>(clock.elapsed()),
                cpuMilliseconds() - cpuBefore, browser.list().rowCount(), peakKilobytes() / 1024, before / 1024);
}

void benchLogFilter()
{
    exec(QStringLiteral("create table tb_sys_log (ID INTEGER PRIMARY KEY, UserID TEXT, UserTrueName TEXT, UserPower "
                        "TEXT, Zt2SysLog TEXT, ProgramName TEXT, InsertDate TEXT)"));
    exec(QStringLiteral("insert into tb_sys_log(UserID, UserTrueName, UserPower, Zt2SysLog, ProgramName, InsertDate) "
                        "%1 select n, '操作员' || (n % 50), '1', '修改了记录' || n, 'Dbkeel', "
                        "'2026-12-' || (1 + n % 28) || ' 08:00:00' from c")
             .arg(numbers(kRows)));
    SystemLogEditor log;
    const struct {
        LogFilter filter;
        const char *text;
    } cases[] = {{LogFilter::None, ""}, {LogFilter::Operator, "员1"}, {LogFilter::DateTime, "2026-12-1"}};
    for (const auto &c : cases) {
        QElapsedTimer clock;
        clock.start();
        log.query(c.filter, QString::fromUtf8(c.text));
        std::printf("system log filter '%s' on %d rows: %d rows in %lld ms (target < 1000)\n", c.text, kRows,
                    log.list().rowCount(), static_cast<long long>(clock.elapsed()));
    }
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString connectString = test::sqliteConnectString(dir.filePath(QStringLiteral("bench.db")),
                                                            QStringLiteral("StepAPI=1;JournalMode=WAL;"));
    double load[1] = {0};
    getloadavg(load, 1);
    std::printf("load average of the machine: %.1f\n", load[0]);
    try {
        sharedDb().open(connectString, 10);
        benchItemParamCheck();
        benchBrowser(connectString);
        benchLogFilter();
    } catch (const DbError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
