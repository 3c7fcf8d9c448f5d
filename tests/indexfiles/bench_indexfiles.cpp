// Figures for the index file build on a large installation on the embedded database: the total and
// each part's time, and what the same key writes cost when every write rewrites the file (the
// platform's own profile writer) against writes kept in memory and saved once. Run by hand:
//
//   build/bin/bench_indexfiles

#include "core/HostLib.h"
#include "core/SchemaUpgrade.h"
#include "core/SharedDb.h"
#include "indexfiles/IndexFileBuild.h"
#include "platform/Profile.h"
#include "tests/support/LargeInstallation.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <ctime>

using namespace dbkeel;

namespace {

double cpuMilliseconds()
{
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
}

void print(const QString &line)
{
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

// Replays the first `count` key writes of `index` (file order is first-write order) into `path`.
double replayMilliseconds(const QString &index, const QString &path, int count, bool rewriteEachKey)
{
    const ProfileFile source(index);
    QFile::remove(path);
    ProfileFile kept(path);
    QElapsedTimer timer;
    timer.start();
    int written = 0;
    for (const QString &section : source.sectionNames()) {
        for (const QString &key : source.keyNames(section)) {
            if (written == count)
                break;
            const QString value = source.readString(section, key, QString(), 1 << 24);
            if (rewriteEachKey)
                writeProfileString(path, section, key, value);
            else
                kept.writeString(section, key, value);
            ++written;
        }
    }
    if (!rewriteEachKey)
        kept.save();
    return timer.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    if (hostLib().load(1, QCoreApplication::applicationDirPath()) != 1) {
        print(QStringLiteral("the host library does not load: %1").arg(hostLib().errorString()));
        return 1;
    }
    const QString connect = test::sqliteConnectString(dir.filePath(QStringLiteral("large.db")),
                                                      QStringLiteral("StepAPI=1;JournalMode=WAL;"));
    {
        SharedDb db;
        db.open(connect, 10);
        db.exec(test::schemaText());
        runUpgradeGroup2Tables(db);
        runUpgradeGroup2Columns(db);
        for (const char *statement : test::kLargeInstallation)
            db.exec(QString::fromUtf8(statement));
    }
    const IndexFileTargets targets{dir.filePath(QStringLiteral("SystemIndex.ini")), dir.path()};

    QElapsedTimer total, part;
    QStringList figures;
    IndexBuildCallbacks callbacks;
    callbacks.partStarting = [&part](int, const QString &) { part.start(); };
    callbacks.partFinished = [&part, &figures](const PartOutcome &outcome) {
        figures << QStringLiteral("  %1 %2 %3 ms%4")
                       .arg(outcome.number, 2)
                       .arg(outcome.name, -15)
                       .arg(part.nsecsElapsed() / 1e6, 8, 'f', 1)
                       .arg(outcome.result == PartResult::Succeeded ? QString()
                                                                    : QStringLiteral("  FAILED ") + outcome.error);
    };
    total.start();
    const double cpuBefore = cpuMilliseconds();
    const IndexBuildResult result = buildIndexFiles(targets, connect, callbacks);
    const double totalMs = total.nsecsElapsed() / 1e6;
    const double cpuMs = cpuMilliseconds() - cpuBefore;

    print(
        QStringLiteral("index file build, large installation (20000 sub-IDs, 1000 items, 5000 parameters, 200 devices, "
                       "30 lines x 10 stations x 5 devices, 200 users), embedded database"));
    for (const QString &line : figures)
        print(line);
    print(QStringLiteral("  total %1 ms (target: under 2000 ms; CPU time %2 ms), %3, index file %4 bytes")
              .arg(totalMs, 0, 'f', 1)
              .arg(cpuMs, 0, 'f', 1)
              .arg(result.succeeded() ? QStringLiteral("all parts succeeded") : QStringLiteral("FAILED"))
              .arg(QFile(targets.indexFile).size()));

    // Both replays in one folder; in memory when the machine has one (/dev/shm), so the figures show
    // the writers' work rather than the disk's flushes.
    QTemporaryDir replayDir(QDir(QStringLiteral("/dev/shm")).exists()
                                ? QStringLiteral("/dev/shm/bench_indexfiles-XXXXXX")
                                : dir.filePath(QStringLiteral("replay-XXXXXX")));
    const int keys = 2000;
    const double kept = replayMilliseconds(targets.indexFile, replayDir.filePath(QStringLiteral("kept.ini")), keys,
                                           false);
    const double rewritten = replayMilliseconds(targets.indexFile, replayDir.filePath(QStringLiteral("rewritten.ini")),
                                                keys, true);
    print(QStringLiteral("the first %1 key writes (in %2): kept in memory and saved once %3 ms; the file rewritten per "
                         "key %4 ms (%5 times as long)")
              .arg(keys)
              .arg(replayDir.path())
              .arg(kept, 0, 'f', 1)
              .arg(rewritten, 0, 'f', 1)
              .arg(rewritten / kept, 0, 'f', 0));
    return result.succeeded() ? 0 : 1;
}
