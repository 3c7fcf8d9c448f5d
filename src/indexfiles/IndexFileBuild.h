#pragma once
// The build of the system index file and the user file that the inspection programs read: thirteen
// parts, each on a connection of its own, write a temporary index file and a temporary user file;
// only when every part succeeded do they replace the installation's files. GUI-free: progress and
// each part's outcome go to callbacks, on the thread that runs the build.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace dbkeel {

// Where a build writes.
struct IndexFileTargets {
    QString indexFile;  // the system index file (host configuration entry 167)
    QString configDir;  // the system configuration directory (entry 3), home of UserID.dat

    // Both from the host configuration record.
    static IndexFileTargets fromHostConfig();

    QString indexTemp() const;  // "<index file>_Temp"
    QString userFile() const;   // "<config dir>/UserID.dat"
    QString userTemp() const;   // "<config dir>/User_Temp"
};

enum class PartResult {
    Succeeded,
    NoConnection,  // its connection did not open: it wrote nothing and says nothing
    Failed,        // a statement or a write failed: the part stopped there
};

struct PartOutcome {
    int number = 0;  // 1 … 13, the order of the run
    QString name;    // "SubID", "InfoID", …
    PartResult result = PartResult::Succeeded;
    QString error;    // the driver's (or the file's) text when it did not succeed
    QString message;  // the text the screen shows in a message box (caption "错误"); empty: trace only
    QString remark;   // a note on a part that succeeded (users left out of the user file)
};

struct IndexBuildResult {
    QString startError;  // the build could not start (no paths, temporary file not writable)
    QList<PartOutcome> parts;
    bool replaced = false;  // the temporary files replaced the installation's files
    QString fileError;      // the temporary index file, or a copy over the installation's files, that failed

    bool succeeded() const { return startError.isEmpty() && failedParts().isEmpty() && fileError.isEmpty(); }
    QStringList failedParts() const;  // names of the parts that did not succeed, in run order
};

struct IndexBuildCallbacks {
    // Before part `number` runs (1 … 13), with its status text ("正在创建SubID...").
    std::function<void(int number, const QString &statusText)> partStarting;
    std::function<void(const PartOutcome &outcome)> partFinished;
};

inline constexpr int kIndexPartCount = 13;
inline constexpr int kIndexConnectTimeoutSeconds = 10;  // login and query time-out of every part

// Runs the whole build against the database of `connectString`. The temporary files are deleted
// first and stay in place afterwards; the installation's files are replaced only when every part
// succeeded, each by a whole copy (a reader sees the old file or the new one).
IndexBuildResult buildIndexFiles(const IndexFileTargets &targets, const QString &connectString,
                                 const IndexBuildCallbacks &callbacks = {});

}  // namespace dbkeel
