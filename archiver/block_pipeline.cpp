#include "block_pipeline.h"

#include <algorithm>
#include <chrono>

#include <libdeflate.h>

#include "archiver_api.h"
#include "cancel_flag.h"
#include "handles.h"

// One file read block after block by whichever threads hold its blocks:
// they take turns in block order, so each block's dictionary is exactly the
// tail of the bytes the previous block read, even if another program changes
// the file meanwhile.
struct BlockPipeline::OpenFile {
    explicit OpenFile(const SourceItem& item) : item(item) {}
    const SourceItem& item;
    std::mutex lock;
    std::condition_variable turn;
    std::uint64_t nextBlock = 0;
    UniqueKernelHandle handle;
    int code = kArchiverOk;
    DWORD error = 0;
    std::vector<std::uint8_t> tail;  // the last bytes read, up to one deflate window
};

// One block of a file; data and dictionary are held from reading until
// compressing.
struct BlockPipeline::Piece {
    std::shared_ptr<OpenFile> file;
    std::uint64_t block = 0;
    std::uint64_t length = 0;
    bool last = false;
    std::vector<std::uint8_t> data;
    std::vector<std::uint8_t> dictionary;
    BlockResult result;
};

// A job goes through these stages in order; Next takes it once done.
enum class BlockPipeline::Stage : unsigned char { kReading, kRead, kCompressing, kDone };

// What one thread takes at a time: one block of a large file, or a run of
// whole small files, so the hand-over between threads is paid per job
// rather than per file.
struct BlockPipeline::Job {
    std::vector<Piece> pieces;
    std::uint64_t bytes = 0;
    Stage stage = Stage::kReading;
};

namespace {

// Small files batched into one job: at most this many, and at most one
// block's worth of bytes.
constexpr std::size_t kMaxFilesPerJob = 64;

// A thread waiting for its turn at a file looks this often whether the
// pipeline has failed meanwhile (a turn is normally handed on at once).
constexpr auto kTurnCheck = std::chrono::milliseconds(50);

// Reads up to length bytes from the file's current position; stops early at
// the end of the file. 0 or the error.
DWORD ReadUpTo(HANDLE file, std::uint64_t length, std::vector<std::uint8_t>& data) {
    data.resize(static_cast<std::size_t>(length));
    std::size_t filled = 0;
    while (filled < data.size()) {
        DWORD got = 0;
        if (!::ReadFile(file, data.data() + filled, static_cast<DWORD>(data.size() - filled), &got, nullptr)) {
            return ::GetLastError();
        }
        if (got == 0) break;
        filled += got;
    }
    data.resize(filled);
    return 0;
}

void KeepTail(std::vector<std::uint8_t>& tail, const std::vector<std::uint8_t>& data) {
    tail.insert(tail.end(), data.begin(), data.end());
    if (tail.size() > kDeflateWindow) tail.erase(tail.begin(), tail.end() - kDeflateWindow);
}

}  // namespace

std::uint64_t BlockCount(std::uint64_t size) {
    return (size + kBlockSize - 1) / kBlockSize;
}

BlockPipeline::BlockPipeline(ArchiveItems& items, const PipelineOptions& options)
    : items_(items), options_(options), maxJobs_(2 * (std::max(options.workers, 1u) + options.readers) + 2) {
    // An entry added, the list closed or abandoned: waiting threads look again.
    items_.Listen([this] {
        { std::lock_guard guard(lock_); }
        changed_.notify_all();
    });
    try {
        for (unsigned i = 0; i < options.readers; ++i)
            threads_.emplace_back([this] { Guarded(&BlockPipeline::ReadLoop); });
        for (unsigned i = 0; i < std::max(options.workers, 1u); ++i)
            threads_.emplace_back([this] { Guarded(&BlockPipeline::CompressLoop); });
    } catch (...) {
        // No thread could be started: the ones that run are stopped before
        // the failure goes on to the caller.
        items_.Listen({});
        Stop();
        throw;
    }
}

BlockPipeline::~BlockPipeline() {
    items_.Listen({});
    Stop();
}

void BlockPipeline::Stop() {
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) {
        if (thread.joinable()) thread.join();
    }
}

void BlockPipeline::Guarded(void (BlockPipeline::*loop)()) {
    try {
        (this->*loop)();
    } catch (...) {
        // Whatever the thread met (an allocation that failed, anything
        // thrown) fails the archive instead of ending the process.
        Fail();
    }
}

void BlockPipeline::Fail() {
    {
        std::lock_guard guard(lock_);
        failure_ = kArchiverInternalError;
        failed_ = true;
    }
    changed_.notify_all();
}

const SourceItem* BlockPipeline::NextBlockItem() {
    for (;;) {
        const SourceItem* item = items_.Peek(nextItem_).item;
        if (!item || (!item->isFolder && nextBlock_ < BlockCount(item->size))) return item;
        ++nextItem_;
        nextBlock_ = 0;
    }
}

bool BlockPipeline::BlocksEnded() {
    return !NextBlockItem() && items_.Peek(nextItem_).final;
}

void BlockPipeline::AddNextJob() {
    auto job = std::make_unique<Job>();
    const SourceItem* item = NextBlockItem();
    do {
        if (nextBlock_ == 0) currentFile_ = std::make_shared<OpenFile>(*item);
        Piece piece;
        piece.file = currentFile_;
        piece.block = nextBlock_;
        piece.length = std::min(kBlockSize, item->size - nextBlock_ * kBlockSize);
        piece.last = nextBlock_ + 1 == BlockCount(item->size);
        job->bytes += piece.length;
        job->pieces.push_back(std::move(piece));
        ++nextBlock_;
        item = NextBlockItem();
    } while (job->pieces.back().block == 0 && job->pieces.back().last && job->pieces.size() < kMaxFilesPerJob && item &&
             BlockCount(item->size) == 1 && job->bytes + item->size <= kBlockSize);
    jobs_.push_back(std::move(job));
}

