#include "platform/BackgroundThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <condition_variable>
#include <list>
#include <mutex>

namespace dbkeel {

namespace {

// What a flag change wakes: the sleepers of sleepUntil and the registered wake-ups.
struct FlagSignal {
    std::mutex mutex;
    std::condition_variable changed;
    unsigned long long generation = 0;  // counts the changes, so that none is missed
    std::list<std::shared_ptr<const std::function<void()>>> wakeUps;
};

FlagSignal &flagSignal()
{
    static FlagSignal signal;
    return signal;
}

bool onUserInterfaceThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

}  // namespace

void SharedFlag::store(int value)
{
    m_value.store(value);
    wakeSleepers();
}

void wakeSleepers()
{
    FlagSignal &signal = flagSignal();
    std::list<std::shared_ptr<const std::function<void()>>> wakeUps;
    {
        const std::lock_guard lock(signal.mutex);
        ++signal.generation;
        wakeUps = signal.wakeUps;
    }
    signal.changed.notify_all();
    for (const auto &wake : wakeUps)  // outside the lock: a wake-up may wait for a lock of its own
        (*wake)();
}

bool sleepUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout)
{
    FlagSignal &signal = flagSignal();
    const auto end = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(signal.mutex);
    for (;;) {
        if (done())
            return true;
        const unsigned long long seen = signal.generation;
        if (!signal.changed.wait_until(lock, end, [&] { return signal.generation != seen; }))
            return done();
    }
}

FlagWakeUp::FlagWakeUp(std::function<void()> wake)
    : m_wake(std::make_shared<const std::function<void()>>(std::move(wake)))
{
    FlagSignal &signal = flagSignal();
    const std::lock_guard lock(signal.mutex);
    signal.wakeUps.push_back(m_wake);
}

FlagWakeUp::~FlagWakeUp()
{
    FlagSignal &signal = flagSignal();
    const std::lock_guard lock(signal.mutex);
    signal.wakeUps.remove(m_wake);
}

BackgroundThread::BackgroundThread(std::function<void()> body, std::function<void()> stop)
    : m_body(std::move(body)), m_stop(std::move(stop))
{
    flagSignal();  // made first, so that it outlives a thread stopped at the program's end
}

BackgroundThread::~BackgroundThread()
{
    stopAndJoin();
}

bool BackgroundThread::start()
{
    if (isRunning())
        return false;
    if (m_thread)
        m_thread->wait();
    m_thread.reset(QThread::create(m_body));
    m_thread->start();
    return true;
}

bool BackgroundThread::isRunning() const
{
    return m_thread && !m_thread->isFinished();
}

bool BackgroundThread::stop(std::chrono::milliseconds timeout)
{
    if (!isRunning())
        return true;
    m_stop();
    return waitFinished(timeout);
}

void BackgroundThread::stopAndJoin()
{
    if (isRunning())
        m_stop();
    if (m_thread)
        m_thread->wait();
}

bool BackgroundThread::waitFinished(std::chrono::milliseconds timeout)
{
    if (!isRunning())
        return true;
    const QDeadlineTimer deadline(timeout);
    if (onUserInterfaceThread()) {
        QEventLoop loop;
        QObject::connect(m_thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
        QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
        if (isRunning())  // finished before the connection was made: nothing would end the loop
            loop.exec();
    }
    return m_thread->wait(deadline);
}

}  // namespace dbkeel
