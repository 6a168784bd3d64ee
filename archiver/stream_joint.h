// Turns a complete raw deflate stream into one that the next piece's stream
// continues: its last block is made not final and an empty stored block
// (what zlib's sync flush writes) aligns its end to a byte.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <zlib.h>

class StreamJoint {
public:
    StreamJoint();
    ~StreamJoint();
    StreamJoint(const StreamJoint&) = delete;
    StreamJoint& operator=(const StreamJoint&) = delete;

    // stream is a complete stream of data. zlib's inflate walks it block by
    // block, which gives the bit where its last block starts (that block's
    // final flag) and the bit where it ends, and checks on the way that it
    // inflates to exactly data. False, with stream unchanged, when it does
    // not or when inflate fails.
    [[nodiscard]] bool MakeContinuing(std::vector<std::uint8_t>& stream, std::span<const std::uint8_t> data);

private:
    // Where the last block starts and the stream ends, in bits.
    [[nodiscard]] bool FindLastBlock(const std::vector<std::uint8_t>& stream, std::span<const std::uint8_t> data,
                                     std::uint64_t& lastStart, std::uint64_t& end);

    z_stream stream_{};
    bool ready_ = false;
    std::vector<std::uint8_t> inflated_;
};
