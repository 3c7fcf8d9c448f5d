#include "core/DbWatchdog.h"

#include "core/AppState.h"
#include "core/Database.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "platform/Gbk.h"
#include "platform/Text.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace dbkeel {

namespace {

constexpr std::chrono::milliseconds kPollStep{100};

// The files SQLite keeps beside a database in WAL mode. Neither names the database it belongs to.
constexpr std::array<const char *, 2> kJournalSuffixes{"-wal", "-shm"};

}  // namespace

DatabaseProbe DatabaseProbe::fromConfiguration()
{
    DatabaseProbe probe;
    probe.serverAddress = trimBoth(databaseEntryField(hostEntry::LocalDatabase, 7));
    if (probe.serverAddress.isEmpty())
        probe.serverAddress = trimBoth(databaseEntryField(hostEntry::LocalDatabase, 2));
    probe.databaseFile = dataSourceDatabaseFile(databaseCredentials(DBODBCTYPE).dataSource);
    return probe;
}

bool DatabaseProbe::reachable() const
{
    if (!databaseFile.isEmpty()) {
        const QFileInfo file(databaseFile);
        return file.isFile() && file.isReadable();
    }
    return hostLib().scanPort(toGbk(serverAddress), kSqlServerPort) > 0;
}

DbWatchdog::DbWatchdog(WatchdogTiming timing) : m_timing(timing) {}

DbWatchdog::~DbWatchdog()
{
    stop();
}

void DbWatchdog::start()
{
    if (isRunning())
        return;
    m_stop = false;
    m_thread = std::thread(&DbWatchdog::run, this);
}

void DbWatchdog::stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

bool DbWatchdog::stopping() const
{
    return m_stop || ExitRequested == 1;
}

void DbWatchdog::pause(std::chrono::milliseconds total, const std::function<bool()> &leaveEarly) const
{
    while (total > std::chrono::milliseconds::zero() && !stopping() && !(leaveEarly && leaveEarly())) {
        const auto step = std::min(total, kPollStep);
        std::this_thread::sleep_for(step);
        total -= step;
    }
}

void DbWatchdog::run()
{
    DbReady = 0;
    m_openedFile.reset();  // whoever opened the connection since, the next reconnect notes its file
    const DatabaseProbe probe = DatabaseProbe::fromConfiguration();
    while (!stopping()) {
        pause(m_timing.idle, [&] { return DbReady == 0 || watchFile(probe); });
        if (stopping())
            break;
        if (!checkConnection(probe))
            continue;
        pause(m_timing.cyclePause, [&] { return watchFile(probe); });
    }
    qCDebug(dbTrace) << "服务退出";
}

bool DbWatchdog::checkConnection(const DatabaseProbe &probe)
{
    // The connection would go on writing into the removed file, and every row would be lost.
    if (sharedDb().isOpen() && fileLost(probe)) {
        DbReady = 0;
        CloseDb();
    }
    if (DbReady != 1)
        return reconnect(probe);
    watchFile(probe);
    return true;
}

bool DbWatchdog::fileLost(const DatabaseProbe &probe) const
{
    if (probe.databaseFile.isEmpty())
        return false;
    const std::optional<FileIdentity> named = fileIdentity(probe.databaseFile);
    return !named || (m_openedFile && named != m_openedFile);
}

bool DbWatchdog::reconnect(const DatabaseProbe &probe)
{
    if (!probe.reachable()) {
        pause(m_timing.unreachablePause);
        ServerReachable = 0;
        return false;
    }
    ServerReachable = 1;
    // A connection the driver reports as broken, or left on a replaced file, is dropped, so that
    // OpenDb connects anew instead of answering at once that it is open.
    const bool replaced = fileLost(probe);
    if (sharedDb().isConnectionDead() || replaced)
        CloseDb();
    if (replaced && !setAsideOldJournal(probe)) {
        pause(m_timing.openFailedPause);
        return false;
    }
    m_openedFile = fileIdentity(probe.databaseFile);  // noted first: a file replaced meanwhile is noticed
    QString error;
    if (OpenDb(error) != 1) {
        pause(m_timing.openFailedPause);
        return false;
    }
    watchFile(probe);
    DbReady = 1;
    return true;
}

bool DbWatchdog::watchFile(const DatabaseProbe &probe)
{
    if (probe.databaseFile.isEmpty())
        return false;
    if (fileLost(probe))
        return true;
    for (size_t k = 0; k < kJournalSuffixes.size(); ++k)
        m_openedJournal[k] = fileIdentity(probe.databaseFile + QLatin1String(kJournalSuffixes[k]));
    return false;
}

bool DbWatchdog::setAsideOldJournal(const DatabaseProbe &probe) const
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddhhmmsszzz"));
    for (size_t k = 0; k < kJournalSuffixes.size(); ++k) {
        const QString journal = probe.databaseFile + QLatin1String(kJournalSuffixes[k]);
        if (!m_openedJournal[k] || fileIdentity(journal) != m_openedJournal[k])
            continue;
        const QString aside = QStringLiteral("%1.replaced-%2").arg(journal, stamp);
        if (!QFile::rename(journal, aside)) {
            qCWarning(dbTrace) << "数据库文件已被替换, 旧文件的日志无法移开, 不重新连接:" << journal;
            return false;
        }
        qCWarning(dbTrace) << "数据库文件已被替换, 旧文件的日志移到" << aside;
    }
    return true;
}

}  // namespace dbkeel
