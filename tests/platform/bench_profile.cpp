// Speed of the profile module: one run of many keys through one ProfileFile, against
// the platform functions' way of re-reading and rewriting the file for every key.

#include "platform/Profile.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

using namespace dbkeel;

namespace {

const QString section = QStringLiteral("tb_bench");

QString keyOf(int i)
{
    return QStringLiteral("Itemval_%1").arg(i);
}
QString valueOf(int i)
{
    return QStringLiteral("'%1','检测线%1','A'").arg(i);
}

double writeThroughOneFile(const QString &path, int count)
{
    QElapsedTimer timer;
    timer.start();
    ProfileFile file(path);
    for (int i = 0; i < count; ++i)
        file.writeString(section, keyOf(i), valueOf(i));
    if (!file.save())
        std::fprintf(stderr, "save failed: %s\n", qPrintable(file.lastError()));
    return timer.nsecsElapsed() / 1e9;
}

double readThroughOneFile(const QString &path, int count)
{
    QElapsedTimer timer;
    timer.start();
    const ProfileFile file(path);
    int wrong = 0;
    for (int i = 0; i < count; ++i)
        wrong += file.readString(section, keyOf(i), QString(), 2048) != valueOf(i).mid(1, valueOf(i).size() - 2);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (wrong)
        std::fprintf(stderr, "%d values read back wrong\n", wrong);
    return seconds;
}

double writeKeyByKey(const QString &path, int count)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i)
        writeProfileString(path, section, keyOf(i), valueOf(i));
    return timer.nsecsElapsed() / 1e9;
}

long peakMemoryKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main()
{
    QTemporaryDir dir;
    const int many = 100000, few = 5000;

    const double write = writeThroughOneFile(dir.filePath("many.ini"), many);
    const double read = readThroughOneFile(dir.filePath("many.ini"), many);
    std::printf("%d keys written through one ProfileFile and saved: %.3f s\n", many, write);
    std::printf("%d keys read back through a fresh ProfileFile:     %.3f s\n", many, read);
    std::printf("peak memory: %ld KiB\n", peakMemoryKb());

    const double oneFile = writeThroughOneFile(dir.filePath("few.ini"), few);
    const double keyByKey = writeKeyByKey(dir.filePath("naive.ini"), few);
    std::printf("%d keys through one ProfileFile: %.4f s; rewriting the file per key: %.3f s; ratio %.0f\n", few,
                oneFile, keyByKey, keyByKey / oneFile);
    return 0;
}
