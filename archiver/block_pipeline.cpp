#include "block_pipeline.h"

#include <algorithm>

#include <zlib.h>

#include "archiver_api.h"
#include "block_deflate.h"
#include "cancel_flag.h"
#include "handles.h"

// One file read block after block by whichever workers hold its blocks: they
// take turns in block order, so each block's dictionary is exactly the tail
// of the bytes the previous block compressed, even if another program
// changes the file meanwhile.
struct BlockPipeline::OpenFile {
    explicit OpenFile(const SourceItem& item) : item(item) {}
    const SourceItem& item;
    std::mutex lock;
    std::condition_variable turn;
    std::uint64_t nextBlock = 0;
    UniqueKernelHandle handle;
    int code = kArchiverOk;
    std::vector<std::uint8_t> tail;  // the last bytes read, up to one deflate window
};

// One block of a file.
struct BlockPipeline::Piece {
    std::shared_ptr<OpenFile> file;
    std::uint64_t block = 0;
    std::uint64_t length = 0;
    bool last = false;
    BlockResult result;
};

// What one worker takes at a time: one block of a large file, or a run of
// whole small files, so the hand-over between threads is paid per job
// rather than per file.
struct BlockPipeline::Job {
    std::vector<Piece> pieces;
    std::uint64_t bytes = 0;
    bool done = false;
};

namespace {

// Small files batched into one job: at most this many, and at most one
// block's worth of bytes.
constexpr std::size_t kMaxFilesPerJob = 64;

// Reads up to length bytes from the file's current position; stops early at
// the end of the file.
bool ReadUpTo(HANDLE file, std::uint64_t length, std::vector<std::uint8_t>& data) {
    data.resize(static_cast<std::size_t>(length));
    std::size_t filled = 0;
    while (filled < data.size()) {
        DWORD got = 0;
        if (!::ReadFile(file, data.data() + filled, static_cast<DWORD>(data.size() - filled), &got, nullptr)) {
            return false;
        }
        if (got == 0) break;
        filled += got;
    }
    data.resize(filled);
    return true;
}

void KeepTail(std::vector<std::uint8_t>& tail, const std::vector<std::uint8_t>& data) {
    tail.insert(tail.end(), data.begin(), data.end());
    if (tail.size() > kDeflateWindow) tail.erase(tail.begin(), tail.end() - kDeflateWindow);
}

}  // namespace

std::uint64_t BlockCount(std::uint64_t size) {
    return (size + kBlockSize - 1) / kBlockSize;
}

BlockPipeline::BlockPipeline(const std::vector<SourceItem>& items, const PipelineOptions& options)
    : items_(items), options_(options), maxJobs_(2 * std::max(options.workers, 1u) + 2) {
    SkipToNextBlock();
    for (unsigned i = 0; i < std::max(options.workers, 1u); ++i) workers_.emplace_back([this] { Work(); });
}

BlockPipeline::~BlockPipeline() {
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

bool BlockPipeline::HasMoreBlocks() const {
    return nextItem_ < items_.size();
}

void BlockPipeline::SkipToNextBlock() {
    while (nextItem_ < items_.size() &&
           (items_[nextItem_].isFolder || nextBlock_ == BlockCount(items_[nextItem_].size))) {
        ++nextItem_;
        nextBlock_ = 0;
    }
}

void BlockPipeline::AddNextJob() {
    auto job = std::make_unique<Job>();
    do {
        const SourceItem& item = items_[nextItem_];
        if (nextBlock_ == 0) currentFile_ = std::make_shared<OpenFile>(item);
        Piece piece;
        piece.file = currentFile_;
        piece.block = nextBlock_;
        piece.length = std::min(kBlockSize, item.size - nextBlock_ * kBlockSize);
        piece.last = nextBlock_ + 1 == BlockCount(item.size);
        job->bytes += piece.length;
        job->pieces.push_back(std::move(piece));
        ++nextBlock_;
        SkipToNextBlock();
    } while (job->pieces.back().block == 0 && job->pieces.back().last && job->pieces.size() < kMaxFilesPerJob &&
             HasMoreBlocks() && BlockCount(items_[nextItem_].size) == 1 &&
             job->bytes + items_[nextItem_].size <= kBlockSize);
    jobs_.push_back(std::move(job));
}

void BlockPipeline::Work() {
    BlockDeflater deflater;
    while (true) {
        Job* job = nullptr;
        {
            std::unique_lock guard(lock_);
            changed_.wait(guard, [this] {
                return stopping_ || claimed_ < jobs_.size() || (jobs_.size() < maxJobs_ && HasMoreBlocks()) ||
                       !HasMoreBlocks();
            });
            if (stopping_) return;
            if (claimed_ == jobs_.size()) {
                if (!HasMoreBlocks()) return;
                AddNextJob();
            }
            job = jobs_[claimed_++].get();
        }
        for (Piece& piece : job->pieces) Process(piece, deflater);
        {
            std::lock_guard guard(lock_);
            job->done = true;
        }
        changed_.notify_all();
    }
}

void BlockPipeline::Process(Piece& piece, BlockDeflater& deflater) {
    OpenFile& file = *piece.file;
    BlockResult& result = piece.result;
    std::vector<std::uint8_t> data;
    std::vector<std::uint8_t> dictionary;
    {
        std::unique_lock guard(file.lock);
        file.turn.wait(guard, [&] { return file.nextBlock == piece.block; });
        if (file.code == kArchiverOk && IsCancelled(options_.cancel)) file.code = kArchiverStopped;
        if (file.code == kArchiverOk && piece.block == 0) {
            const DWORD share = FILE_SHARE_READ | (options_.shareWrite ? FILE_SHARE_WRITE | FILE_SHARE_DELETE : 0);
            file.handle.reset(::CreateFileW(file.item.path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
            if (!file.handle) file.code = kArchiverCannotRead;
        }
        if (file.code == kArchiverOk && !ReadUpTo(file.handle.get(), piece.length, data)) {
            file.code = kArchiverCannotRead;
        }
        result.code = file.code;
        dictionary = file.tail;
        if (!piece.last) KeepTail(file.tail, data);
        if (piece.last) file.handle.reset();
        ++file.nextBlock;
    }
    file.turn.notify_all();
    if (result.code != kArchiverOk) return;

    result.bytesRead = data.size();
    result.crc = static_cast<std::uint32_t>(::crc32(0, data.data(), static_cast<uInt>(data.size())));
    if (!deflater.Compress(dictionary, data, piece.last, result.data)) {
        result.code = kArchiverInternalError;
        return;
    }
    const bool wholeFile = piece.block == 0 && piece.last;
    if (wholeFile && result.data.size() >= data.size()) {
        result.stored = true;
        result.data = std::move(data);
    }
}

BlockResult BlockPipeline::Next() {
    if (!current_ || nextPiece_ == current_->pieces.size()) {
        {
            std::unique_lock guard(lock_);
            changed_.wait(guard, [this] { return !jobs_.empty() && jobs_.front()->done; });
            current_ = std::move(jobs_.front());
            jobs_.pop_front();
            --claimed_;
        }
        changed_.notify_all();
        nextPiece_ = 0;
    }
    return std::move(current_->pieces[nextPiece_++].result);
}
