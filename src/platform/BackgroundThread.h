#pragma once
// The program's background threads and the flags they wait on. A thread never polls: it sleeps until
// its time is up or a shared flag changes, so it costs nothing at rest and a stop reaches it at once.

#include <QThread>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

namespace dbkeel {

// An integer flag shared by threads. Every store wakes every sleepUntil and every wait registered
// with a FlagWakeUp, so that a thread waiting for the flag sees the new value at once.
class SharedFlag {
public:
    constexpr explicit SharedFlag(int value) : m_value(value) {}
    SharedFlag(const SharedFlag &) = delete;
    SharedFlag &operator=(const SharedFlag &) = delete;

    SharedFlag &operator=(int value)
    {
        store(value);
        return *this;
    }
    void store(int value);
    int load() const { return m_value.load(); }
    operator int() const { return m_value.load(); }

private:
    std::atomic<int> m_value;
};

// Sleeps until `done` holds (checked first and after every flag change) or `timeout` has passed;
// the last value of `done`. `done` runs under the flags' lock: it reads flags, never stores one.
bool sleepUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout);

// Wakes every sleepUntil and FlagWakeUp as a flag change does: for a change they watch that is not
// a flag (a file, say).
void wakeSleepers();

// While it lives, a change of any shared flag also calls `wake`: for a thread that waits somewhere
// sleepUntil cannot reach (a blocking read), `wake` ends that wait.
class FlagWakeUp {
public:
    explicit FlagWakeUp(std::function<void()> wake);
    ~FlagWakeUp();
    FlagWakeUp(const FlagWakeUp &) = delete;
    FlagWakeUp &operator=(const FlagWakeUp &) = delete;

private:
    std::shared_ptr<const std::function<void()>> m_wake;  // shared with a store calling it
};

// One long-lived function on its own thread. `stop` asks the function to return (it stores the flag
// the function watches); the thread never outlives its owner: the destructor stops and joins it.
class BackgroundThread {
public:
    BackgroundThread(std::function<void()> body, std::function<void()> stop);
    ~BackgroundThread();
    BackgroundThread(const BackgroundThread &) = delete;
    BackgroundThread &operator=(const BackgroundThread &) = delete;

    bool start();  // false while it is still running
    bool isRunning() const;
    // Asks the function to return and waits until it has or `timeout` passed; true when it has.
    bool stop(std::chrono::milliseconds timeout);
    // Asks the function to return and waits until it has, however long that takes.
    void stopAndJoin();
    // Waits until the function has returned or `timeout` passed, dispatching the events of the
    // user-interface thread when called there; true when it has returned.
    bool waitFinished(std::chrono::milliseconds timeout);

private:
    std::function<void()> m_body;
    std::function<void()> m_stop;
    std::unique_ptr<QThread> m_thread;
};

}  // namespace dbkeel
