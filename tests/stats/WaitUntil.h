#pragma once
// Waiting for a worker while the window's thread goes on.

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

namespace dbkeel::test {

// Dispatches the window's events until `done` holds (at most two minutes).
inline bool waitUntil(const std::function<bool()> &done)
{
    const QDeadlineTimer deadline(120000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace dbkeel::test
