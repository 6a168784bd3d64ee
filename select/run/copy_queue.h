// The file copies of a folder tree, handed from the walk to a few worker
// threads. Copying many small files is mostly waiting on the file system
// (opening, creating, closing), so a few threads overlap that waiting.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The one place that decides how many threads copy a tree's files: twice
// the core count, as the work is mostly waiting on the file system, and at
// most kMaxCopyWorkers. On 2 cores, 20,000 small files copied 1.6 times as
// fast as a plain one-thread copy with 2 threads, 2.0 times with 4 and 1.9
// times with 8.
constexpr unsigned kMaxCopyWorkers = 8;
unsigned DefaultCopyWorkers();

// Runs the copies it is given on `workers` threads, taking them in the order
// they came; 1 runs each one at once on the calling thread, which is the
// plain sequential copy. A copy that throws (memory running out, anything
// unexpected) is handed to onFailure with its description; the queue goes
// on, and the owner stops the run.
class CopyQueue {
public:
    using FailureHandler = std::function<void(const std::wstring& what)>;

    CopyQueue(unsigned workers, FailureHandler onFailure);
    ~CopyQueue();
    CopyQueue(const CopyQueue&) = delete;
    CopyQueue& operator=(const CopyQueue&) = delete;

    // Adds a copy; waits while the backlog is full, so the walk never runs
    // far ahead of the copies (and their memory stays bounded).
    void Add(std::function<void()> copy);
    // Waits until every copy added has ended, then stops the threads.
    void Finish();

private:
    void Work();
    void Run(const std::function<void()>& copy);
    // A worker's loop itself failed: the others, or the walk, take over.
    void WorkerLost(const std::wstring& what);

    std::size_t capacity_;
    FailureHandler onFailure_;
    std::mutex lock_;
    std::condition_variable workAvailable_;  // for idle workers
    std::condition_variable roomAvailable_;  // for the walk, when the backlog was full
    std::deque<std::function<void()>> waiting_;
    unsigned idleWorkers_ = 0;
    unsigned liveWorkers_ = 0;
    bool walkWaiting_ = false;
    bool finishing_ = false;
    std::vector<std::thread> workers_;
};
