#include "run/copy_queue.h"

#include <algorithm>

#include "thread_barrier.h"

namespace {

// Copies waiting per worker: enough that a worker finds the next one ready,
// few enough that Cancel has little to skip.
constexpr std::size_t kWaitingPerWorker = 16;

}  // namespace

unsigned DefaultCopyWorkers() {
    return std::clamp(2 * std::thread::hardware_concurrency(), 2u, kMaxCopyWorkers);
}

CopyQueue::CopyQueue(unsigned workers, FailureHandler onFailure)
    : capacity_(kWaitingPerWorker * std::max(workers, 1u)), onFailure_(std::move(onFailure)) {
    if (workers <= 1) return;
    liveWorkers_ = workers;
    for (unsigned i = 0; i < workers; ++i) {
        workers_.emplace_back(
            [this] { RunBehindBarrier([this] { Work(); }, [this](const std::wstring& what) { WorkerLost(what); }); });
    }
}

void CopyQueue::Run(const std::function<void()>& copy) {
    RunBehindBarrier(copy, onFailure_);
}

void CopyQueue::WorkerLost(const std::wstring& what) {
    {
        std::lock_guard guard(lock_);
        --liveWorkers_;
    }
    roomAvailable_.notify_all();
    onFailure_(what);
}

CopyQueue::~CopyQueue() {
    Finish();
}

void CopyQueue::Add(std::function<void()> copy) {
    std::unique_lock guard(lock_);
    if (liveWorkers_ > 0 && waiting_.size() >= capacity_) {
        // Wait until half the backlog is done rather than for each free
        // place: every wake-up is a round trip through the system.
        walkWaiting_ = true;
        roomAvailable_.wait(guard, [this] { return waiting_.size() <= capacity_ / 2 || liveWorkers_ == 0; });
        walkWaiting_ = false;
    }
    // One thread, or none left: the copy runs here and now.
    if (liveWorkers_ == 0) {
        guard.unlock();
        Run(copy);
        return;
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
    // Copies left behind by workers that were lost run here.
    std::deque<std::function<void()>> left;
    {
        std::lock_guard guard(lock_);
        left.swap(waiting_);
    }
    for (const auto& copy : left) Run(copy);
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
        Run(copy);
    }
}
