// Reads and compresses the files of an archive on several threads, block by
// block, and hands the results back in archive order.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "archive_items.h"
#include "file_system.h"
#include "piece_compressor.h"
#include "source_tree.h"

// A file is cut into blocks of this size, compressed in parallel.
constexpr std::uint64_t kBlockSize = 1 << 20;

// How many blocks a file of this size is cut into (none for an empty file).
std::uint64_t BlockCount(std::uint64_t size);

struct BlockResult {
    int code = 0;     // kArchiverOk, or why the block has no data
    DWORD error = 0;  // the system's error behind a failed open or read
    std::vector<std::uint8_t> data;
    std::uint32_t crc = 0;        // CRC-32 of the bytes read
    std::uint64_t bytesRead = 0;  // fewer than planned when the file shrank
    bool stored = false;          // a whole file kept as it is: deflate did not make it smaller
};

struct PipelineOptions {
    unsigned workers = 1;
    // Threads that only open and read files, so the compressing workers do
    // not wait on the file system. 0: each worker reads its own jobs.
    unsigned readers = 0;
    bool shareWrite = false;  // open files others are writing (-ssw)
    const std::atomic<bool>* cancel = nullptr;
    FileSystem* files = &SystemFileSystem();  // opens the files
    CompressorMaker makeCompressor;           // empty: MakeDeflateCompressor
};

class BlockPipeline {
public:
    // items must outlive the pipeline; only files with a size take part.
    // Entries added to items meanwhile are taken in turn; the pipeline ends
    // with the list, and stops when it is abandoned.
    BlockPipeline(ArchiveItems& items, const PipelineOptions& options);
    ~BlockPipeline();
    BlockPipeline(const BlockPipeline&) = delete;
    BlockPipeline& operator=(const BlockPipeline&) = delete;

    // The next block in archive order (the files' blocks, file by file);
    // waits until it is ready. When a thread has failed (anything thrown in
    // it, an allocation that failed), a result with kArchiverInternalError
    // comes instead of what is not ready; when the list was abandoned, one
    // with kArchiverStopped.
    BlockResult Next();

private:
    struct OpenFile;
    struct Piece;
    struct Job;
    enum class Stage : unsigned char;

    // The file the next block comes from, once it is in the list; moves the
    // job source past folders, empty files and finished files first.
    const SourceItem* NextBlockItem();
    // No block will come any more: the list ended, or was abandoned.
    bool BlocksEnded();
    void AddNextJob();
    // The next job in archive order, once there is room for it; null when
    // there is none left or the pipeline stops.
    Job* ClaimToRead();
    // The oldest job whose reading is done; null when none will come.
    Job* ClaimToCompress();
    bool ReadingIsOver();
    bool Ending() const { return stopping_ || failure_ != 0; }
    void Finish(Job& job, Stage stage);
    // Every thread's entry: its loop, with one barrier that turns anything
    // thrown into a failed pipeline.
    void Guarded(void (BlockPipeline::*loop)());
    void Fail();
    void Stop();
    void ReadLoop();
    void CompressLoop();
    void Read(Piece& piece);
    void ReadInTurn(OpenFile& file, Piece& piece);
    void Compress(Piece& piece, PieceCompressor& compressor);

    ArchiveItems& items_;
    const PipelineOptions options_;
    // Blocks in flight at most: memory stays bounded however large the files.
    const std::size_t maxJobs_;

    std::mutex lock_;
    std::condition_variable changed_;
    bool stopping_ = false;
    int failure_ = 0;  // kArchiverInternalError once a thread has failed
    // The same, for threads waiting at a file rather than on lock_.
    std::atomic<bool> failed_{false};
    // Jobs made and not yet taken by Next, oldest first; a job is made when
    // a thread takes it for reading, so reading starts in archive order.
    std::deque<std::unique_ptr<Job>> jobs_;
    // Where the next job comes from, once NextBlockItem has moved it past
    // what has no block left.
    std::size_t nextItem_ = 0;
    std::uint64_t nextBlock_ = 0;
    std::shared_ptr<OpenFile> currentFile_;

    // The job Next is handing out, piece by piece (the writer's side only).
    std::unique_ptr<Job> current_;
    std::size_t nextPiece_ = 0;

    std::vector<std::thread> threads_;
};
