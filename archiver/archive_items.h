// The entries of one archive, in archive order, as a list that may still be
// growing while the archive is written: whoever lists them adds entries at
// the end and closes the list, the writer and its reading threads take each
// entry as soon as it is there. Entries never move once added, so a
// reference to one stays good for the life of the list.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

#include "source_tree.h"

class ArchiveItems {
public:
    ArchiveItems() = default;
    // A list complete from the start.
    explicit ArchiveItems(const std::vector<SourceItem>& items);
    ArchiveItems(const ArchiveItems&) = delete;
    ArchiveItems& operator=(const ArchiveItems&) = delete;

    // Adds entries at the end; ignored once the list is closed. Entries come
    // in batches: every hand-over wakes the threads waiting for entries.
    void Add(std::vector<SourceItem> batch);
    // No more entries come: the list is complete.
    void Close();
    // No more entries come and the archive is not wanted: the writer stops
    // with kArchiverStopped and leaves no archive.
    void Abandon();

    // What is known of entry i without waiting: the entry once it was
    // added; null with `final` set when it never will be (the list ended
    // before it, or was abandoned).
    struct Look {
        const SourceItem* item = nullptr;
        bool final = false;
    };
    Look Peek(std::size_t i) const;
    // Entries i and after, as many as are there, waiting until there is at
    // least one; none when the list ends before i, when it was abandoned, or
    // when *cancel is set meanwhile. Taking all that are there at once keeps
    // the writer off the list's lock while the pipeline looks at it.
    std::vector<const SourceItem*> WaitFrom(std::size_t i, const std::atomic<bool>* cancel) const;

    bool Abandoned() const { return abandoned_.load(); }
    // Called after every Add, Close and Abandon, on the thread that made the
    // change and without the list's lock held; empty: nobody listens. A
    // listener that is replaced is no longer running when this returns.
    void Listen(std::function<void()> listener);
    // Every entry; meant for a list that is complete.
    std::vector<SourceItem> All() const;

private:
    void Changed();

    mutable std::mutex lock_;
    mutable std::condition_variable added_;
    std::deque<SourceItem> items_;
    bool closed_ = false;
    std::atomic<bool> abandoned_{false};
    std::mutex listenerLock_;
    std::function<void()> listener_;
};

// Hands entries to a list in batches: every hand-over wakes the threads
// waiting for entries, which under Wine is a round trip to the server.
class BatchedItems {
public:
    explicit BatchedItems(ArchiveItems& list) : list_(list) {}
    BatchedItems(const BatchedItems&) = delete;
    BatchedItems& operator=(const BatchedItems&) = delete;

    void Add(SourceItem item);
    // Hands over what is held and closes the list.
    void Close();

private:
    static constexpr std::size_t kBatch = 64;

    ArchiveItems& list_;
    std::vector<SourceItem> batch_;
};
