// Background threads and the shared flags that wake them: a stop reaches a sleeping thread at once,
// and no thread outlives its owner.

#include "platform/BackgroundThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace dbkeel {
namespace {

using namespace std::chrono_literals;

// A thread that sleeps until its flag is stored (far longer than any test waits), then notes its end.
struct SleepingThread {
    SharedFlag stop{0};
    std::atomic<bool> returned{false};
    BackgroundThread thread{[this] {
                                sleepUntil([this] { return stop == 1; }, 1h);
                                returned = true;
                            },
                            [this] { stop = 1; }};
};

TEST(BackgroundThreadTest, AStopWakesTheSleepingThreadAtOnce)
{
    SleepingThread sleeper;
    ASSERT_TRUE(sleeper.thread.start());
    EXPECT_FALSE(sleeper.thread.start()) << "it is still running";
    EXPECT_FALSE(sleeper.thread.waitFinished(50ms));
    EXPECT_TRUE(sleeper.thread.stop(10s));
    EXPECT_TRUE(sleeper.returned);
    EXPECT_FALSE(sleeper.thread.isRunning());

    sleeper.returned = false;
    sleeper.stop = 0;
    ASSERT_TRUE(sleeper.thread.start()) << "it starts again once it has returned";
    EXPECT_TRUE(sleeper.thread.stop(10s));
    EXPECT_TRUE(sleeper.returned);
}

TEST(BackgroundThreadTest, TheOwnerGoesOnlyAfterItsThreadHasReturned)
{
    const auto returned = std::make_shared<std::atomic<bool>>(false);
    {
        SharedFlag stop{0};
        BackgroundThread thread(
            [&stop, returned] {
                sleepUntil([&] { return stop == 1; }, 1h);
                *returned = true;
            },
            [&stop] { stop = 1; });
        ASSERT_TRUE(thread.start());
    }  // the thread is stopped and joined here, before the flag it reads goes
    EXPECT_TRUE(*returned);
}

TEST(SharedFlagTest, SleepersSeeEveryStoreAndTimeOutOtherwise)
{
    SharedFlag flag{0};
    EXPECT_TRUE(sleepUntil([] { return true; }, 0ms));
    EXPECT_FALSE(sleepUntil([&] { return flag == 1; }, 20ms));

    std::thread storer([&] {
        std::this_thread::sleep_for(20ms);
        flag = 1;
    });
    EXPECT_TRUE(sleepUntil([&] { return flag == 1; }, 1h));
    storer.join();
}

TEST(SharedFlagTest, AWakeUpIsCalledOnEveryStoreWhileItLives)
{
    SharedFlag flag{0};
    int calls = 0;
    {
        const FlagWakeUp wakeUp([&] { ++calls; });
        flag = 1;
        flag = 0;
        wakeSleepers();
    }
    flag = 1;
    EXPECT_EQ(calls, 3);
}

}  // namespace
}  // namespace dbkeel
