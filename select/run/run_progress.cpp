#include "run/run_progress.h"

namespace {

// The progress routine runs on the thread that copies, inside the copy.
thread_local FileCopyProgress* t_current = nullptr;

}  // namespace

FileCopyProgress::FileCopyProgress(RunProgress& progress, std::uint64_t size)
    : progress_(progress), size_(size), outer_(t_current) {
    t_current = this;
}

FileCopyProgress::~FileCopyProgress() {
    if (!copied_) progress_.bytesDone -= counted_;
    t_current = outer_;
}

void FileCopyProgress::Copied() {
    if (copied_) return;
    copied_ = true;
    if (size_ > counted_) progress_.bytesDone += size_ - counted_;
    ++progress_.filesDone;
}

void FileCopyProgress::Transferred(std::uint64_t bytes) {
    FileCopyProgress* file = t_current;
    // A second attempt under another name starts again from 0: only bytes
    // beyond those counted are new.
    if (!file || file->copied_ || bytes <= file->counted_) return;
    file->progress_.bytesDone += bytes - file->counted_;
    file->counted_ = bytes;
}
