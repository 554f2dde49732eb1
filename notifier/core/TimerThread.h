// TTimerThread: the worker thread that paces the tray icon's animation.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

// The thread sleeps Interval milliseconds, then runs its step, until it is told to stop. It
// only paces: the step hands the frame change to the user-interface thread. The step runs
// under the thread's lock, so once Terminate has returned no step is running or will run.
// The object frees itself when its thread ends; after Terminate the owner must not touch it.
class TTimerThread : public std::enable_shared_from_this<TTimerThread> {
public:
    using TStep = std::function<void()>;

    // Starts a thread; a suspended one waits for Resume before its first sleep.
    static TTimerThread* Start(TStep step, std::uint16_t interval, bool suspended);

    // Read by the thread before every wait.
    void SetInterval(std::uint16_t milliseconds);
    void Suspend();
    void Resume();
    bool Suspended() const;
    // Clears the step (the thread's reference to its tray), lets a suspended thread go and
    // tells it to stop. Does not wait for the thread to end.
    void Terminate();

    TTimerThread(TStep step, std::uint16_t interval, bool suspended);
    TTimerThread(const TTimerThread&) = delete;
    TTimerThread& operator=(const TTimerThread&) = delete;

private:
    void Execute();
    bool Stopped() const { return terminated || !step; }

    mutable std::mutex lock;
    std::condition_variable wake;
    TStep step;
    std::uint16_t interval;
    bool suspended;
    bool terminated = false;
};
