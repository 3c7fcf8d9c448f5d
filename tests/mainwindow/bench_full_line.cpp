// Figures for a full installation: the program's main window on the demo database laid out as lines
// of station computers, each answered by a real station agent on its own port of 127.0.0.1 (one child
// process serves them all). Prints how long the start-up sweep takes until every computer is
// connected, a 连接 sweep, a 测试通讯 to all, the longest time the window's thread was blocked during
// each, and the CPU the whole program uses at rest with every computer connected.
//
//   bench_full_line [STATIONS [IDLE_SECONDS [SWEEP_PAUSE_MS]]]   300, 20 s and 50 ms by default
//
// The installation pauses 1000 ms after each send of a sweep; the shorter default keeps a run of 300
// computers within a minute and still waits far longer than a reply takes on loopback.

#include "agent/AgentConfig.h"
#include "agent/AgentLog.h"
#include "agent/StationAgent.h"
#include "app/MainWindow.h"
#include "app/MainWindowPanel.h"
#include "app/Program.h"
#include "console/ConsolePanel.h"
#include "console/ConsoleThreads.h"
#include "console/ConsoleWorker.h"
#include "core/AppLog.h"
#include "core/SharedDb.h"
#include "core/StationRegistry.h"
#include "platform/ScriptedPrompt.h"
#include "tests/support/TestSupport.h"
#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace dbkeel;
using namespace dbkeel::test;

