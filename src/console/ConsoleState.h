#pragma once
// State the console's user-interface side shares with its receive loop and worker.

#include "platform/BackgroundThread.h"

#include <QString>

#include <atomic>

namespace dbkeel {

// 1 while the receive loop may run; clearing it wakes the loop, which sets it back to 1 when it has
// seen it cleared.
inline SharedFlag ReceiveRunFlag{1};
// 0, or the command the worker is asked to run (1004 a connection sweep, 1006 after "发送文件");
// nonzero is the console's busy state.
inline std::atomic<int> PendingCommand{0};
// 1 asks the worker's sweeps to stop; it wakes a sweep's pause at once.
inline SharedFlag WorkerStop{0};
// 0 until the worker's first run has finished its start-up sweeps.
inline std::atomic<int> StartupSweepDone{0};
// Set to 1 when the registry changed (the start-up sweeps ended, a station answered 1004); the
// window resets it and redraws the computer list once for any number of changes.
inline std::atomic<int> RegistryRefreshed{0};
// Sets RegistryRefreshed and tells the window (ConsoleEvents::registryRefreshed).
void announceRegistryChange();

// The data of commands 1005, 1009, 1010 and 1011 (guarded: the threads read it while sending).
QString commandText();
void setCommandText(const QString &text);

}  // namespace dbkeel
