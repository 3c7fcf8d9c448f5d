#pragma once
// The console's two threads: started when not running, stopped through their flags, which wake them
// at once. Both stop waits keep the user-interface thread's events flowing.

#include "platform/BackgroundThread.h"

#include <chrono>

namespace dbkeel {

class ConsoleThreads {
public:
    ConsoleThreads();

    bool startReceiveLoop();
    bool isReceiveLoopRunning() const { return m_receiveLoop.isRunning(); }
    // Clears ReceiveRunFlag and waits for the loop's acknowledgement; true when it came in time.
    bool stopReceiveLoop(std::chrono::milliseconds timeout);

    bool startWorker();
    bool isWorkerRunning() const { return m_worker.isRunning(); }
    // Sets WorkerStop and waits for the worker to end; true when it did in time (WorkerStop is then 0).
    bool stopWorker(std::chrono::milliseconds timeout);

private:
    BackgroundThread m_receiveLoop;
    BackgroundThread m_worker;
};

ConsoleThreads &consoleThreads();

}  // namespace dbkeel
