#include "console/ConsoleWorker.h"

#include "console/ConsoleEvents.h"
#include "console/ConsoleState.h"
#include "console/StationCommands.h"
#include "core/AppLog.h"
#include "core/AppState.h"
#include "core/StationRegistry.h"
#include "platform/Text.h"

#include <QSet>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace dbkeel {

namespace {

using std::chrono::steady_clock;

constexpr std::chrono::milliseconds kExitPoll{100};  // how often a pause looks at ExitRequested

std::atomic<long long> sweepPauseMs{1000};
std::mutex stopMutex;
std::condition_variable stopSignal;  // raised by requestWorkerStop

bool stopRequested()
{
    return WorkerStop.load() == 1 || ExitRequested.load() == 1;
}

// Sleeps `ms`, ending at once on requestWorkerStop and within 100 ms of ExitRequested.
void pause(long long ms)
{
    const auto end = steady_clock::now() + std::chrono::milliseconds(ms);
    std::unique_lock lock(stopMutex);
    while (!stopRequested() && steady_clock::now() < end)
        stopSignal.wait_until(lock, std::min(end, steady_clock::now() + kExitPoll));
}

QString keyOf(const RegistryEntry &entry)
{
    return QStringLiteral("%1-%2").arg(entry.station.ip, entry.station.port);
}

// Walks the registry once per distinct IP–port key, sending `code`. Each entry is read when the
// walk reaches it, so a reply that came in during the sweep spares its computer a second request.
void sweep(int code, bool skipConnected)
{
    QSet<QString> visited;
    int n = 0;
    for (int i = 0; i < stationRegistry().count(); ++i) {
        if (stopRequested())
            break;
        try {
            const RegistryEntry entry = stationRegistry().entry(i);
            const QString key = keyOf(entry);
            if (visited.contains(key) || (skipConnected && entry.connected))
                continue;
            visited.insert(key);
            ++n;
            if (SendCommand(entry.station.ip, toInt(entry.station.port), code) == 0)
                AddLog(key, false);
            if (code == stationcode::Connect)
                AddLog(QStringLiteral("%1->%2[%3]").arg(QString::number(n), entry.station.ip, entry.station.port),
                       true);
            pause(sweepPauseMs);
            if (code != stationcode::Connect)
                AddLog(QStringLiteral("%1->%2[%3]").arg(QString::number(n), entry.station.ip, entry.station.port),
                       true);
        } catch (...) {
            AddLog(QStringLiteral("异常"), true);
        }
    }
    AddLog(QStringLiteral("连接结束"), true);
}

}  // namespace

void setSweepPause(std::chrono::milliseconds pause)
{
    sweepPauseMs = pause.count();
}

void requestWorkerStop()
{
    {
        const std::lock_guard lock(stopMutex);
        WorkerStop = 1;
    }
    stopSignal.notify_all();
}

void ConnectSweep()
{
    emit consoleEvents().sweepButtonsEnabled(false);
    sweep(stationcode::Connect, true);
    emit consoleEvents().sweepButtonsEnabled(true);
}

void TimeSyncSweep()
{
    sweep(stationcode::SetClock, false);
}

void ConsoleWorker()
{
    if (ExitRequested.load() == 1) {
        PendingCommand = 0;
        return;
    }
    if (StartupSweepDone.load() == 0) {
        for (int attempt = 0; attempt < 3 && WorkerStop.load() != 1; ++attempt) {
            if (!stationRegistry().allConnected())
                ConnectSweep();
        }
        pause(sweepPauseMs);
        TimeSyncSweep();
        StartupSweepDone = 1;
        announceRegistryChange();
    }
    if (PendingCommand.load() == stationcode::Connect)
        ConnectSweep();
    PendingCommand = 0;
}

}  // namespace dbkeel
