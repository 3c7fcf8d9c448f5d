#include "console/ConsoleThreads.h"

#include "console/ConsoleState.h"
#include "console/ConsoleWorker.h"
#include "console/ReceiveLoop.h"

namespace dbkeel {

ConsoleThreads::ConsoleThreads()
    : m_receiveLoop(ReceiveLoop, [] { ReceiveRunFlag = 0; }), m_worker(ConsoleWorker, [] { WorkerStop = 1; })
{}

bool ConsoleThreads::startReceiveLoop()
{
    return m_receiveLoop.start();
}

bool ConsoleThreads::stopReceiveLoop(std::chrono::milliseconds timeout)
{
    return m_receiveLoop.stop(timeout);
}

bool ConsoleThreads::startWorker()
{
    return m_worker.start();
}

bool ConsoleThreads::stopWorker(std::chrono::milliseconds timeout)
{
    const bool stopped = m_worker.stop(timeout);
    if (stopped)
        WorkerStop = 0;
    return stopped;
}

ConsoleThreads &consoleThreads()
{
    static ConsoleThreads threads;  // its threads are stopped and joined before it goes
    return threads;
}

}  // namespace dbkeel
