// Writes one Zip archive, all or nothing: from a list of entries, or from a
// source path as the command line gives it.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "archive_command.h"
#include "archive_items.h"
#include "file_system.h"
#include "piece_compressor.h"
#include "source_tree.h"

// How far a run has come; read from any thread while it runs. The totals
// are set when they are known: at the start for a complete list of entries.
struct ArchiveProgress {
    std::atomic<std::uint64_t> entriesTotal{0};
    std::atomic<std::uint64_t> entriesDone{0};  // entries written into the archive
    std::atomic<std::uint64_t> bytesTotal{0};   // the files' sizes together
    std::atomic<std::uint64_t> bytesDone{0};    // of those, read and packed
};

struct ArchiveOptions {
    // Compressing threads; 0: one per core.
    unsigned threads = 0;
    // Read files that other programs hold open for writing.
    bool shareWrite = false;
    // Set: the run stops between files and blocks with kArchiverStopped.
    const std::atomic<bool>* cancel = nullptr;
    // Every file is opened through it, and the temporary archive is created,
    // moved into place or removed through it.
    FileSystem* files = &SystemFileSystem();
    // Kept up to date while the run goes on, when given.
    ArchiveProgress* progress = nullptr;
    // The compressor of each compressing thread; empty: deflate
    // (MakeDeflateCompressor). Tests put one here that fails.
    CompressorMaker makeCompressor;
    // The complete archive is read back (CheckArchive) before it takes its
    // place; one that does not read back fails with kArchiverBadArchive.
    bool verify = false;
    // Called when the reading back begins.
    std::function<void()> onChecking;
};

struct ArchiveOutcome {
    int code = 0;       // kArchiverOk or a failure code of archiver_api.h
    std::wstring path;  // the path the failure concerns, as the user knows it
    DWORD error = 0;    // the system's error behind a failed read or write, when there was one
};

// Writes items, in the order given (SortIntoArchiveOrder gives the order of
// ScanSource), into a new file beside archivePath and moves it over
// archivePath only when it is complete: a failed or stopped run leaves no
// partial archive, and an earlier file of that name as it was. An existing
// archive is replaced, not added to. archivePath may be longer than 260
// characters. Never throws: anything unexpected ends the run with
// kArchiverInternalError.
ArchiveOutcome WriteArchive(const std::vector<SourceItem>& items, const std::wstring& archivePath,
                            const ArchiveOptions& options);

// The same, from a list that may still be growing: each entry is packed as
// soon as it is added, and the archive is complete when the list is closed.
// An abandoned list, like the cancel flag, stops the run with
// kArchiverStopped. The progress totals are left to whoever knows them.
ArchiveOutcome WriteArchive(ArchiveItems& items, const std::wstring& archivePath, const ArchiveOptions& options);

// Sets the progress totals (when progress is given) for a complete list of
// entries.
void SetArchiveTotals(const std::vector<SourceItem>& items, ArchiveProgress* progress);

// The command line's run: the request's source is scanned (ScanSource) on a
// thread of its own while WriteArchive packs each entry as it is found. A
// source that cannot be listed or named fails the run with the scan's code
// and path, and leaves no archive.
ArchiveOutcome CreateArchive(const ArchiveRequest& request, const std::atomic<bool>* cancel,
                             FileSystem& files = SystemFileSystem());
