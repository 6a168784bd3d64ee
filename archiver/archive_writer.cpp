#include "archive_writer.h"

#include <algorithm>
#include <thread>
#include <vector>

#include <zlib.h>

#include "archive_check.h"
#include "archive_items.h"
#include "archiver_api.h"
#include "block_pipeline.h"
#include "cancel_flag.h"
#include "output_file.h"
#include "source_tree.h"
#include "temporary_archive.h"
#include "thread_barrier.h"
#include "zip_records.h"

namespace {

ZipEntry EntryFor(const SourceItem& item, std::uint64_t offset) {
    ZipEntry entry;
    entry.name = item.name;
    entry.localHeaderOffset = offset;
    entry.writeTime = item.writeTime;
    entry.accessTime = item.accessTime;
    entry.creationTime = item.creationTime;
    entry.attributes = item.attributes;
    entry.localZip64 = !item.isFolder && LocalHeaderNeedsZip64(item.size);
    return entry;
}

unsigned WorkerCount(unsigned requested) {
    if (requested > 0) return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

// Threads that only open and read files, beside the compressing workers:
// under Wine every open, read and close waits on the server, and a worker
// waiting there leaves its core idle. On 2 cores and a tree of 11,000 small
// files, 2 readers ran about 8% faster than none; 1 and 3 gained nothing more.
constexpr unsigned kReaders = 2;

// A single worker reads its files itself: the plain one-thread run.
unsigned ReaderCount(unsigned workers) {
    return workers == 1 ? 0 : kReaders;
}

PipelineOptions PipelineOptionsFor(const ArchiveOptions& options) {
    const unsigned workers = WorkerCount(options.threads);
    return PipelineOptions{workers,        ReaderCount(workers), options.shareWrite,
                           options.cancel, options.files,        options.makeCompressor};
}

class ArchiveBuilder {
public:
    ArchiveBuilder(ArchiveItems& items, const ArchiveOptions& options)
        : items_(items),
          cancel_(options.cancel),
          progress_(options.progress),
          pipeline_(items, PipelineOptionsFor(options)) {}

    // Writes every entry, as the list hands them in, and the central
    // directory; a failure that concerns an item names it in failure.
    int Write(OutputFile& out, ArchiveOutcome& failure) {
        std::vector<ZipEntry> entries;
        while (true) {
            const std::vector<const SourceItem*> known = items_.WaitFrom(entries.size(), cancel_);
            if (known.empty()) break;
            for (const SourceItem* item : known) {
                if (IsCancelled(cancel_)) return kArchiverStopped;
                ZipEntry entry = EntryFor(*item, out.Position());
                const int code = WriteEntry(*item, entry, out, failure.error);
                if (code != kArchiverOk) {
                    if (code != kArchiverCannotWrite) failure.path = DisplayPath(item->path);
                    return code;
                }
                if (out.failed()) return kArchiverCannotWrite;
                entries.push_back(std::move(entry));
                if (progress_) ++progress_->entriesDone;
            }
        }
        if (IsCancelled(cancel_) || items_.Abandoned()) return kArchiverStopped;
        const std::uint64_t centralOffset = out.Position();
        for (const ZipEntry& entry : entries) out.Append(CentralHeader(entry));
        out.Append(EndRecords(entries.size(), centralOffset, out.Position() - centralOffset));
        return out.failed() ? kArchiverCannotWrite : kArchiverOk;
    }

private:
    int WriteEntry(const SourceItem& item, ZipEntry& entry, OutputFile& out, DWORD& error) {
        const std::uint64_t blocks = BlockCount(item.size);
        if (item.isFolder || blocks == 0) {
            out.Append(LocalHeader(entry));
            return kArchiverOk;
        }
        if (blocks == 1) {
            // One block: sizes and CRC are known before the header is written.
            BlockResult block = pipeline_.Next();
            if (block.code != kArchiverOk) {
                error = block.error;
                return block.code;
            }
            Packed(block);
            entry.method = block.stored ? kMethodStored : kMethodDeflated;
            entry.crc = block.crc;
            entry.size = block.bytesRead;
            entry.compressedSize = block.data.size();
            out.Append(LocalHeader(entry));
            out.Append(block.data);
            return kArchiverOk;
        }
        // Several blocks: the header is written first and rewritten with the
        // final CRC and sizes (same length: its Zip64 choice stays).
        entry.method = kMethodDeflated;
        out.Append(LocalHeader(entry));
        for (std::uint64_t i = 0; i < blocks; ++i) {
            BlockResult block = pipeline_.Next();
            if (block.code != kArchiverOk) {
                error = block.error;
                return block.code;
            }
            Packed(block);
            entry.crc = static_cast<std::uint32_t>(
                ::crc32_combine(entry.crc, block.crc, static_cast<z_off_t>(block.bytesRead)));
            entry.size += block.bytesRead;
            entry.compressedSize += block.data.size();
            out.Append(block.data);
            if (out.failed()) return kArchiverCannotWrite;
        }
        out.Overwrite(entry.localHeaderOffset, LocalHeader(entry));
        return kArchiverOk;
    }

    void Packed(const BlockResult& block) {
        if (progress_) progress_->bytesDone += block.bytesRead;
    }

    ArchiveItems& items_;
    const std::atomic<bool>* cancel_;
    ArchiveProgress* progress_;
    BlockPipeline pipeline_;
};

ArchiveOutcome WriteArchiveOrFail(ArchiveItems& items, const std::wstring& archivePath, const ArchiveOptions& options) {
    if (options.progress) {
        options.progress->entriesDone = 0;
        options.progress->bytesDone = 0;
    }
    FileSystem& files = options.files ? *options.files : SystemFileSystem();
    ArchiveOptions used = options;
    used.files = &files;
    const std::wstring target = ExtendedLengthPath(FullPath(archivePath));
    ArchiveOutcome outcome;
    TemporaryArchive temporary(files, target, outcome.error);
    if (outcome.error != 0) return {kArchiverCannotWrite, archivePath, outcome.error};
    OutputFile out(temporary.TakeFile());
    outcome.code = ArchiveBuilder(items, used).Write(out, outcome);
    if (!out.Finish() && outcome.code == kArchiverOk) outcome.code = kArchiverCannotWrite;
    if (outcome.code == kArchiverOk && IsCancelled(options.cancel)) outcome.code = kArchiverStopped;
    if (outcome.code == kArchiverOk && options.verify) {
        if (options.onChecking) options.onChecking();
        outcome.code = CheckArchive(files, temporary.path(), items.All(), options.cancel);
    }
    if (outcome.code == kArchiverOk) {
        outcome.error = temporary.MoveTo(target);
        if (outcome.error != 0) outcome.code = kArchiverCannotWrite;
    }
    if (outcome.code == kArchiverOk) return {};
    if (outcome.path.empty()) outcome.path = archivePath;
    return outcome;
}

// Lists source into items: closes the list when the scan is whole, and
// abandons it (which stops the writer) when it fails or throws. Stops early
// once *stop is set.
SourceScan ScanInto(const std::wstring& source, FileSystem& files, const std::atomic<bool>& stop, ArchiveItems& items) {
    SourceScan scan;
    RunBehindBarrier(
        [&] {
            BatchedItems batches(items);
            scan = ScanSource(source, &stop, files, [&batches](SourceItem item) { batches.Add(std::move(item)); });
            if (scan.code == kArchiverOk) {
                batches.Close();
            } else {
                items.Abandon();
            }
        },
        [&](const std::wstring&) {
            scan = {kArchiverInternalError, source, {}};
            items.Abandon();
        });
    return scan;
}

}  // namespace

void SetArchiveTotals(const std::vector<SourceItem>& items, ArchiveProgress* progress) {
    if (!progress) return;
    std::uint64_t bytes = 0;
    for (const SourceItem& item : items) bytes += item.isFolder ? 0 : item.size;
    progress->bytesTotal = bytes;
    progress->entriesTotal = items.size();
}

ArchiveOutcome WriteArchive(ArchiveItems& items, const std::wstring& archivePath, const ArchiveOptions& options) {
    try {
        return WriteArchiveOrFail(items, archivePath, options);
    } catch (...) {
        // Memory ran out or something else unexpected: the run fails, and
        // the temporary file went with the unwinding.
        return {kArchiverInternalError, archivePath};
    }
}

ArchiveOutcome WriteArchive(const std::vector<SourceItem>& items, const std::wstring& archivePath,
                            const ArchiveOptions& options) {
    try {
        SetArchiveTotals(items, options.progress);
        ArchiveItems list(items);
        return WriteArchive(list, archivePath, options);
    } catch (...) {
        return {kArchiverInternalError, archivePath};
    }
}

ArchiveOutcome CreateArchive(const ArchiveRequest& request, const std::atomic<bool>* cancel, FileSystem& files) {
    try {
        ArchiveOptions options;
        options.threads = request.threads;
        options.shareWrite = request.shareWrite;
        options.cancel = cancel;
        options.files = &files;
        // The scan lists the tree on a thread of its own while the archive
        // is written, so that packing begins with the first entries found.
        ArchiveItems items;
        std::atomic<bool> writerEnded{false};
        SourceScan scan;
        std::thread scanner([&] { scan = ScanInto(request.sourcePath, files, writerEnded, items); });
        const ArchiveOutcome outcome = WriteArchive(items, request.archivePath, options);
        // A writer that ended early (a failure, Cancel) ends the scan too.
        writerEnded = true;
        scanner.join();
        // A source that could not be listed abandoned the list and stopped
        // the writer: the scan's failure is the one to report.
        if (scan.code != kArchiverOk && scan.code != kArchiverStopped) return {scan.code, scan.failedPath};
        return outcome;
    } catch (...) {
        return {kArchiverInternalError, request.archivePath};
    }
}
