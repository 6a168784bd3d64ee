// Deflate of one piece of a file, so pieces compressed on different threads
// join into one valid deflate stream.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <zlib.h>

// Deflate looks back at most this far: a piece primed with the 32 KiB before
// it finds the same matches a single stream would.
constexpr std::size_t kDeflateWindow = 32768;

class BlockDeflater {
public:
    BlockDeflater();
    ~BlockDeflater();
    BlockDeflater(const BlockDeflater&) = delete;
    BlockDeflater& operator=(const BlockDeflater&) = delete;

    // Compresses data at level 6 with a shorter match search into out (raw
    // deflate, as Zip stores it).
    // dictionary holds the bytes just before data (empty for a file's first
    // piece). A piece that is not last ends with a sync flush: byte aligned,
    // not final, so the next piece's bytes simply follow. Returns false when
    // zlib fails (out of memory).
    [[nodiscard]] bool Compress(std::span<const std::uint8_t> dictionary, std::span<const std::uint8_t> data, bool last,
                                std::vector<std::uint8_t>& out);

private:
    z_stream stream_{};
    bool ready_ = false;
};
