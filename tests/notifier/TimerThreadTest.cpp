// The pacing thread: steps while running, none while paused or after it was told to stop.
#include "TimerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Waits (bounded) until the count reaches at least n.
bool WaitFor(const std::atomic<int>& count, int n)
{
    for (int i = 0; i < 400 && count.load() < n; ++i)
        std::this_thread::sleep_for(5ms);
    return count.load() >= n;
}

TEST(TimerThreadTest, StepsUntilTerminatedAndNeverAfter)
{
    auto steps = std::make_shared<std::atomic<int>>(0);
    TTimerThread* thread = TTimerThread::Start([steps] { ++*steps; }, 5, false);
    ASSERT_TRUE(WaitFor(*steps, 3));
    thread->Terminate();
    const int atStop = steps->load();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(steps->load(), atStop);
}

TEST(TimerThreadTest, SuspendedThreadWaitsForResume)
{
    auto steps = std::make_shared<std::atomic<int>>(0);
    TTimerThread* thread = TTimerThread::Start([steps] { ++*steps; }, 5, true);
    EXPECT_TRUE(thread->Suspended());
    std::this_thread::sleep_for(60ms);
    EXPECT_EQ(steps->load(), 0);
    thread->Resume();
    ASSERT_TRUE(WaitFor(*steps, 2));
    thread->Suspend();
    std::this_thread::sleep_for(20ms);  // a step under way when paused still finishes
    const int atPause = steps->load();
    std::this_thread::sleep_for(60ms);
    EXPECT_EQ(steps->load(), atPause);
    thread->Terminate();  // a paused thread is let go and ends
    std::this_thread::sleep_for(20ms);
}

TEST(TimerThreadTest, TerminateWaitsForAStepUnderWay)
{
    std::atomic<bool> inStep{false};
    std::atomic<bool> stepDone{false};
    TTimerThread* thread = TTimerThread::Start(
        [&] {
            if (stepDone)
                return;
            inStep = true;
            std::this_thread::sleep_for(50ms);
            stepDone = true;
        },
        1, false);
    while (!inStep)
        std::this_thread::sleep_for(1ms);
    thread->Terminate();
    EXPECT_TRUE(stepDone.load());
    std::this_thread::sleep_for(20ms);
}

TEST(TimerThreadTest, NewIntervalIsReadBeforeTheNextWaitAndStopEndsALongWait)
{
    auto steps = std::make_shared<std::atomic<int>>(0);
    TTimerThread* thread = TTimerThread::Start([steps] { ++*steps; }, 5, false);
    ASSERT_TRUE(WaitFor(*steps, 1));
    thread->SetInterval(60000);
    const int atChange = steps->load();
    std::this_thread::sleep_for(100ms);
    EXPECT_LE(steps->load(), atChange + 1);  // at most the wait already under way
    thread->Terminate();  // the thread leaves its minute-long wait at once and frees itself
    std::this_thread::sleep_for(20ms);
}

}  // namespace
