// Figures for the two large writes of line composition on the embedded database: the layout Build
// (30 lines × 10 stations × 5 devices of 20 items: 1,500 placements, 30,000 index rows) and the import
// of a bundle of 200 devices, 1,000 items, 5,000 parameters and their relations. Run by hand.

#include "composition/BaseBundle.h"
#include "composition/LineLayoutEditor.h"
#include "core/AppState.h"
#include "core/HostLib.h"
#include "core/SchemaUpgrade.h"
#include "core/SharedDb.h"
#include "platform/ScriptedPrompt.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace dbkeel;

namespace {

void openFresh(const QString &path)
{
    sharedDb().close();
    sharedDb().open(test::sqliteConnectString(path, QStringLiteral("StepAPI=1;JournalMode=WAL;")), 10);
    sharedDb().exec(test::schemaText());
    runUpgradeGroup1(sharedDb());
    runUpgradeGroup2Tables(sharedDb());
    runUpgradeGroup2Columns(sharedDb());
    DbReady = 1;
}

// Many rows in one statement, so the seeding does not count.
void insertRows(const QString &head, const QStringList &values)
{
    SqlTransaction transaction(sharedDb());
    for (qsizetype k = 0; k < values.size(); k += 500)
        sharedDb().exec(head + values.mid(k, 500).join(u','));
    transaction.commit();
}

double benchBuild(const QString &folder)
{
    openFresh(folder + QStringLiteral("/layout.db"));
    QStringList devices, items, params, devItems, itemParams;
    for (int device = 1; device <= 50; ++device) {
        devices << QStringLiteral("(%1,'设备%1','K')").arg(device);
        for (int k = 0; k < 20; ++k) {
            const int item = 1000 + device * 20 + k;
            items << QStringLiteral("(%1,'项目%1')").arg(item);
            params << QStringLiteral("(%1,'参数%1')").arg(item * 10);
            devItems << QStringLiteral("(%1,'设备%1',%2,'项目%2')").arg(device).arg(item);
            itemParams << QStringLiteral("(%1,'项目%1',%2,'参数%2')").arg(item).arg(item * 10);
        }
    }
    insertRows(QStringLiteral("insert into tb_id_devid(devid,devname,devkeychar) values "), devices);
    insertRows(QStringLiteral("insert into tb_id_itemid(itemid,itemname) values "), items);
    insertRows(QStringLiteral("insert into tb_id_paramid(paramid,paramname) values "), params);
    insertRows(QStringLiteral("insert into tb_id_dev_item(devid,devname,itemid,itemname) values "), devItems);
    insertRows(QStringLiteral("insert into tb_id_item_param(itemid,itemname,paramid,paramname) values "), itemParams);
    sharedDb().exec(QStringLiteral("insert into tb_id_linetype(lintype,linename) values (1,'安检线')"));

    LineLayoutEditor layout;
    layout.open();
    for (int line = 1; line <= 30; ++line)
        for (int station = 1; station <= 10; ++station)
            for (int slot = 1; slot <= 5; ++slot) {
                PlacementInput input;
                input.line = QString::number(line);
                input.station = QString::number(station);
                input.lineTypeName = QStringLiteral("安检线");
                input.deviceName = QStringLiteral("设备%1").arg((station - 1) * 5 + slot);
                layout.addRow(input);
            }
    ScriptedPrompt prompts;
    prompts.answer(PromptButton::Ok);
    QElapsedTimer timer;
    timer.start();
    const bool closed = layout.build() == LineLayoutEditor::BuildEnd::Close;
    const double seconds = timer.nsecsElapsed() / 1e9;
    SqlCursor count = sharedDb().query(QStringLiteral("select count(*) from tb_login_lineindex"));
    count.next();
    std::printf("Build: %d placements, %s index rows, %s, %.3f s\n", layout.list().rowCount(),
                qPrintable(count.text(0)), closed ? "built" : "FAILED", seconds);
    return seconds;
}

struct NullLog : BundleLog {
    int failures = 0;
    void add(const QString &, bool failure) override { failures += failure; }
};

double benchImport(const QString &folder)
{
    openFresh(folder + QStringLiteral("/source.db"));
    QStringList devices, items, params, devItems, itemParams;
    for (int device = 1; device <= 200; ++device)
        devices << QStringLiteral("(%1,'设备%1','K')").arg(device);
    for (int item = 1; item <= 1000; ++item) {
        items << QStringLiteral("(%1,'项目%1')").arg(item);
        devItems << QStringLiteral("(%1,'设备%1',%2,'项目%2')").arg((item - 1) / 5 + 1).arg(item);
        for (int k = 0; k < 5; ++k) {
            const int param = (item - 1) * 5 + k + 1;
            params << QStringLiteral("(%1,'参数%1')").arg(param);
            itemParams << QStringLiteral("(%1,'项目%1',%2,'参数%2')").arg(item).arg(param);
        }
    }
    insertRows(QStringLiteral("insert into tb_id_devid(devid,devname,devkeychar) values "), devices);
    insertRows(QStringLiteral("insert into tb_id_itemid(itemid,itemname) values "), items);
    insertRows(QStringLiteral("insert into tb_id_paramid(paramid,paramname) values "), params);
    insertRows(QStringLiteral("insert into tb_id_dev_item(devid,devname,itemid,itemname) values "), devItems);
    insertRows(QStringLiteral("insert into tb_id_item_param(itemid,itemname,paramid,paramname) values "), itemParams);
    const QString bundle = folder + QStringLiteral("/ALLLINEDATA.ALLINE");
    NullLog log;
    QElapsedTimer timer;
    timer.start();
    exportBundle(sharedDb(), bundle, log);
    const double exportSeconds = timer.nsecsElapsed() / 1e9;

    openFresh(folder + QStringLiteral("/target.db"));
    timer.restart();
    const bool imported = importBundle(sharedDb(), bundle, log);
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::printf("Bundle: 200 devices, 1000 items, 5000 parameters, 1000 + 5000 relations: export %.3f s, "
                "import %s %.3f s\n",
                exportSeconds, imported && log.failures == 0 ? "" : "FAILED", seconds);
    return seconds;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (qEnvironmentVariableIsEmpty("DBKEEL_BUILD_BIN"))
        qputenv("DBKEEL_BUILD_BIN", DBKEEL_BENCH_BIN);
    if (hostLib().load(1, test::buildBinDir()) != 1) {
        std::fprintf(stderr, "host library: %s\n", qPrintable(hostLib().errorString()));
        return 1;
    }
    QTemporaryDir dir;
    const double build = benchBuild(dir.path());
    const double import = benchImport(dir.path());
    std::printf("target: each under 2 s: %s\n", build < 2 && import < 2 ? "met" : "NOT met");
    sharedDb().close();
    return 0;
}
