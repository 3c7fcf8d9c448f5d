#pragma once
// The dictionaries' fixture (a fresh SQLite database through the driver, the host library, a scripted
// prompt) with what the statistics and vehicle-type screens add: host configuration entries, the
// connection string of their workers.

#include "platform/Gbk.h"
#include "tests/stats/WaitUntil.h"
#include "tests/support/DictionaryFixture.h"

namespace dbkeel::test {

// The connection string of the fixture's database, for the workers' own connections.
inline QString workerConnectString(const QTemporaryDir &dir)
{
    return sqliteConnectString(dir.filePath(QStringLiteral("test.db")));
}

// Sets field 0 of a host configuration entry (a directory or a path).
inline void setHostEntry(int entry, const QString &text)
{
    putGbkField(hostConfig().data() + HostConfigRecord::kEntryBase + HostConfigRecord::kEntrySize * entry,
                HostConfigRecord::kEntrySize, text);
}

class StatsFixture : public DictionaryFixture {
protected:
    QString connectString() const { return workerConnectString(dir); }
    QString path(const QString &name) const { return dir.filePath(name); }
};

}  // namespace dbkeel::test
