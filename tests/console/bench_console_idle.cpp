// Figures for the program's background threads at rest: the receive loop on channel 10 and the console
// worker against two real station agents on 127.0.0.1, and the database watchdog on a real SQLite
// database. Prints the CPU the process uses over an idle period, a station's reply time through the
// receive loop, and how long the threads take to stop.
//
//   bench_console_idle [SECONDS]   idle period, 10 s by default; run from the build's bin folder

#include "console/ConsoleState.h"
#include "console/ConsoleThreads.h"
#include "console/ConsoleWorker.h"
#include "console/StationCommands.h"
#include "core/AppLog.h"
#include "core/AppState.h"
#include "core/Database.h"
#include "core/DbWatchdog.h"
#include "core/SharedDb.h"
#include "core/StationRegistry.h"
#include "tests/console/ConsoleTestSupport.h"
#include "tests/support/HostTestSystem.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

using namespace dbkeel;
using namespace dbkeel::test;
using Clock = std::chrono::steady_clock;

namespace {

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The data source DbkeelBench on a fresh database file, named by entry 0 of the host configuration,
// opened as the program opens it at start.
bool openBenchDatabase(const QTemporaryDir &dir)
{
    const QString file = dir.filePath(QStringLiteral("bench.db"));
    writeFileBytes(
        dir.filePath(QStringLiteral("odbc.ini")),
        QStringLiteral("[DbkeelBench]\nDriver=SQLite3\nDatabase=%1\nJournalMode=WAL\nStepAPI=1\n").arg(file).toUtf8());
    qputenv("ODBCINI", dir.filePath(QStringLiteral("odbc.ini")).toUtf8());
    SharedDb seed;
    seed.open(test::sqliteConnectString(file, QString()), 5);
    seed.exec(QStringLiteral("create table t (a integer)"));
    writeHostCfg("[HOSTCFG]\r\n0=DbkeelBench,,127.0.0.1,,,sa,secret,127.0.0.1\r\n");
    loadedHostLib().getHostCfg(hostConfig());
    QString error;
    if (OpenDb(error) != 1) {
        std::fprintf(stderr, "database: %s\n", qPrintable(error));
        return false;
    }
    DbReady = 1;
    return true;
}

// Counts the replies of code 1003 as the receive loop handles them.
class TestReplies {
public:
    TestReplies()
    {
        m_connection = QObject::connect(
            &logHub(), &LogHub::entryAdded, &logHub(),
            [this](const QString &text, bool) {
                if (!text.contains(QStringLiteral("测试OK")))
                    return;
                {
                    const std::lock_guard lock(m_mutex);
                    ++m_count;
                }
                m_arrived.notify_all();
            },
            Qt::DirectConnection);
    }
    ~TestReplies() { QObject::disconnect(m_connection); }

    int count()
    {
        const std::lock_guard lock(m_mutex);
        return m_count;
    }
    bool waitFor(int count, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        return m_arrived.wait_for(lock, timeout, [&] { return m_count >= count; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    int m_count = 0;
    QMetaObject::Connection m_connection;
};

void printReplyTimes(const AgentProcess &agent)
{
    constexpr int kRoundTrips = 200;
    TestReplies replies;
    std::vector<double> times;
    for (int i = 0; i < kRoundTrips; ++i) {
        const int expected = replies.count() + 1;
        const auto sent = Clock::now();
        SendCommand(QStringLiteral("127.0.0.1"), agent.port(), stationcode::Test);
        if (!replies.waitFor(expected, std::chrono::seconds(2))) {
            std::printf("reply %d did not come within 2 s\n", i + 1);
            return;
        }
        times.push_back(millisecondsSince(sent));
    }
    std::sort(times.begin(), times.end());
    std::printf("reply time of a station (command 1003, %d round trips): median %.2f ms, 95th percentile %.2f ms, "
                "longest %.2f ms\n",
                kRoundTrips, times[times.size() / 2], times[times.size() * 95 / 100], times.back());
}

void printIdleCpu(int seconds)
{
    const double cpuBefore = processCpuSeconds();
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double cpu = processCpuSeconds() - cpuBefore;
    const double wall = millisecondsSince(start) / 1000.0;
    std::printf(
        "idle for %.1f s (receive loop, watchdog, two connected stations): %.1f ms of CPU = %.3f %% of a core\n", wall,
        cpu * 1000.0, 100.0 * cpu / wall);
}

void printStopTimes(DbWatchdog &watchdog)
{
    ExitRequested = 1;
    auto start = Clock::now();
    const bool acknowledged = consoleThreads().stopReceiveLoop(std::chrono::seconds(10));
    std::printf("exit: receive loop %s in %.1f ms", acknowledged ? "acknowledged" : "did NOT acknowledge",
                millisecondsSince(start));
    start = Clock::now();
    watchdog.stop();
    std::printf(", watchdog ended in %.1f ms\n", millisecondsSince(start));
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int idleSeconds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    if (qEnvironmentVariableIsEmpty("DBKEEL_BUILD_BIN"))
        qputenv("DBKEEL_BUILD_BIN", QFile::encodeName(QCoreApplication::applicationDirPath()));

    QTemporaryDir dir;
    if (!loadedHostLib().isLoaded() || !openBenchDatabase(dir))
        return 1;
    AgentProcess first, second;
    const int consolePort = freeUdpPort();
    if (!first.isReady() || !second.isReady() || hostLib().openNet(kStationChannel, 0, consolePort, kPeerPort) != 1) {
        std::fprintf(stderr, "the station agents or channel 10 did not start\n");
        return 1;
    }
    localStation() = StationRecord{1, QStringLiteral("127.0.0.1"), QString::number(consolePort),
                                   QStringLiteral("远程")};
    for (const AgentProcess *agent : {&first, &second}) {
        RegistryEntry entry;
        entry.station = StationRecord{0, QStringLiteral("127.0.0.1"), agent->portText(), QStringLiteral("工位")};
        stationRegistry().add(entry);
    }

    setSweepPause(std::chrono::milliseconds(50));
    consoleThreads().startReceiveLoop();
    consoleThreads().startWorker();
    DbWatchdog watchdog;
    watchdog.start();
    if (!eventually([] { return !consoleThreads().isWorkerRunning(); }, std::chrono::seconds(30))
        || !stationRegistry().allConnected() || !eventually([] { return DbReady == 1; })) {
        std::fprintf(stderr, "the start-up sweeps did not connect both stations, or the database is not ready\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));  // the watchdog's first cycle has passed

    printIdleCpu(idleSeconds);
    printReplyTimes(first);
    printStopTimes(watchdog);
    hostLib().closeNet(15);
    CloseDb();
    return 0;
}
