#include "archive_items.h"

#include <algorithm>
#include <chrono>
#include <iterator>

#include "cancel_flag.h"

namespace {

// A writer waiting for the next entry looks this often whether it was
// asked to stop (an added entry wakes it at once).
constexpr auto kCancelCheck = std::chrono::milliseconds(50);

}  // namespace

ArchiveItems::ArchiveItems(const std::vector<SourceItem>& items) : items_(items.begin(), items.end()), closed_(true) {}

void ArchiveItems::Add(std::vector<SourceItem> batch) {
    {
        std::lock_guard guard(lock_);
        if (closed_) return;
        std::move(batch.begin(), batch.end(), std::back_inserter(items_));
    }
    Changed();
}

void ArchiveItems::Close() {
    {
        std::lock_guard guard(lock_);
        closed_ = true;
    }
    Changed();
}

void ArchiveItems::Abandon() {
    {
        std::lock_guard guard(lock_);
        closed_ = true;
        abandoned_ = true;
    }
    Changed();
}

void ArchiveItems::Changed() {
    added_.notify_all();
    std::lock_guard guard(listenerLock_);
    if (listener_) listener_();
}

ArchiveItems::Look ArchiveItems::Peek(std::size_t i) const {
    std::lock_guard guard(lock_);
    if (abandoned_) return {nullptr, true};
    if (i < items_.size()) return {&items_[i], true};
    return {nullptr, closed_};
}

std::vector<const SourceItem*> ArchiveItems::WaitFrom(std::size_t i, const std::atomic<bool>* cancel) const {
    std::unique_lock guard(lock_);
    while (!added_.wait_for(guard, kCancelCheck, [&] { return closed_ || i < items_.size(); })) {
        if (IsCancelled(cancel)) return {};
    }
    std::vector<const SourceItem*> known;
    if (abandoned_) return known;
    for (; i < items_.size(); ++i) known.push_back(&items_[i]);
    return known;
}

void ArchiveItems::Listen(std::function<void()> listener) {
    std::lock_guard guard(listenerLock_);
    listener_ = std::move(listener);
}

std::vector<SourceItem> ArchiveItems::All() const {
    std::lock_guard guard(lock_);
    return {items_.begin(), items_.end()};
}

void BatchedItems::Add(SourceItem item) {
    batch_.push_back(std::move(item));
    if (batch_.size() < kBatch) return;
    list_.Add(std::move(batch_));
    batch_.clear();
}

void BatchedItems::Close() {
    list_.Add(std::move(batch_));
    batch_.clear();
    list_.Close();
}
