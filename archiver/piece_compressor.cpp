#include "piece_compressor.h"

#include <algorithm>

#include <libdeflate.h>

#include "block_deflate.h"
#include "stream_joint.h"

namespace {

constexpr int kLevel = 6;
constexpr int kTrialLevel = 1;
// Samples of this size, spread evenly from the start to the end.
constexpr std::size_t kSampleSize = 4 * 1024;
constexpr std::size_t kSamples = 8;
// Data up to this size is compressed whole, not judged on samples.
constexpr std::size_t kSampledFrom = 64 * 1024;
// A sample that shrinks to more than 49/50 of its size counts as incompressible.
constexpr std::size_t kKeptParts = 49;
constexpr std::size_t kParts = 50;
// A deflate stored block holds at most this many bytes.
constexpr std::size_t kMaxStoredBlock = 65535;

struct CompressorFree {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};
using UniqueCompressor = std::unique_ptr<libdeflate_compressor, CompressorFree>;

// The data as deflate stored blocks: starts and ends byte-aligned, final
// only when last.
void StoredBlocks(std::span<const std::uint8_t> data, bool last, std::vector<std::uint8_t>& out) {
    out.clear();
    out.reserve(data.size() + (data.size() / kMaxStoredBlock + 1) * 5);
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(kMaxStoredBlock, data.size() - at);
        const bool final = last && at + length == data.size();
        out.push_back(final ? 1 : 0);  // BFINAL, BTYPE 00, then padding to the byte
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), data.begin() + at, data.begin() + at + length);
        at += length;
    } while (at < data.size());
}

// One compressor per thread: libdeflate's tables and zlib's stream are
// allocated once and reused for every piece.
class DeflateCompressor final : public PieceCompressor {
public:
    DeflateCompressor()
        : whole_(libdeflate_alloc_compressor(kLevel)), trial_(libdeflate_alloc_compressor(kTrialLevel)) {}

    bool Compress(const PieceToCompress& piece, std::vector<std::uint8_t>& out, bool& storeAsIs) override {
        storeAsIs = false;
        const bool incompressible = LooksIncompressible(piece.data);
        if (piece.first && piece.last) {
            if (incompressible) {
                storeAsIs = true;
                return true;
            }
            return CompressWhole(piece.data, out, storeAsIs);
        }
        if (incompressible || piece.data.empty()) {
            StoredBlocks(piece.data, piece.last, out);
            return true;
        }
        if (piece.last) return CompressFinal(piece.data, out);
        return CompressContinuing(piece, out);
    }

private:
    // Whether data would not shrink worth the time: every one of a few
    // samples, compressed fast, saves less than a fiftieth. (One sample that
    // compresses is enough to try the whole: data laid end to end from many
    // files mixes both kinds.) Short data is never judged so: trying it
    // whole costs little.
    bool LooksIncompressible(std::span<const std::uint8_t> data) {
        if (data.size() <= kSampledFrom || !trial_) return false;
        std::uint8_t out[kSampleSize];
        for (std::size_t i = 0; i < kSamples; ++i) {
            const std::size_t start = (data.size() - kSampleSize) * i / (kSamples - 1);
            const std::size_t size =
                libdeflate_deflate_compress(trial_.get(), data.data() + start, kSampleSize, out, sizeof out);
            // 0: no room, the sample grew.
            if (size != 0 && size * kParts <= kSampleSize * kKeptParts) return false;
        }
        return true;
    }

    // Stored when deflate does not make the file smaller: the output space
    // ends one byte short of the file's size, and libdeflate gives up there.
    bool CompressWhole(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out, bool& storeAsIs) {
        if (!whole_) return false;
        if (data.size() <= 1) {
            storeAsIs = true;
            return true;
        }
        out.resize(data.size() - 1);
        const std::size_t size =
            libdeflate_deflate_compress(whole_.get(), data.data(), data.size(), out.data(), out.size());
        out.resize(size);
        storeAsIs = size == 0;
        return true;
    }

    // A block of a large file as a stream of its own, without the previous
    // block's bytes (libdeflate takes none): at most the first few matches
    // of a block of a mebibyte are lost.
    bool CompressFinal(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) {
        if (!whole_) return false;
        out.resize(libdeflate_deflate_compress_bound(whole_.get(), data.size()));
        const std::size_t size =
            libdeflate_deflate_compress(whole_.get(), data.data(), data.size(), out.data(), out.size());
        out.resize(size);
        return size != 0;
    }

    // A block that the next block continues: libdeflate's final stream,
    // made to continue. Should that ever fail, zlib compresses the block
    // from the previous block's bytes and ends it with a sync flush.
    bool CompressContinuing(const PieceToCompress& piece, std::vector<std::uint8_t>& out) {
        if (CompressFinal(piece.data, out) && joint_.MakeContinuing(out, piece.data)) return true;
        return continuing_.Compress(piece.dictionary, piece.data, out);
    }

    UniqueCompressor whole_;
    UniqueCompressor trial_;
    StreamJoint joint_;
    BlockDeflater continuing_;
};

}  // namespace

std::unique_ptr<PieceCompressor> MakeDeflateCompressor() {
    return std::make_unique<DeflateCompressor>();
}
