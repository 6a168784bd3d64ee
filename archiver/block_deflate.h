// zlib's deflate of a block of a large file that the next block continues:
// primed with the bytes before it and ended with a sync flush, so blocks
// compressed on different threads join into one valid deflate stream.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <zlib.h>

class BlockDeflater {
public:
    BlockDeflater();
    ~BlockDeflater();
    BlockDeflater(const BlockDeflater&) = delete;
    BlockDeflater& operator=(const BlockDeflater&) = delete;

    // Compresses data at level 6 with a shorter match search into out (raw
    // deflate, as Zip stores it). dictionary holds the bytes just before
    // data (empty for a file's first block). The output ends with a sync
    // flush: byte aligned, not final, so the next block's bytes simply
    // follow. Returns false when zlib fails (out of memory).
    [[nodiscard]] bool Compress(std::span<const std::uint8_t> dictionary, std::span<const std::uint8_t> data,
                                std::vector<std::uint8_t>& out);

private:
    z_stream stream_{};
    bool ready_ = false;
};
