#pragma once
// The console's two threads: started when not running, stopped with flags and bounded waits.
// Both waits keep the user-interface thread's events flowing.

#include <QMutex>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace dbkeel {

// One long-lived function on its own thread; `running` is cleared when it has returned.
class ConsoleThread {
public:
    explicit ConsoleThread(std::function<void()> body) : m_body(std::move(body)) {}
    ~ConsoleThread();
    ConsoleThread(const ConsoleThread &) = delete;
    ConsoleThread &operator=(const ConsoleThread &) = delete;

    bool start();  // false when it is still running
    bool isRunning() const { return m_running.load(); }
    // Waits until the body has returned or `timeout` passed; true when it has returned.
    bool waitFinished(std::chrono::milliseconds timeout);

private:
    std::function<void()> m_body;
    QMutex m_mutex;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

class ConsoleThreads {
public:
    ConsoleThreads();

    bool startReceiveLoop();
    bool isReceiveLoopRunning() const { return m_receiveLoop.isRunning(); }
    // Clears ReceiveRunFlag and waits for the loop's acknowledgement; true when it came in time.
    bool stopReceiveLoop(std::chrono::milliseconds timeout);

    bool startWorker();
    bool isWorkerRunning() const { return m_worker.isRunning(); }
    // Sets WorkerStop and waits for the worker to end; true when it did in time.
    bool stopWorker(std::chrono::milliseconds timeout);

private:
    ConsoleThread m_receiveLoop;
    ConsoleThread m_worker;
};

ConsoleThreads &consoleThreads();

// Waits until `done` holds or `timeout` passed, 1 ms at a time, dispatching the calling thread's
// events meanwhile; the last value of `done`.
bool waitPumping(const std::function<bool()> &done, std::chrono::milliseconds timeout);

}  // namespace dbkeel
