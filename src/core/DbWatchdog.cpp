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
#include <QFileSystemWatcher>

#include <utility>

namespace dbkeel {

namespace {

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

DbWatchdog::DbWatchdog(WatchdogTiming timing) : m_timing(timing), m_thread([this] { run(); }, [this] { m_stop = 1; }) {}

DbWatchdog::~DbWatchdog()
{
    stop();
}

void DbWatchdog::start()
{
    if (isRunning())
        return;
    m_stop = 0;
    m_probe = DatabaseProbe::fromConfiguration();
    watchDatabaseFolder();
    m_thread.start();
}

void DbWatchdog::stop()
{
    m_thread.stopAndJoin();
    m_folderWatcher.reset();
}

void DbWatchdog::watchDatabaseFolder()
{
    m_folderWatcher.reset();
    if (m_probe.databaseFile.isEmpty())
        return;
    // A file removed, renamed or put back shows in its folder, not in the file the connection holds open;
    // a file written over in place shows in the file, watched again whenever the folder changes.
    m_folderWatcher = std::make_unique<QFileSystemWatcher>();
    m_folderWatcher->addPath(QFileInfo(m_probe.databaseFile).absolutePath());
    m_folderWatcher->addPath(m_probe.databaseFile);
    QFileSystemWatcher *watcher = m_folderWatcher.get();
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, watcher, [watcher, file = m_probe.databaseFile] {
        watcher->removePath(file);
        watcher->addPath(file);
        wakeSleepers();
    });
    QObject::connect(watcher, &QFileSystemWatcher::fileChanged, watcher, [] { wakeSleepers(); });
}

bool DbWatchdog::stopping() const
{
    return m_stop == 1 || ExitRequested == 1;
}

void DbWatchdog::pause(std::chrono::milliseconds total, const std::function<bool()> &leaveEarly) const
{
    sleepUntil([&] { return stopping() || (leaveEarly && leaveEarly()); }, total);
}

void DbWatchdog::run()
{
    DbReady = 0;
    m_openedFile.reset();  // whoever opened the connection since, the next reconnect notes its file
    m_overwrite.forget();
    const DatabaseProbe &probe = m_probe;
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
    if (sharedDb().isOpen())
        watchFile(probe);
    if (m_inPlace != OverwriteCheck::Verdict::Unchanged && !leaveOverwrittenFile(probe)) {
        pause(m_timing.openFailedPause);
        return false;
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
    if (sharedDb().isOpen() && m_inPlace == OverwriteCheck::Verdict::Unchanged) {
        // A connection opened anew (by the watchdog, or by a component after a restore) is judged from
        // what the file and its journal hold now.
        if (!m_overwrite.noted() || m_notedOpen != sharedConnectionOpens()) {
            m_notedOpen = sharedConnectionOpens();
            m_overwrite.note(probe.databaseFile);
        }
        m_inPlace = m_overwrite.look();
    }
    if (m_inPlace != OverwriteCheck::Verdict::Unchanged)
        return true;  // the noted journal stays the one to set aside
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

bool DbWatchdog::leaveOverwrittenFile(const DatabaseProbe &probe)
{
    DbReady = 0;
    if (m_inPlace == OverwriteCheck::Verdict::Unsure)
        return holdUntilJournalMoved(probe);
    if (!m_blocked && !(m_blocked = m_overwrite.blockCheckpoints())) {
        qCWarning(dbTrace) << "数据库文件被覆盖, 无法阻止旧日志写入:" << probe.databaseFile;
        m_inPlace = OverwriteCheck::Verdict::Unsure;
        return holdUntilJournalMoved(probe);
    }
    CloseDb();  // cannot checkpoint: the block keeps it from the exclusive lock
    if (!m_overwrite.looksComplete() || !setAsideOldJournal(probe))
        return false;  // still being copied, or a journal that cannot be renamed: looked at again
    if (oldJournalInUse()) {
        // Another connection of the program (a long job) is still on the old journal's shared memory,
        // which a new connection would share: reopened once it has ended.
        if (!std::exchange(m_waitingForOthers, true))
            qCWarning(dbTrace) << "数据库文件被覆盖, 等程序的其他连接结束后重新连接:" << probe.databaseFile;
        return false;
    }
    qCWarning(dbTrace) << "数据库文件被另一数据库覆盖, 旧文件的日志已移开:" << probe.databaseFile;
    m_waitingForOthers = false;
    m_overwrite.allowCheckpoints();
    m_blocked = false;
    m_inPlace = OverwriteCheck::Verdict::Unchanged;
    return true;
}

bool DbWatchdog::oldJournalInUse() const
{
    // SQLite keeps one shared memory per file and process: a new connection would get the old one.
    return m_openedJournal[1] && processHoldsOpen(*m_openedJournal[1]);
}

bool DbWatchdog::holdUntilJournalMoved(const DatabaseProbe &probe)
{
    const QString wal = probe.databaseFile + QStringLiteral("-wal");
    if (!m_blocked) {
        m_blocked = true;
        if (m_overwrite.blockCheckpoints())
            CloseDb();  // the journal stays whole for whoever opens the file next
        qCWarning(dbTrace).noquote()
            << QStringLiteral("数据库文件 %1 的开头已变, 却不是检查点写入的, 可能被另一数据库覆盖; 停止写入. "
                              "若是覆盖, 将 %2 和 %3-shm 移开, 程序自动重新连接; 若不是, 重新启动程序")
                   .arg(probe.databaseFile, wal, probe.databaseFile);
    }
    if (m_openedJournal[0] && fileIdentity(wal) == m_openedJournal[0])
        return false;
    if (sharedDb().isOpen() || oldJournalInUse())
        return false;
    m_overwrite.allowCheckpoints();
    m_blocked = false;
    m_inPlace = OverwriteCheck::Verdict::Unchanged;
    return true;
}

}  // namespace dbkeel
