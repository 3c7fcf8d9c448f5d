#pragma once
// The dictionaries' fixture (a fresh SQLite database through the driver, the host library, a scripted
// prompt) with what the statistics and vehicle-type screens add: host configuration entries, the
// connection string of their workers, and waiting for a worker while the window's thread goes on.

#include "DictionaryFixture.h"
#include "Gbk.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>

namespace dbkeel::test {

// The connection string of the fixture's database, for the workers' own connections.
inline QString workerConnectString(const QTemporaryDir &dir)
{
    return QStringLiteral("DRIVER=SQLite3;Database=%1;StepAPI=1;").arg(dir.filePath(QStringLiteral("test.db")));
}

// Sets field 0 of a host configuration entry (a directory or a path).
inline void setHostEntry(int entry, const QString &text)
{
    putGbkField(hostConfig().data() + HostConfigRecord::kEntryBase + HostConfigRecord::kEntrySize * entry,
                HostConfigRecord::kEntrySize, text);
}

// Dispatches the window's events until `done` holds (at most a minute).
inline bool waitUntil(const std::function<bool()> &done)
{
    const QDeadlineTimer deadline(60000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class StatsFixture : public DictionaryFixture {
protected:
    QString connectString() const { return workerConnectString(dir); }
    QString path(const QString &name) const { return dir.filePath(name); }
};

}  // namespace dbkeel::test
