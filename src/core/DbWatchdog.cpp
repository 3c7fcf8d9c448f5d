#include "core/DbWatchdog.h"

#include "core/AppState.h"
#include "core/Database.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "platform/Gbk.h"
#include "platform/Text.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

#include <odbcinst.h>

namespace dbkeel {

namespace {

QString dataSourceAttribute(const QString &dataSource, const char *key)
{
    char value[1024] = {};
    const QByteArray section = dataSource.toUtf8();
    SQLGetPrivateProfileString(section.constData(), key, "", value, sizeof value, "odbc.ini");
    return QString::fromUtf8(value);
}

}  // namespace

QString dataSourceDatabaseFile(const QString &dataSource)
{
    if (dataSource.isEmpty())
        return {};
    if (!dataSourceAttribute(dataSource, "Driver").contains(QLatin1String("sqlite"), Qt::CaseInsensitive))
        return {};
    return dataSourceAttribute(dataSource, "Database");
}

DatabaseProbe DatabaseProbe::fromConfiguration()
{
    DatabaseProbe probe;
    probe.serverAddress = trimBoth(databaseEntryField(0, 7));
    if (probe.serverAddress.isEmpty())
        probe.serverAddress = trimBoth(databaseEntryField(0, 2));
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
    // A file removed, renamed or put back shows in its folder, not in the file the connection holds open.
    m_folderWatcher = std::make_unique<QFileSystemWatcher>();
    m_folderWatcher->addPath(QFileInfo(m_probe.databaseFile).absolutePath());
    QObject::connect(m_folderWatcher.get(), &QFileSystemWatcher::directoryChanged, m_folderWatcher.get(),
                     [] { wakeSleepers(); });
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
    const DatabaseProbe &probe = m_probe;
    while (!stopping()) {
        pause(m_timing.idle, [&] { return DbReady == 0 || fileLost(probe); });
        if (stopping())
            break;
        if (!checkConnection(probe))
            continue;
        pause(m_timing.cyclePause, [&] { return fileLost(probe); });
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
    return DbReady == 1 || reconnect(probe);
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
    if (sharedDb().isConnectionDead() || fileLost(probe))
        CloseDb();
    m_openedFile = fileIdentity(probe.databaseFile);  // noted first: a file replaced meanwhile is noticed
    QString error;
    if (OpenDb(error) != 1) {
        pause(m_timing.openFailedPause);
        return false;
    }
    DbReady = 1;
    return true;
}

}  // namespace dbkeel
