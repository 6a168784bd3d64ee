#include "run/copy_queue.h"

#include <algorithm>

namespace {

// Copies waiting per worker: enough that a worker finds the next one ready,
// few enough that Cancel has little to skip.
constexpr std::size_t kWaitingPerWorker = 16;

}  // namespace

unsigned DefaultCopyWorkers() {
    return std::clamp(2 * std::thread::hardware_concurrency(), 2u, kMaxCopyWorkers);
}

CopyQueue::CopyQueue(unsigned workers) : capacity_(kWaitingPerWorker * std::max(workers, 1u)) {
    if (workers <= 1) return;
    for (unsigned i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
}

CopyQueue::~CopyQueue() {
    Finish();
}

void CopyQueue::Add(std::function<void()> copy) {
    if (workers_.empty()) {
        copy();
        return;
    }
    std::unique_lock guard(lock_);
    if (waiting_.size() >= capacity_) {
        // Wait until half the backlog is done rather than for each free
        // place: every wake-up is a round trip through the system.
        walkWaiting_ = true;
        roomAvailable_.wait(guard, [this] { return waiting_.size() <= capacity_ / 2; });
        walkWaiting_ = false;
    }
    waiting_.push_back(std::move(copy));
    const bool wakeWorker = idleWorkers_ > 0;
    guard.unlock();
    if (wakeWorker) workAvailable_.notify_one();
}

void CopyQueue::Finish() {
    {
        std::lock_guard guard(lock_);
        finishing_ = true;
    }
    workAvailable_.notify_all();
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
}

void CopyQueue::Work() {
    for (;;) {
        std::function<void()> copy;
        {
            std::unique_lock guard(lock_);
            ++idleWorkers_;
            workAvailable_.wait(guard, [this] { return finishing_ || !waiting_.empty(); });
            --idleWorkers_;
            if (waiting_.empty()) return;
            copy = std::move(waiting_.front());
            waiting_.pop_front();
            if (walkWaiting_ && waiting_.size() <= capacity_ / 2) roomAvailable_.notify_one();
        }
        copy();
    }
}
