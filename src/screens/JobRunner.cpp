#include "screens/JobRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace dbkeel {

bool JobContext::stopRequested() const
{
    return m_runner.m_stop;
}

void JobContext::setProgress(int value)
{
    m_runner.m_progress = value;
    if (m_runner.m_progressPosted.exchange(true))
        return;  // the window takes the newest value when it gets to the one already posted
    JobRunner *runner = &m_runner;
    QMetaObject::invokeMethod(
        runner,
        [runner] {
            runner->m_progressPosted = false;
            emit runner->progressChanged(runner->m_progress);
        },
        Qt::QueuedConnection);
}

void JobContext::setStatus(const QString &text)
{
    JobRunner *runner = &m_runner;
    QMetaObject::invokeMethod(
        runner, [runner, text] { emit runner->statusChanged(text); }, Qt::QueuedConnection);
}

void JobContext::addRows(QList<QStringList> rows)
{
    if (rows.isEmpty())
        return;
    {
        std::unique_lock lock(m_runner.m_mutex);
        m_runner.m_rowsTaken.wait(lock, [this] {
            return m_runner.m_stop || m_runner.m_queuedRows < m_runner.m_queuedRowLimit;
        });
        if (m_runner.m_stop)
            return;
        m_runner.m_queuedRows += int(rows.size());
    }
    JobRunner *runner = &m_runner;
    QMetaObject::invokeMethod(
        runner, [runner, rows = std::move(rows)] { runner->deliverRows(rows); }, Qt::QueuedConnection);
}

JobRunner::JobRunner(QObject *parent, int queuedRowLimit) : QObject(parent), m_queuedRowLimit(queuedRowLimit) {}

JobRunner::~JobRunner()
{
    stop();
    join();
}

bool JobRunner::start(Job job, const QString &connectString)
{
    if (m_running)
        return false;
    join();
    m_stop = false;
    m_queuedRows = 0;
    m_running = true;
    m_thread = std::thread([this, job = std::move(job), connectString] { run(job, connectString); });
    return true;
}

void JobRunner::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        if (m_context)
            m_context->m_db.cancel();  // a statement still running ends now, not when it is done
    }
    m_rowsTaken.notify_all();
}

bool JobRunner::wait(std::chrono::milliseconds limit)
{
    const QDeadlineTimer deadline(limit);
    while (m_running && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (m_running)
            QThread::msleep(5);  // processEvents returns at once when nothing is pending: no spinning
    }
    return !m_running;
}

void JobRunner::run(const Job &job, const QString &connectString)
{
    QString error;
    JobContext context(*this);
    setContext(&context);
    try {
        if (!connectString.isEmpty())
            context.m_db.open(connectString, kLoginTimeoutSeconds);
        if (!context.stopRequested())  // a stop pressed while the connection opened
            job(context);
    } catch (const DbError &failure) {
        error = failure.text();
    } catch (const std::exception &failure) {
        error = QString::fromLocal8Bit(failure.what());
    }
    setContext(nullptr);
    QMetaObject::invokeMethod(
        this, [this, error] { end(error); }, Qt::QueuedConnection);
}

void JobRunner::setContext(JobContext *context)
{
    std::lock_guard lock(m_mutex);
    m_context = context;
}

void JobRunner::deliverRows(const QList<QStringList> &rows)
{
    {
        std::lock_guard lock(m_mutex);
        m_queuedRows -= int(rows.size());
    }
    m_rowsTaken.notify_all();
    emit rowsReady(rows);
}

void JobRunner::end(const QString &error)
{
    join();
    m_running = false;
    emit finished(m_stop, error);
}

void JobRunner::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

}  // namespace dbkeel
