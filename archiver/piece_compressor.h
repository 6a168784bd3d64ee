// Compression of one piece of a file: a whole small file, or one block of a
// large file. Pieces compressed on different threads join into one valid
// deflate stream, and what a piece becomes depends only on its own bytes
// (and the bytes before it), so an archive is the same for any thread count.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

// Deflate looks back at most this far: a piece primed with the 32 KiB before
// it finds the same matches a single stream would.
constexpr std::size_t kDeflateWindow = 32768;

struct PieceToCompress {
    // The bytes just before data in the file (up to 32 KiB; empty for the
    // first piece).
    std::span<const std::uint8_t> dictionary;
    std::span<const std::uint8_t> data;
    bool first = false;  // the piece starts the file
    bool last = false;   // the piece ends the file
};

class PieceCompressor {
public:
    virtual ~PieceCompressor() = default;
    // Writes piece as raw deflate (as Zip stores it) into out. A last piece
    // ends the stream; any other ends byte-aligned and not final, so the
    // next piece's output simply follows. For a whole file (first and last)
    // storeAsIs may be set instead: the file is stored, out is not used.
    // False when the compressor fails (out of memory).
    [[nodiscard]] virtual bool Compress(const PieceToCompress& piece, std::vector<std::uint8_t>& out,
                                        bool& storeAsIs) = 0;
};

// Makes the compressor of one thread.
using CompressorMaker = std::function<std::unique_ptr<PieceCompressor>()>;

// Deflate at level 6 by libdeflate, every piece in one call. libdeflate
// takes no dictionary and always ends its stream, so a block that the next
// block continues starts afresh and its stream is made to continue
// (StreamJoint); should that fail, zlib compresses the block from the
// previous block's bytes and ends it with a sync flush. Data that a quick
// trial on samples finds incompressible is stored without compressing.
std::unique_ptr<PieceCompressor> MakeDeflateCompressor();
