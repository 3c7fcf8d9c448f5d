// Figures for `dbkeel-cli doctor` on a large installation: the demo installation with its base tables
// replaced by the benchmarks' large set (20,000 sub-IDs, 1,500 placements) and the relations of its run
// tables, index files built first. Run by hand:
//
//   build/bin/bench_doctor

#include "core/SharedDb.h"
#include "tests/support/LargeInstallation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace dbkeel;

namespace {

const char *const kClearedTables[] = {"tb_login_ini",       "tb_id_info",  "tb_id_itemid",   "tb_id_item",
                                      "tb_id_paramid",      "tb_id_devid", "tb_id_param",    "tb_line_info",
                                      "tb_login_lineindex", "tb_user",     "tb_id_dev_item", "tb_id_item_param"};

const char *const kRelations[] = {
    "insert into tb_id_dev_item (devid, itemid) select distinct devId, ItemId from tb_id_param",
    "insert into tb_id_item_param (itemid, paramid, paramname) select ItemId, ParamId, ParamName from tb_id_param",
};

void print(const QString &line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

// Runs a program of the build folder on the installation in `dir`; its exit code, -1 when it did not finish.
int run(const QString &dir, const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ODBCINI"), dir + QStringLiteral("/odbc.ini"));
    environment.insert(QStringLiteral("DBKEEL_SYSDIR"), dir + QStringLiteral("/system"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(600000))
        return -1;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const QString bin = QCoreApplication::applicationDirPath();
    if (run(dir.path(), QStringLiteral(DBKEEL_BENCH_SOURCE "/scripts/make-demo-db"), {dir.path()}) != 0
        || !QFile::copy(bin + QStringLiteral("/libHostCfg.so"), dir.filePath(QStringLiteral("system/libHostCfg.so")))) {
        print(QStringLiteral("the demo installation could not be made"));
        return 1;
    }
    {
        SharedDb db;
        db.open(QStringLiteral("DRIVER=SQLite3;Database=%1;StepAPI=1;JournalMode=WAL;")
                    .arg(dir.filePath(QStringLiteral("dbkeel-demo.db"))),
                10);
        for (const char *table : kClearedTables)
            db.exec(QStringLiteral("delete from %1").arg(QLatin1String(table)));
        for (const char *statement : test::kLargeInstallation)
            db.exec(QString::fromUtf8(statement));
        for (const char *statement : kRelations)
            db.exec(QString::fromUtf8(statement));
    }
    const QString cli = bin + QStringLiteral("/dbkeel-cli");
    QElapsedTimer timer;
    timer.start();
    if (run(dir.path(), cli, {QStringLiteral("index"), QStringLiteral("-q")}) != 0) {
        print(QStringLiteral("dbkeel-cli index failed on the large installation"));
        return 1;
    }
    const double indexMilliseconds = timer.nsecsElapsed() / 1e6;
    QByteArray findings;
    timer.start();
    const int exitCode = run(dir.path(), cli, {QStringLiteral("doctor")}, &findings);
    const double milliseconds = timer.nsecsElapsed() / 1e6;
    print(QStringLiteral("dbkeel-cli doctor, large installation (20000 sub-IDs, 1000 items, 5000 parameters, 200 "
                         "devices, 1500 placements), embedded database"));
    print(QStringLiteral("  %1 ms (target: under 5000 ms), exit %2, %3 finding lines; dbkeel-cli index alone %4 ms")
              .arg(QString::number(milliseconds, 'f', 1), QString::number(exitCode),
                   QString::number(findings.count('\n')), QString::number(indexMilliseconds, 'f', 1)));
    return exitCode == 0 || exitCode == 1 ? 0 : 1;
}
