// The file copies of a folder tree, handed from the walk to a few worker
// threads. Copying many small files is mostly waiting on the file system
// (opening, creating, closing), so a few threads overlap that waiting.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The one place that decides how many threads copy a tree's files: the
// core count, at least two (the work is waiting, not computing, so even one
// core gains from a second thread) and at most kMaxCopyWorkers (more threads
// made copying slower again on two cores).
constexpr unsigned kMaxCopyWorkers = 4;
unsigned DefaultCopyWorkers();

// Runs the copies it is given on `workers` threads, taking them in the order
// they came; 1 runs each one at once on the calling thread, which is the
// plain sequential copy.
class CopyQueue {
public:
    explicit CopyQueue(unsigned workers);
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

    std::size_t capacity_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> waiting_;
    bool finishing_ = false;
    std::vector<std::thread> workers_;
};