namespace {

constexpr int kStationsPerLine = 30;

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// ---- the child process: `count` station agents, one socket each, answering as dbkeel-agent does

int serveAgents(int count)
{
    agent::AgentLog log;
    QTemporaryDir logs;
    if (!log.open(logs.filePath(QStringLiteral("agents.log"))))
        return 1;
    std::vector<std::unique_ptr<QUdpSocket>> sockets;
    std::vector<std::unique_ptr<agent::StationAgent>> agents;
    QStringList ports;
    for (int i = 0; i < count; ++i) {
        auto socket = std::make_unique<QUdpSocket>();
        if (!socket->bind(QHostAddress::LocalHost, 0))
            return 1;
        agent::AgentConfig config;
        config.bindAddress = QStringLiteral("127.0.0.1");
        config.port = socket->localPort();
        config.name = QStringLiteral("工位%1").arg(i + 1);
        auto station = std::make_unique<agent::StationAgent>(config, log);
        QUdpSocket *s = socket.get();
        agent::StationAgent *a = station.get();
        QObject::connect(s, &QUdpSocket::readyRead, s, [s, a] {
            while (s->hasPendingDatagrams()) {
                const QNetworkDatagram datagram = s->receiveDatagram();
                if (const auto reply = a->handle(datagram.data(), datagram.senderAddress(),
                                                 quint16(datagram.senderPort())))
                    s->writeDatagram(*reply, datagram.senderAddress(), quint16(datagram.senderPort()));
            }
        });
        ports << QString::number(config.port);
        sockets.push_back(std::move(socket));
        agents.push_back(std::move(station));
    }
    std::printf("%s\n", qPrintable(ports.join(QLatin1Char(' '))));
    std::fflush(stdout);
    return QCoreApplication::exec();
}

// ---- the console side

// The demo database's layout replaced by lines of kStationsPerLine stations, one per agent port.
bool layOutStations(const QStringList &ports)
{
    try {
        SharedDb db;
        db.open(QStringLiteral("DRIVER=SQLite3;Database=%1/dbkeel-demo.db;").arg(processDemoFolder()), 5);
        SqlTransaction transaction(db);
        db.exec(QStringLiteral("delete from tb_line_info"));
        for (int i = 0; i < ports.size(); ++i) {
            const int line = i / kStationsPerLine + 1;
            db.exec(QStringLiteral("insert into tb_line_info (linetype, lineid, stationid, devid, runorder, linename, "
                                   "devname, stationip, stationport) values (1, %1, %2, 3, %3, '线%1', "
                                   "'滚筒制动检验台', '127.0.0.1', %4)")
                        .arg(QString::number(line), QString::number(i % kStationsPerLine + 1), QString::number(i + 1),
                             ports.at(i)));
        }
        transaction.commit();
        return true;
    } catch (const DbError &error) {
        std::fprintf(stderr, "layout: %s\n", qPrintable(error.text()));
        return false;
    }
}

bool makeDemo()
{
    QProcess script;
    script.start(sourceDir() + QStringLiteral("/scripts/make-demo-db"),
                 {QStringLiteral("--force"), processDemoFolder()});
    if (!script.waitForFinished(60000) || script.exitCode() != 0) {
        std::fprintf(stderr, "make-demo-db: %s\n", script.readAllStandardError().constData());
        return false;
    }
    const QString library = processDemoFolder() + QStringLiteral("/system/libHostCfg.so");
    QFile::remove(library);
    QFile::remove(processDemoFolder() + QStringLiteral("/program/dbtool.ini"));
    return QFile::copy(buildBinDir() + QStringLiteral("/libHostCfg.so"), library);
}

// The longest time the window's thread did not come back to its event loop while it runs.
class ThreadGapProbe {
public:
    ThreadGapProbe()
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_clock.nsecsElapsed());
            m_clock.restart();
        });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_timer.start();
    }
    double stopMs()
    {
        m_timer.stop();
        return double(m_longest) / 1e6;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

// Runs the window's events until `done` holds or `seconds` passed; false on the timeout.
bool runUntil(const std::function<bool()> &done, int seconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > seconds * 1000)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

bool everyRowConnected(const MainWindow &window)
{
    const ReportListModel *rows = window.panel()->computerList()->reportModel();
    for (int row = 0; row < rows->rowCount(); ++row)
        if (rows->itemText(row, 3) != QStringLiteral("已连接"))
            return false;
    return rows->rowCount() > 0;
}

// Counts the log entries that contain `text`, as they are added.
class LogCounter {
public:
    explicit LogCounter(const QString &text)
    {
        m_connection = QObject::connect(
            &logHub(), &LogHub::entryAdded, &logHub(),
            [this, text](const QString &entry, bool) {
                if (entry.contains(text))
                    ++m_count;
            },
            Qt::DirectConnection);
    }
    ~LogCounter() { QObject::disconnect(m_connection); }
    int count() const { return m_count.load(); }

private:
    std::atomic<int> m_count{0};
    QMetaObject::Connection m_connection;
};

// Every registry entry not connected again, as before the first sweep.
void forgetConnections()
{
    const QList<RegistryEntry> entries = stationRegistry().entries();
    stationRegistry().clear();
    for (RegistryEntry entry : entries) {
        entry.connected = false;
        stationRegistry().add(entry);
    }
}

int runConsole(int stations, int idleSeconds, int pauseMs)
{
    QProcess agents;
    agents.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    agents.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--serve-agents"), QString::number(stations)});
    if (!agents.waitForReadyRead(30000)) {
        std::fprintf(stderr, "the station agents did not start\n");
        return 1;
    }
    const QStringList ports = QString::fromLatin1(agents.readLine()).trimmed().split(QLatin1Char(' '));
    if (ports.size() != stations || !makeDemo() || !layOutStations(ports))
        return 1;
    std::printf("%d stations in %d lines, each answered by an agent on 127.0.0.1; sweep pause %d ms\n", stations,
                (stations + kStationsPerLine - 1) / kStationsPerLine, pauseMs);

    ScriptedPrompt prompt;
    setSweepPause(std::chrono::milliseconds(pauseMs));
    LogCounter sweepEnds(QStringLiteral("连接结束"));
    LogCounter connectReplies(QStringLiteral("(通讯成功)"));
    ThreadGapProbe gaps;
    QElapsedTimer clock;
    clock.start();
    gaps.start();
    std::unique_ptr<MainWindow> window = createProgramWindow();
    if (!runUntil([&] { return window->startupDone(); }, 120)) {
        std::printf("the window's start-up did not finish within 120 s\n");
        return 1;
    }
    const double startupMs = double(clock.elapsed());
    std::printf("window started in %.0f ms (tree, registry and computer list of %d); window thread's longest gap "
                "%.1f ms\n",
                startupMs, stationRegistry().count(), gaps.stopMs());

    double registryConnectedMs = -1, firstSweepEndMs = -1;
    QObject::connect(
        &logHub(), &LogHub::entryAdded, &logHub(),
        [&](const QString &entry, bool) {
            if (registryConnectedMs < 0 && connectReplies.count() >= stations)
                registryConnectedMs = double(clock.elapsed());
            if (firstSweepEndMs < 0 && entry.contains(QStringLiteral("连接结束")))
                firstSweepEndMs = double(clock.elapsed());
        },
        Qt::DirectConnection);
    gaps.start();
    const bool started = runUntil([&] { return !consoleThreads().isWorkerRunning() && everyRowConnected(*window); },
                                  600);
    const double rowsConnectedMs = double(clock.elapsed());
    const double sweepGap = gaps.stopMs();
    if (!started) {
        std::printf("start-up sweep: NOT every row reads 已连接 after 600 s (%d replies)\n", connectReplies.count());
        return 1;
    }
    std::printf("start-up sweep: every computer answered at %.0f ms, first sweep ended at %.0f ms (%s), every row "
                "reads 已连接 at %.0f ms (after the clock push); window thread's longest gap %.1f ms\n",
                registryConnectedMs, firstSweepEndMs,
                registryConnectedMs <= firstSweepEndMs ? "connected within the sweep's waits" : "LATE", rowsConnectedMs,
                sweepGap);

    forgetConnections();
    const ConsoleWidgets &console = window->panel()->console();
    const int endsBefore = sweepEnds.count();
    gaps.start();
    clock.restart();
    console.connect->click();
    runUntil([&] { return sweepEnds.count() > endsBefore && !consoleThreads().isWorkerRunning(); }, 600);
    runUntil([&] { return console.execute->isEnabled(); }, 10);
    std::printf("连接 sweep of %d computers: %.0f ms, registry %s; window thread's longest gap %.1f ms\n", stations,
                double(clock.elapsed()), stationRegistry().allConnected() ? "all connected" : "NOT all connected",
                gaps.stopMs());

    LogCounter testReplies(QStringLiteral("测试OK"));
    console.commandBox->setCurrentIndex(0);  // 测试通讯
    console.selectAll->click();
    gaps.start();
    clock.restart();
    console.execute->click();
    const double sendMs = double(clock.elapsed());
    const bool allAnswered = runUntil([&] { return testReplies.count() >= stations; }, 60);
    std::printf("测试通讯 to all: sent in %.0f ms, %d of %d replies after %.0f ms; window thread's longest gap "
                "%.1f ms\n",
                sendMs, testReplies.count(), stations, double(clock.elapsed()), gaps.stopMs());
    Q_UNUSED(allAnswered);

    runUntil([] { return false; }, 2);  // the last replies and redraws are through
    const double cpuBefore = processCpuSeconds();
    clock.restart();
    QTimer idleEnd;
    idleEnd.setSingleShot(true);
    QEventLoop idle;
    QObject::connect(&idleEnd, &QTimer::timeout, &idle, &QEventLoop::quit);
    idleEnd.start(idleSeconds * 1000);
    idle.exec();
    const double cpu = processCpuSeconds() - cpuBefore;
    const double wall = double(clock.elapsed()) / 1000.0;
    std::printf("idle for %.1f s, whole program (window, receive loop, worker, watchdog), %d connected: %.1f ms of "
                "CPU = %.4f %% of a core\n",
                wall, stations, cpu * 1000.0, 100.0 * cpu / wall);

    window->exitProgram();
    window.reset();
    agents.kill();
    agents.waitForFinished();
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && qstrcmp(argv[1], "--serve-agents") == 0) {
        QCoreApplication app(argc, argv);
        return serveAgents(atoi(argv[2]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("DBKEEL_BUILD_BIN"))
        qputenv("DBKEEL_BUILD_BIN", QFile::encodeName(QCoreApplication::applicationDirPath()));
    if (qEnvironmentVariableIsEmpty("DBKEEL_SOURCE_DIR"))
        qputenv("DBKEEL_SOURCE_DIR", DBKEEL_SOURCE_DIR);
    const int stations = argc > 1 ? std::clamp(atoi(argv[1]), 1, 300) : 300;
    const int idleSeconds = argc > 2 ? std::max(1, atoi(argv[2])) : 20;
    const int pauseMs = argc > 3 ? std::max(1, atoi(argv[3])) : 50;
    return runConsole(stations, idleSeconds, pauseMs);
}
