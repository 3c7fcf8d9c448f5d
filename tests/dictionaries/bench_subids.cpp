// Prints how long the sub-ID screen takes on a large installation (20,000 sub-IDs of the 20 exported
// fields, 1,000 each, on the embedded database with the demo's data-source options): opening the screen,
// switching fields, "校验", and an export and import of all of them (into the same database, where every
// value exists, and into an empty one). Each should stay under 1 s.

#include "core/SharedDb.h"
#include "dictionaries/SubIdDialog.h"
#include "platform/ScriptedPrompt.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <functional>

using namespace dbkeel;

namespace {

constexpr int kFields = 20, kValuesPerField = 1000;

void openDb(const QString &path)
{
    sharedDb().close();
    sharedDb().open(test::sqliteConnectString(path, QStringLiteral("JournalMode=WAL;StepAPI=1;")), 10);
    sharedDb().exec(test::schemaText());
}

void fill()
{
    const int infoIds[kFields] = {1005, 1006, 1008, 1009, 1010, 1012, 1037, 1038, 1044, 1046,
                                  1048, 1067, 1069, 1070, 1082, 1106, 1107, 1125, 1148, 1171};
    SqlTransaction transaction(sharedDb());
    for (int infoId : infoIds) {
        sharedDb().exec(QStringLiteral("insert into tb_id_info(infoid, infoname) values (%1, '字段%1')").arg(infoId));
        for (int n = 1; n <= kValuesPerField; ++n)
            sharedDb().exec(
                QStringLiteral("insert into tb_login_ini(infoid, infoname_about, infosubid, infovalue_about, "
                               "subbyname, subbynameid, sametypeid) values (%1, '字段%1', %2, '取值%3', "
                               "'标准值', '%4', '1')")
                    .arg(infoId)
                    .arg(infoId * 10000 + n)
                    .arg(n)
                    .arg(infoId * 10000 + 1));
    }
    transaction.commit();
}

double cpuMilliseconds()
{
    return std::clock() * 1000.0 / CLOCKS_PER_SEC;
}

// Wall time and the process's processor time (the machine may be busy with other work).
void measure(const char *what, const std::function<void()> &work)
{
    QElapsedTimer timer;
    const double cpu = cpuMilliseconds();
    timer.start();
    work();
    std::printf("%-44s %6lld ms  (processor %6.0f ms)\n", what, static_cast<long long>(timer.elapsed()),
                cpuMilliseconds() - cpu);
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir dir;
    ScriptedPrompt prompts;
    try {
        openDb(dir.filePath(QStringLiteral("large.db")));
        fill();
        SqlCursor count = sharedDb().query(QStringLiteral("select count(*) as n from tb_login_ini"));
        count.next();
        std::printf("%d sub-IDs in %d fields\n", count.toInt(0), kFields);

        SubIdEditor editor;
        measure("open (field names, every value listed)", [&] { editor.open(); });
        std::printf("listed: %d rows, %d field names\n", editor.list().rowCount(), int(editor.fieldNames().size()));
        measure("switch to a field (1,000 values)", [&] { editor.chooseField(QStringLiteral("字段1082")); });
        measure("switch back to every value (filter, open)", [&] { editor.open(); });
        measure("check 20,000 rows", [&] { editor.check(); });
        measure("export all", [&] {
            prompts.answerFolder(dir.path()).answer(PromptButton::Ok);
            editor.exportFile(false);
        });
        const QString file = dir.filePath(QStringLiteral("TRANSINFO.TRANSINFO"));
        measure("import all, every value present", [&] {
            prompts.answerFile(file).answer(PromptButton::Ok);
            editor.importFile();
        });
        measure("open the screen SubIdDialog", [&] { SubIdDialog screen; });
        measure("login flags of 20,000 rows (更新)", [&] {
            prompts.answer(PromptButton::Ok);
            editor.storeLoginFlags();
        });

        openDb(dir.filePath(QStringLiteral("empty.db")));
        measure("import all into an empty database", [&] {
            prompts.answerFile(file).answer(PromptButton::Ok);
            editor.importFile();
        });
        editor.open();
        measure("delete all 20,000 shown", [&] {
            prompts.answer(PromptButton::Ok);
            editor.deleteAllShown();
        });
        std::printf("prompts: %s\n", qPrintable(prompts.lastCall().text));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