BlockPipeline::Job* BlockPipeline::ClaimToRead() {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [this] { return Ending() || BlocksEnded() || (jobs_.size() < maxJobs_ && NextBlockItem()); });
    if (Ending() || !NextBlockItem()) return nullptr;
    AddNextJob();
    return jobs_.back().get();
}

BlockPipeline::Job* BlockPipeline::ClaimToCompress() {
    std::unique_lock guard(lock_);
    Job* found = nullptr;
    changed_.wait(guard, [&] {
        if (Ending()) return true;
        for (const std::unique_ptr<Job>& job : jobs_) {
            if (job->stage == Stage::kRead) {
                found = job.get();
                return true;
            }
        }
        return ReadingIsOver();
    });
    if (Ending() || !found) return nullptr;
    found->stage = Stage::kCompressing;
    return found;
}

bool BlockPipeline::ReadingIsOver() {
    if (!BlocksEnded()) return false;
    for (const std::unique_ptr<Job>& job : jobs_) {
        if (job->stage == Stage::kReading) return false;
    }
    return true;
}

void BlockPipeline::Finish(Job& job, Stage stage) {
    {
        std::lock_guard guard(lock_);
        job.stage = stage;
    }
    changed_.notify_all();
}

void BlockPipeline::ReadLoop() {
    while (Job* job = ClaimToRead()) {
        for (Piece& piece : job->pieces) Read(piece);
        Finish(*job, Stage::kRead);
    }
}

void BlockPipeline::CompressLoop() {
    const std::unique_ptr<PieceCompressor> compressor =
        options_.makeCompressor ? options_.makeCompressor() : MakeDeflateCompressor();
    if (!compressor) return Fail();
    const bool readsItself = options_.readers == 0;
    while (Job* job = readsItself ? ClaimToRead() : ClaimToCompress()) {
        for (Piece& piece : job->pieces) {
            if (readsItself) Read(piece);
            Compress(piece, *compressor);
        }
        Finish(*job, Stage::kDone);
    }
}

void BlockPipeline::Read(Piece& piece) {
    OpenFile& file = *piece.file;
    {
        std::unique_lock guard(file.lock);
        // Bounded, so that a wait ends when the pipeline has failed.
        while (!file.turn.wait_for(guard, kTurnCheck, [&] { return file.nextBlock == piece.block || failed_; })) {
        }
        if (file.nextBlock != piece.block) {
            piece.result.code = kArchiverInternalError;
            return;
        }
        try {
            ReadInTurn(file, piece);
        } catch (...) {
            // The turn passes on even so: the file's later blocks fail too.
            file.code = kArchiverInternalError;
            ++file.nextBlock;
            guard.unlock();
            file.turn.notify_all();
            throw;
        }
        ++file.nextBlock;
    }
    file.turn.notify_all();
}

void BlockPipeline::ReadInTurn(OpenFile& file, Piece& piece) {
    if (file.code == kArchiverOk && (IsCancelled(options_.cancel) || items_.Abandoned())) file.code = kArchiverStopped;
    if (file.code == kArchiverOk && piece.block == 0) {
        const DWORD share = FILE_SHARE_READ | (options_.shareWrite ? FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0);
        file.handle = options_.files->Open(file.item.path, GENERIC_READ, share, OPEN_EXISTING,
                                           FILE_FLAG_SEQUENTIAL_SCAN, file.error);
        if (!file.handle) file.code = kArchiverCannotRead;
    }
    if (file.code == kArchiverOk) {
        file.error = ReadUpTo(file.handle.get(), piece.length, piece.data);
        if (file.error != 0) file.code = kArchiverCannotRead;
    }
    piece.result.code = file.code;
    piece.result.error = file.error;
    piece.dictionary = file.tail;
    if (!piece.last) KeepTail(file.tail, piece.data);
    if (piece.last) file.handle.reset();
}

void BlockPipeline::Compress(Piece& piece, PieceCompressor& compressor) {
    BlockResult& result = piece.result;
    std::vector<std::uint8_t> data = std::move(piece.data);
    const std::vector<std::uint8_t> dictionary = std::move(piece.dictionary);
    if (result.code != kArchiverOk) return;

    result.bytesRead = data.size();
    result.crc = libdeflate_crc32(0, data.data(), data.size());
    bool storeAsIs = false;
    if (!compressor.Compress({dictionary, data, piece.block == 0, piece.last}, result.data, storeAsIs)) {
        result.code = kArchiverInternalError;
        return;
    }
    if (storeAsIs) {
        result.stored = true;
        result.data = std::move(data);
    }
}

BlockResult BlockPipeline::Next() {
    if (!current_ || nextPiece_ == current_->pieces.size()) {
        {
            std::unique_lock guard(lock_);
            const auto frontDone = [this] { return !jobs_.empty() && jobs_.front()->stage == Stage::kDone; };
            changed_.wait(guard, [&] { return frontDone() || failure_ != kArchiverOk || items_.Abandoned(); });
            // A thread failed before the next result was ready: the archive
            // fails; the list was abandoned: it stops.
            if (!frontDone()) {
                BlockResult failed;
                failed.code = failure_ != kArchiverOk ? failure_ : kArchiverStopped;
                return failed;
            }
            current_ = std::move(jobs_.front());
            jobs_.pop_front();
        }
        changed_.notify_all();
        nextPiece_ = 0;
    }
    return std::move(current_->pieces[nextPiece_++].result);
}
