#include "run/copy_queue.h"

#include <algorithm>

namespace {

// Copies waiting per worker: enough that a worker finds the next one ready,
// few enough that Cancel has little to skip.
constexpr std::size_t kWaitingPerWorker = 16;

}  // namespace

unsigned DefaultCopyWorkers() {
    return std::clamp(std::thread::hardware_concurrency(), 2u, kMaxCopyWorkers);
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
    {
        std::unique_lock guard(lock_);
        changed_.wait(guard, [this] { return waiting_.size() < capacity_; });
        waiting_.push_back(std::move(copy));
    }
    changed_.notify_all();
}

void CopyQueue::Finish() {
    {
        std::lock_guard guard(lock_);
        finishing_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
    workers_.clear();
}

void CopyQueue::Work() {
    for (;;) {
        std::function<void()> copy;
        {
            std::unique_lock guard(lock_);
            changed_.wait(guard, [this] { return finishing_ || !waiting_.empty(); });
            if (waiting_.empty()) return;
            copy = std::move(waiting_.front());
            waiting_.pop_front();
        }
        changed_.notify_all();
        copy();
    }
}
