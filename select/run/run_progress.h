// How far a copy run has come: the files and bytes copied so far and the
// totals that a counting pass finds meanwhile. Written by the run's threads,
// read by the progress window.
#pragma once

#include <atomic>
#include <cstdint>

#include "archive_writer.h"

// Where the count of the run's totals stands.
enum class CountState : int {
    None,      // no count in this run
    Counting,  // under way
    Complete,  // filesTotal and bytesTotal hold the totals
    Stopped,   // ended early (Cancel, the end of the run, a failure): no totals
};

struct RunProgress {
    std::atomic<std::uint64_t> filesDone{0};
    std::atomic<std::uint64_t> bytesDone{0};
    // Set before count turns Complete.
    std::atomic<std::uint64_t> filesTotal{0};
    std::atomic<std::uint64_t> bytesTotal{0};
    std::atomic<CountState> count{CountState::None};
    // How far packing the current archive has come.
    ArchiveProgress pack;
};

// One file being copied on the calling thread. Its bytes count as the
// system's progress routine reports them (Windows does, for large files in
// steps; Wine never calls it), the whole file once Copied() says it is in
// place; a copy that does not finish takes back what it counted. Nests, so a
// copy inside a copy's progress cannot count twice.
class FileCopyProgress {
public:
    FileCopyProgress(RunProgress& progress, std::uint64_t size);
    ~FileCopyProgress();
    FileCopyProgress(const FileCopyProgress&) = delete;
    FileCopyProgress& operator=(const FileCopyProgress&) = delete;

    void Copied();

    // For the copy's progress routine: the bytes of the file copied so far,
    // counted for the file being copied on this thread (none: ignored).
    static void Transferred(std::uint64_t bytes);

private:
    RunProgress& progress_;
    std::uint64_t size_;
    std::uint64_t counted_ = 0;
    bool copied_ = false;
    FileCopyProgress* outer_;
};
