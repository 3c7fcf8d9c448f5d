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

namespace dbkeel {

namespace {

std::atomic<long long> sweepPauseMs{1000};

bool stopRequested()
{
    return WorkerStop.load() == 1 || ExitRequested.load() == 1;
}

// Sleeps `ms`, ending at once when WorkerStop or ExitRequested is set.
void pause(long long ms)
{
    sleepUntil(stopRequested, std::chrono::milliseconds(ms));
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
