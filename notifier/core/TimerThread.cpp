// TTimerThread: the worker thread that paces the tray icon's animation.
#include "TimerThread.h"

#include <chrono>
#include <thread>

TTimerThread* TTimerThread::Start(TStep step, std::uint16_t interval, bool suspended)
{
    // The thread holds the object; it is freed when the thread ends and no call on it runs.
    auto thread = std::make_shared<TTimerThread>(std::move(step), interval, suspended);
    std::thread([thread] { thread->Execute(); }).detach();
    return thread.get();
}

TTimerThread::TTimerThread(TStep step, std::uint16_t interval, bool suspended)
    : step(std::move(step)), interval(interval), suspended(suspended)
{
}

void TTimerThread::SetInterval(std::uint16_t milliseconds)
{
    std::lock_guard<std::mutex> guard(lock);
    interval = milliseconds;
}

void TTimerThread::Suspend()
{
    std::lock_guard<std::mutex> guard(lock);
    suspended = true;
}

void TTimerThread::Resume()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        suspended = false;
    }
    wake.notify_all();
}

bool TTimerThread::Suspended() const
{
    std::lock_guard<std::mutex> guard(lock);
    return suspended;
}

void TTimerThread::Terminate()
{
    // Once told to stop the thread may end and free the object: keep it for this call.
    const std::shared_ptr<TTimerThread> keep = shared_from_this();
    {
        std::lock_guard<std::mutex> guard(lock);
        step = nullptr;
        suspended = false;
        terminated = true;
    }
    wake.notify_all();
}

void TTimerThread::Execute()
{
    std::unique_lock<std::mutex> guard(lock);
    while (!Stopped()) {
        wake.wait(guard, [this] { return Stopped() || !suspended; });
        if (Stopped()) {
            break;
        }
        // A pause or a stop during the sleep is seen at once; a pause only holds the next
        // step back, a step already started finishes under the lock.
        const auto period = std::chrono::milliseconds(interval);
        if (wake.wait_for(guard, period, [this] { return Stopped() || suspended; })) {
            continue;
        }
        step();
    }
}
