#include "ConsoleWorker.h"

#include "AppLog.h"
#include "AppState.h"
#include "ConsoleEvents.h"
#include "ConsoleState.h"
#include "StationCommands.h"
#include "StationRegistry.h"
#include "Text.h"

#include <QSet>
#include <QThread>

#include <atomic>

namespace dbkeel {

namespace {

std::atomic<long long> sweepPauseMs{1000};

bool stopRequested()
{
    return WorkerStop.load() == 1 || ExitRequested.load() == 1;
}

// Sleeps in short slices so that a stop request is seen within 10 ms.
void pause(long long ms)
{
    for (long long slept = 0; slept < ms && !stopRequested(); slept += 10)
        QThread::msleep(ulong(std::min(10LL, ms - slept)));
}

QString keyOf(const RegistryEntry &entry)
{
    return QStringLiteral("%1-%2").arg(entry.station.ip, entry.station.port);
}

// Walks the registry once per distinct IP–port key, sending `code`.
void sweep(int code, bool skipConnected)
{
    QSet<QString> visited;
    int n = 0;
    for (const RegistryEntry &entry : stationRegistry().entries()) {
        if (stopRequested())
            break;
        try {
            const QString key = keyOf(entry);
            if (visited.contains(key) || (skipConnected && entry.connected))
                continue;
            visited.insert(key);
            ++n;
            if (SendCommand(entry.station.ip, toInt(entry.station.port), code) == 0)
                AddLog(key, false);
            if (code == stationcode::Connect)
                AddLog(QStringLiteral("%1->%2[%3]").arg(n).arg(entry.station.ip, entry.station.port), true);
            pause(sweepPauseMs);
            if (code != stationcode::Connect)
                AddLog(QStringLiteral("%1->%2[%3]").arg(n).arg(entry.station.ip, entry.station.port), true);
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
        RegistryRefreshed = 1;
        emit consoleEvents().registryRefreshed();
    }
    if (PendingCommand.load() == stationcode::Connect)
        ConnectSweep();
    PendingCommand = 0;
}

}  // namespace dbkeel
