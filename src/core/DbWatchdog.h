#pragma once
// The database watchdog: a background thread that probes the database and reopens the
// shared connection whenever DbReady has been cleared.

#include "core/OverwriteCheck.h"
#include "platform/BackgroundThread.h"
#include "platform/FileIdentity.h"

#include <QString>

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QFileSystemWatcher;

namespace dbkeel {

inline constexpr int kSqlServerPort = 1433;

// What the watchdog probes before it calls OpenDb.
struct DatabaseProbe {
    QString serverAddress;  // field 7 of database entry 0 (blanks trimmed), else field 2
    QString databaseFile;   // set when the data source is a database file (no server port)

    // From the host configuration and the data source of the entry OpenDb uses.
    static DatabaseProbe fromConfiguration();
    // A database file must exist and be readable; a server must answer on its port.
    bool reachable() const;
};

// The watchdog's waits. Each ends at once on a stop, on ExitRequested, on DbReady cleared and on a
// change in the database file's folder (seen through the event loop of the thread that started the
// watchdog); the idle wait bounds how late a change is noticed without that event loop.
struct WatchdogTiming {
    std::chrono::milliseconds idle{10000};             // between checks while DbReady is 1
    std::chrono::milliseconds unreachablePause{5000};  // after a failed probe
    std::chrono::milliseconds openFailedPause{2000};   // after a failed OpenDb
    std::chrono::milliseconds cyclePause{1000};        // at the end of every cycle
};

class DbWatchdog {
public:
    explicit DbWatchdog(WatchdogTiming timing = {});
    ~DbWatchdog();  // stops and joins
    DbWatchdog(const DbWatchdog &) = delete;
    DbWatchdog &operator=(const DbWatchdog &) = delete;

    void start();  // does nothing while running; reads the probe from the configuration
    void stop();   // asks the thread to end and joins it
    bool isRunning() const { return m_thread.isRunning(); }

    // The check of every cycle: a database file removed or replaced since the connection was opened
    // loses the connection (closed, DbReady 0); a lost connection is opened again when the database
    // is reachable. Before a replaced file is opened, the journal files the old file left under its
    // name are set aside, so that they are never applied to the new file. True when DbReady is 1
    // afterwards. Called by the thread; not while it runs.
    bool checkConnection(const DatabaseProbe &probe);

private:
    void run();
    bool stopping() const;
    // Sleeps up to `total`, leaving early on exit, on stop or when `leaveEarly` says so.
    void pause(std::chrono::milliseconds total, const std::function<bool()> &leaveEarly = {}) const;
    void watchDatabaseFolder();  // wakes the pauses on every change in the database file's folder
    // True when the probe's database file is gone or is another file than the connection was opened on.
    bool fileLost(const DatabaseProbe &probe) const;
    bool reconnect(const DatabaseProbe &probe);  // true when DbReady is 1 again
    // fileLost; while the file is the opened one, notes its journal files.
    bool watchFile(const DatabaseProbe &probe);
    // Renames the journal files noted as the opened file's; false (with a warning) when one cannot be.
    bool setAsideOldJournal(const DatabaseProbe &probe) const;
    // After the file was written over in place: the connection closed without a checkpoint and the
    // journal set aside. False while writing stays stopped.
    bool leaveOverwrittenFile(const DatabaseProbe &probe);
    // Stops writing where the check is unsure (the journal stays); true once its -wal was moved away.
    bool holdUntilJournalMoved(const DatabaseProbe &probe);
    // A connection of the process (a long job) is still on the old -shm.
    bool oldJournalInUse() const;

    WatchdogTiming m_timing;
    SharedFlag m_stop{0};
    DatabaseProbe m_probe;
    std::unique_ptr<QFileSystemWatcher> m_folderWatcher;
    std::optional<FileIdentity> m_openedFile;  // the database file when the connection was opened
    // Its -wal and -shm, noted while the connection is on it. A journal whose identity is noted belongs
    // to the opened file: a journal the new file brings or makes has another.
    std::array<std::optional<FileIdentity>, 2> m_openedJournal;
    OverwriteCheck m_overwrite;
    quint64 m_notedOpen = 0;  // the opening of the shared connection the check noted
    OverwriteCheck::Verdict m_inPlace = OverwriteCheck::Verdict::Unchanged;  // kept until handled
    bool m_blocked = false;           // checkpoints blocked while the connection on an overwritten file is closed
    bool m_waitingForOthers = false;  // for other connections of the program on the old journal to end
    BackgroundThread m_thread;
};

}  // namespace dbkeel
