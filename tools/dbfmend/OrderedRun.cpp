// Ordered hand-over of results computed on worker threads.
#include "OrderedRun.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace mend {
namespace {

const size_t kWindow = 256;  // results done or being done but not yet handed over, at most
const size_t kChunk = 8;     // items a worker takes at once

class OrderedRun {
public:
    OrderedRun(size_t begin, size_t end, const std::function<TableOutcome(size_t)>& work)
        : end_(end), next_(begin), frontier_(begin), handed_(begin), work_(work),
          slots_(kWindow), ready_(kWindow, false)
    {
    }

    // On a worker thread: takes chunks of items while the window has room, until every
    // item is taken.
    void Work()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            roomLeft_.wait(lock, [this] { return next_ >= end_ || failure_ || HasRoom(); });
            if (next_ >= end_ || failure_)
                return;
            if (!WorkChunk(lock))
                return;
        }
    }

    // On the calling thread: hands the results over in order, outside the lock, and
    // works on chunks itself while none is ready, so that it does not sleep while
    // there is work. A worker's exception ends the run and is thrown by the caller.
    void HandOver(const std::function<void(size_t, TableOutcome&)>& done)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (handed_ < end_ && !failure_) {
            if (frontier_ > handed_) {
                size_t upto = frontier_;
                lock.unlock();
                for (size_t i = handed_; i < upto; ++i)
                    done(i, slots_[i % kWindow]);
                lock.lock();
                handed_ = upto;
                roomLeft_.notify_all();
            } else if (next_ < end_ && HasRoom()) {
                WorkChunk(lock);
            } else {
                waiting_ = true;
                resultsReady_.wait(lock);
                waiting_ = false;
            }
        }
    }

    void Stop()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!failure_ && handed_ < end_)
            failure_ = std::make_exception_ptr(std::runtime_error("run stopped"));
        roomLeft_.notify_all();
    }

    std::exception_ptr failure() const { return failure_; }

private:
    bool HasRoom() const { return std::min(end_, next_ + kChunk) <= handed_ + kWindow; }

    // Takes the next chunk, works on it outside the lock (a slot in [handed_, handed_ +
    // kWindow) belongs to its item alone until marked ready), then marks it ready and
    // moves the frontier of contiguous results on. False when the work threw.
    bool WorkChunk(std::unique_lock<std::mutex>& lock)
    {
        size_t first = next_, last = std::min(end_, next_ + kChunk);
        next_ = last;
        lock.unlock();
        try {
            for (size_t i = first; i < last; ++i)
                slots_[i % kWindow] = work_(i);
        } catch (...) {
            lock.lock();
            failure_ = std::current_exception();
            roomLeft_.notify_all();
            resultsReady_.notify_one();
            return false;
        }
        lock.lock();
        for (size_t i = first; i < last; ++i)
            ready_[i % kWindow] = true;
        size_t before = frontier_;
        while (frontier_ < end_ && ready_[frontier_ % kWindow]) {
            ready_[frontier_ % kWindow] = false;
            ++frontier_;
        }
        if (frontier_ != before && waiting_)
            resultsReady_.notify_one();
        return true;
    }

    const size_t end_;
    size_t next_;      // the first item no worker has taken
    size_t frontier_;  // the first item not done, or done out of order
    size_t handed_;    // the first item not handed over
    const std::function<TableOutcome(size_t)>& work_;
    std::vector<TableOutcome> slots_;
    std::vector<bool> ready_;
    std::exception_ptr failure_;
    bool waiting_ = false;  // the calling thread sleeps until a result is ready
    std::mutex mutex_;
    std::condition_variable roomLeft_;
    std::condition_variable resultsReady_;
};

}  // namespace

unsigned DefaultJobs()
{
    unsigned processors = std::thread::hardware_concurrency();
    return std::max(1u, std::min(processors, kMaxJobs));
}

void RunInOrder(size_t begin, size_t end, unsigned jobs,
                const std::function<TableOutcome(size_t)>& work,
                const std::function<void(size_t, TableOutcome&)>& done)
{
    if (jobs <= 1 || end - begin < 2 * kChunk) {
        for (size_t i = begin; i < end; ++i) {
            TableOutcome result = work(i);
            done(i, result);
        }
        return;
    }
    OrderedRun run(begin, end, work);
    std::vector<std::thread> workers;
    for (unsigned j = 1; j < jobs; ++j)  // the calling thread is one of them
        workers.emplace_back([&run] { run.Work(); });
    try {
        run.HandOver(done);
    } catch (...) {
        run.Stop();
        for (std::thread& worker : workers)
            worker.join();
        throw;
    }
    run.Stop();
    for (std::thread& worker : workers)
        worker.join();
    if (run.failure())
        std::rethrow_exception(run.failure());
}

}  // namespace mend
