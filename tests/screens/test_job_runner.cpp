// The job runner on a real SQLite database through the driver: rows streamed in chunks while the
// window's thread goes on, stop, failures, bounded memory, and a screen that will not close under a job.

#include "screens/JobRunner.h"
#include "screens/ScreenDialog.h"
#include "tests/support/DbFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <thread>

namespace dbkeel::test {
namespace {

constexpr auto kLimit = std::chrono::seconds(60);

class JobRunnerTest : public DbFixture {
protected:
    static constexpr int kRows = 100000;
    JobRunner runner;
    QList<QStringList> received;
    QStringList statuses;
    bool ended = false, endedStopped = false;
    QString endedError;

    void SetUp() override
    {
        DbFixture::SetUp();
        QObject::connect(&runner, &JobRunner::rowsReady, [this](const QList<QStringList> &rows) { received += rows; });
        QObject::connect(&runner, &JobRunner::statusChanged, [this](const QString &text) { statuses << text; });
        QObject::connect(&runner, &JobRunner::finished, [this](bool stopped, const QString &error) {
            ended = true;
            endedStopped = stopped;
            endedError = error;
        });
    }
    void fillTable()
    {
        run(QStringLiteral("create table big (n integer, name text)"));
        run(QStringLiteral("insert into big with recursive c(n) as (select 1 union all select n + 1 from c "
                           "where n < %1) select n, '车辆' || n from c")
                .arg(kRows));
    }
    // Reads `table` into chunks of 1000 rows, counting in the status line.
    static JobRunner::Job browse(const QString &table)
    {
        return [table](JobContext &job) {
            SqlCursor cursor = job.db().query(QStringLiteral("select * from %1 order by n").arg(table));
            QList<QStringList> chunk;
            long long read = 0;
            while (!job.stopRequested() && cursor.next()) {
                chunk.append({cursor.text(0), cursor.text(1)});
                if (++read % 1000 == 0) {
                    job.addRows(std::exchange(chunk, {}));
                    job.setStatus(QStringLiteral("已读 %1 行").arg(read));
                }
            }
            job.addRows(chunk);
        };
    }
};

TEST_F(JobRunnerTest, StreamsEveryRowInOrderWhileTheWindowsThreadGoesOn)
{
    fillTable();
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(5);
    ASSERT_TRUE(runner.start(browse(QStringLiteral("big")), driverConnectString()));
    EXPECT_FALSE(runner.start(browse(QStringLiteral("big")), driverConnectString()));  // one job at a time
    ASSERT_TRUE(runner.wait(kLimit));
    EXPECT_TRUE(ended);
    EXPECT_FALSE(endedStopped);
    EXPECT_EQ(endedError, QString());
    ASSERT_EQ(received.size(), kRows);
    EXPECT_EQ(received.first(), (QStringList{"1", "车辆1"}));
    EXPECT_EQ(received.last(), (QStringList{"100000", "车辆100000"}));
    EXPECT_EQ(statuses.last(), QStringLiteral("已读 100000 行"));
    EXPECT_GT(ticks, 0);  // the timer ran while the rows came
}

TEST_F(JobRunnerTest, StopEndsTheJobAndSaysSo)
{
    ASSERT_TRUE(runner.start(
        [](JobContext &job) {
            while (!job.stopRequested())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        },
        QString()));
    QTimer::singleShot(50, &runner, [this] { runner.stop(); });
    ASSERT_TRUE(runner.wait(kLimit));
    EXPECT_TRUE(endedStopped);
    EXPECT_FALSE(runner.isRunning());
}

TEST_F(JobRunnerTest, AStopWhileTheConnectionOpensRunsNoJob)
{
    bool ran = false;
    ASSERT_TRUE(runner.start([&ran](JobContext &) { ran = true; }, driverConnectString()));
    runner.stop();  // the worker is still connecting
    ASSERT_TRUE(runner.wait(kLimit));
    EXPECT_TRUE(endedStopped);
    EXPECT_FALSE(ran);
}

TEST_F(JobRunnerTest, StopCancelsAStatementStillRunningOnTheDriver)
{
    std::atomic<bool> counted{false};
    ASSERT_TRUE(runner.start(
        [&counted](JobContext &job) {  // a count that would take hours
            SqlCursor cursor = job.db().query(QStringLiteral("with recursive c(n) as (select 1 union all select n + 1 "
                                                             "from c) select count(*) from c"));
            counted = cursor.next();
        },
        driverConnectString()));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    runner.stop();
    ASSERT_TRUE(runner.wait(std::chrono::seconds(5)));
    EXPECT_TRUE(endedStopped);
    EXPECT_FALSE(counted);
}

TEST_F(JobRunnerTest, FailuresEndTheJobWithTheDriversText)
{
    const struct {
        const char *name;
        QString connectString;
        const char *expected;
    } cases[] = {
        {"a statement", driverConnectString(), "no such table"},
        {"the connection", QStringLiteral("DRIVER=NoSuchDriver;"), "NoSuchDriver"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        bool ran = false;
        ASSERT_TRUE(runner.start(
            [&ran](JobContext &job) {
                ran = true;
                job.db().exec(QStringLiteral("delete from missing"));
            },
            c.connectString));
        ASSERT_TRUE(runner.wait(kLimit));
        EXPECT_TRUE(endedError.contains(QString::fromLatin1(c.expected))) << endedError.toStdString();
        EXPECT_EQ(ran, c.connectString == driverConnectString());  // no connection, no job
    }
}

TEST_F(JobRunnerTest, AJobWaitsWhileTheWindowHoldsTooManyRows)
{
    JobRunner small(nullptr, 3000);
    std::atomic<int> produced{0};
    ASSERT_TRUE(small.start(
        [&produced](JobContext &job) {
            for (int chunk = 0; chunk < 50 && !job.stopRequested(); ++chunk) {
                job.addRows(QList<QStringList>(1000, QStringList{QStringLiteral("x")}));
                produced += 1000;
            }
        },
        QString()));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the window takes nothing meanwhile
    EXPECT_LE(produced.load(), 3000 + 1000);
    int taken = 0;
    QObject::connect(&small, &JobRunner::rowsReady,
                     [&taken](const QList<QStringList> &rows) { taken += int(rows.size()); });
    ASSERT_TRUE(small.wait(kLimit));
    EXPECT_EQ(produced.load(), 50000);
    EXPECT_EQ(taken, 50000);  // every chunk was delivered once the window took them
}

TEST_F(JobRunnerTest, AScreenDoesNotCloseUnderARunningJob)
{
    ScreenDialog screen(nullptr, QSize(200, 100), QStringLiteral("测试"));
    auto *job = new JobRunner(&screen);
    screen.show();
    ASSERT_TRUE(job->start(
        [](JobContext &context) {
            while (!context.stopRequested())
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        },
        QString()));
    screen.reject();
    screen.close();
    EXPECT_TRUE(screen.isVisible());
    job->stop();
    ASSERT_TRUE(job->wait(kLimit));
    screen.reject();
    EXPECT_FALSE(screen.isVisible());
}

}  // namespace
}  // namespace dbkeel::test
