#include "stream_joint.h"

#include <algorithm>

namespace {

constexpr int kRawWindowBits = -15;
// data_type after inflate with Z_BLOCK: the unused bits of the last byte
// taken, whether inflate is in the stream's last block, and whether it
// stopped right after a block's end.
constexpr int kUnusedBitsMask = 7;
constexpr int kInLastBlock = 64;
constexpr int kAtBlockEnd = 128;

// The bit position inflate has reached.
std::uint64_t BitPosition(const z_stream& stream) {
    return std::uint64_t{stream.total_in} * 8 - static_cast<unsigned>(stream.data_type & kUnusedBitsMask);
}

}  // namespace

StreamJoint::StreamJoint() {
    ready_ = ::inflateInit2(&stream_, kRawWindowBits) == Z_OK;
}

StreamJoint::~StreamJoint() {
    if (ready_) ::inflateEnd(&stream_);
}

bool StreamJoint::FindLastBlock(const std::vector<std::uint8_t>& stream, std::span<const std::uint8_t> data,
                                std::uint64_t& lastStart, std::uint64_t& end) {
    if (!ready_ || ::inflateReset(&stream_) != Z_OK) return false;
    inflated_.resize(data.size() + 1);
    stream_.next_in = const_cast<Bytef*>(stream.data());
    stream_.avail_in = static_cast<uInt>(stream.size());
    stream_.next_out = inflated_.data();
    stream_.avail_out = static_cast<uInt>(inflated_.size());
    lastStart = 0;
    end = 0;
    while (true) {
        const int status = ::inflate(&stream_, Z_BLOCK);
        if (status == Z_STREAM_END) break;
        if (status != Z_OK) return false;
        // At a block's end: the last block's end, or where the next block
        // (maybe the last) starts.
        if (stream_.data_type & kAtBlockEnd)
            (stream_.data_type & kInLastBlock ? end : lastStart) = BitPosition(stream_);
    }
    return end > lastStart && stream_.total_out == data.size() &&
           std::equal(data.begin(), data.end(), inflated_.begin());
}

bool StreamJoint::MakeContinuing(std::vector<std::uint8_t>& stream, std::span<const std::uint8_t> data) {
    std::uint64_t lastStart = 0;
    std::uint64_t end = 0;
    if (!FindLastBlock(stream, data, lastStart, end)) return false;
    // A block starts with its final flag.
    const std::uint8_t finalFlag = static_cast<std::uint8_t>(1u << (lastStart % 8));
    if (!(stream[lastStart / 8] & finalFlag)) return false;
    stream[lastStart / 8] &= static_cast<std::uint8_t>(~finalFlag);
    // Cut after the last block, with zero bits up to the byte's end.
    stream.resize(static_cast<std::size_t>((end + 7) / 8));
    const unsigned usedBits = static_cast<unsigned>(end % 8);
    if (usedBits != 0) stream.back() &= static_cast<std::uint8_t>((1u << usedBits) - 1);
    // An empty stored block: three zero header bits (not final, stored),
    // zeros to the byte's end, then length 0 and its complement. The header
    // fits in the free bits of the last byte when there are three of them.
    const unsigned freeBits = usedBits == 0 ? 0 : 8 - usedBits;
    if (freeBits < 3) stream.push_back(0);
    for (std::uint8_t byte : {0x00, 0x00, 0xFF, 0xFF}) stream.push_back(byte);
    return true;
}
