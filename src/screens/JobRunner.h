#pragma once
// The one way a screen runs long work: on a worker thread with a connection of its own, reporting
// progress, status and rows to the window's thread, stoppable, so the window stays responsive.
// A ScreenDialog refuses to close while a runner among its children has a job running.

#include "core/SharedDb.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace dbkeel {

class JobRunner;

// What a job sees on its worker thread.
class JobContext {
public:
    // The job's own connection, open when the job starts (a job started without one: closed).
    SharedDb &db() { return m_db; }
    bool stopRequested() const;
    // Posted to the window; a value the window has not taken yet is replaced by the newer one.
    void setProgress(int value);
    void setStatus(const QString &text);
    // A chunk of rows for the window. Blocks while the window holds more than the runner's limit of
    // rows it has not taken, so a fast job cannot fill the memory; returns at once when stopped.
    void addRows(QList<QStringList> rows);

private:
    friend class JobRunner;
    explicit JobContext(JobRunner &runner) : m_runner(runner) {}

    JobRunner &m_runner;
    SharedDb m_db;
};

class JobRunner : public QObject {
    Q_OBJECT

public:
    using Job = std::function<void(JobContext &)>;
    static constexpr int kLoginTimeoutSeconds = 10;

    explicit JobRunner(QObject *parent = nullptr, int queuedRowLimit = 5000);
    ~JobRunner() override;  // stops a running job and waits for it

    // Runs `job` on a worker thread with its own connection opened with `connectString` (none when
    // empty). False, starting nothing, while another job runs. A connection that cannot be opened
    // ends the job before it runs, with the driver's text in finished().
    bool start(Job job, const QString &connectString);
    // Asks the job to stop; it ends at its next look at stopRequested(). A statement running on the
    // job's connection is cancelled on the driver: the job's call returns at once (with a DbError,
    // or without rows).
    void stop();
    bool isRunning() const { return m_running; }
    // Dispatches the window's events until the job has ended; false when `limit` passed first.
    bool wait(std::chrono::milliseconds limit);

signals:
    void progressChanged(int value);
    void statusChanged(const QString &text);
    void rowsReady(const QList<QStringList> &rows);
    // The job ended: `stopped` when stop() asked it to; `error` holds the text of the DbError (or
    // other exception) that ended it, empty when it ran to its end.
    void finished(bool stopped, const QString &error);

private:
    friend class JobContext;
    void run(const Job &job, const QString &connectString);
    void setContext(JobContext *context);
    void deliverRows(const QList<QStringList> &rows);
    void end(const QString &error);
    void join();

    const int m_queuedRowLimit;
    std::thread m_thread;
    bool m_running = false;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_progress{0};
    std::atomic<bool> m_progressPosted{false};
    std::mutex m_mutex;
    std::condition_variable m_rowsTaken;
    int m_queuedRows = 0;
    JobContext *m_context = nullptr;  // the running job's, under m_mutex
};

}  // namespace dbkeel
