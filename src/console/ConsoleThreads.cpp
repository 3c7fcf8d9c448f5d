#include "console/ConsoleThreads.h"

#include "console/ConsoleState.h"
#include "console/ConsoleWorker.h"
#include "console/ReceiveLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMutexLocker>
#include <QThread>

namespace dbkeel {

ConsoleThread::~ConsoleThread()
{
    QMutexLocker lock(&m_mutex);
    if (m_thread.joinable())
        m_thread.detach();  // the exit sequence waited as long as it may
}

bool ConsoleThread::start()
{
    QMutexLocker lock(&m_mutex);
    if (m_running.load())
        return false;
    if (m_thread.joinable())
        m_thread.join();
    m_running = true;
    m_thread = std::thread([this] {
        m_body();
        m_running = false;
    });
    return true;
}

bool ConsoleThread::waitFinished(std::chrono::milliseconds timeout)
{
    return waitPumping([this] { return !m_running.load(); }, timeout);
}

ConsoleThreads::ConsoleThreads() : m_receiveLoop(ReceiveLoop), m_worker(ConsoleWorker) {}

bool ConsoleThreads::startReceiveLoop()
{
    return m_receiveLoop.start();
}

bool ConsoleThreads::stopReceiveLoop(std::chrono::milliseconds timeout)
{
    if (!m_receiveLoop.isRunning())
        return true;
    ReceiveRunFlag = 0;
    return waitPumping([] { return ReceiveRunFlag.load() != 0; }, timeout) && m_receiveLoop.waitFinished(timeout);
}

bool ConsoleThreads::startWorker()
{
    return m_worker.start();
}

bool ConsoleThreads::stopWorker(std::chrono::milliseconds timeout)
{
    if (!m_worker.isRunning())
        return true;
    requestWorkerStop();
    const bool stopped = m_worker.waitFinished(timeout);
    if (stopped)
        WorkerStop = 0;
    return stopped;
}

ConsoleThreads &consoleThreads()
{
    static ConsoleThreads threads;
    return threads;
}

bool waitPumping(const std::function<bool()> &done, std::chrono::milliseconds timeout)
{
    QElapsedTimer clock;
    clock.start();
    const bool pump = QCoreApplication::instance()
                      && QThread::currentThread() == QCoreApplication::instance()->thread();
    while (!done()) {
        if (clock.elapsed() >= timeout.count())
            return done();
        if (pump)
            QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return true;
}

}  // namespace dbkeel
