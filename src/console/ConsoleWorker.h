#pragma once
// The console worker: the start-up connection sweeps and clock push, and the queued sweep.

#include <chrono>

namespace dbkeel {

// The pause after each send of a sweep (1000 ms; tests shorten it).
void setSweepPause(std::chrono::milliseconds pause);

// One run of the worker: on the first run up to three connection sweeps while not every computer
// has answered, then the clock push; then the sweep PendingCommand asks for; PendingCommand = 0.
void ConsoleWorker();

// Sends 1004 once to each distinct IP–port key of the registry that is not connected.
void ConnectSweep();
// Sends 1001 once to each distinct IP–port key of the registry.
void TimeSyncSweep();

}  // namespace dbkeel
