#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include <libdeflate.h>
#include <zlib.h>

#include "piece_compressor.h"
#include "stream_joint.h"

namespace {

std::vector<std::uint8_t> Noise(std::size_t size, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
    return bytes;
}

std::vector<std::uint8_t> Text(std::size_t size) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t line = 0; bytes.size() < size; ++line) {
        const std::string text = "line " + std::to_string(line * 7919 % 1000) + " of some compressible text\n";
        bytes.insert(bytes.end(), text.begin(), text.end());
    }
    bytes.resize(size);
    return bytes;
}

// Raw inflate of a whole stream; empty when it is not one valid, final stream.
std::vector<std::uint8_t> Inflate(const std::vector<std::uint8_t>& stream, std::size_t size) {
    std::vector<std::uint8_t> out(size + 1);
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) return {};
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&z, Z_FINISH);
    const bool whole = status == Z_STREAM_END && z.avail_in == 0;
    out.resize(out.size() - z.avail_out);
    inflateEnd(&z);
    return whole ? out : std::vector<std::uint8_t>{};
}

// Compresses data cut into pieces of pieceSize, each on a compressor of its
// own (as on different threads), and joins the outputs.
std::vector<std::uint8_t> CompressInPieces(const std::vector<std::uint8_t>& data, std::size_t pieceSize) {
    std::vector<std::uint8_t> stream;
    for (std::size_t at = 0; at < data.size(); at += pieceSize) {
        const std::size_t length = std::min(pieceSize, data.size() - at);
        const std::size_t window = std::min<std::size_t>(at, kDeflateWindow);
        PieceToCompress piece{
            {data.data() + at - window, window}, {data.data() + at, length}, at == 0, at + length == data.size()};
        std::vector<std::uint8_t> out;
        bool storeAsIs = true;
        EXPECT_TRUE(MakeDeflateCompressor()->Compress(piece, out, storeAsIs));
        EXPECT_FALSE(storeAsIs);  // only a whole file is stored as it is
        stream.insert(stream.end(), out.begin(), out.end());
    }
    return stream;
}

}  // namespace

TEST(PieceCompressor, PiecesOfTextNoiseAndBothJoinIntoOneStream) {
    std::vector<std::uint8_t> mixed = Text(1 << 20);
    const std::vector<std::uint8_t> noise = Noise((1 << 20) + 3000, 7);
    mixed.insert(mixed.end(), noise.begin(), noise.end());
    const std::vector<std::uint8_t> tail = Text(700000);
    mixed.insert(mixed.end(), tail.begin(), tail.end());
    const struct {
        const char* name;
        std::vector<std::uint8_t> data;
    } cases[] = {{"text", Text(3 << 20)}, {"noise", Noise(3 << 20, 3)}, {"mixed", mixed}};
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> stream = CompressInPieces(c.data, 1 << 20);
        EXPECT_TRUE(Inflate(stream, c.data.size()) == c.data) << c.name;
        // Noise costs a few bytes per 64 KiB stored block, no more.
        EXPECT_LT(stream.size(), c.data.size() + c.data.size() / 1000) << c.name;
    }
}

TEST(PieceCompressor, AWholeFileIsStoredWhenDeflateDoesNotShrinkIt) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> data;
        bool stored;
    } cases[] = {
        {"small noise, tried whole", Noise(20000, 1), true},
        {"large noise, judged on samples", Noise(900000, 2), true},
        {"one byte", {'x'}, true},
        {"small text", Text(20000), false},
        {"large text", Text(900000), false},
    };
    const auto compressor = MakeDeflateCompressor();
    for (const auto& c : cases) {
        std::vector<std::uint8_t> out;
        bool storeAsIs = false;
        ASSERT_TRUE(compressor->Compress({{}, c.data, true, true}, out, storeAsIs)) << c.name;
        EXPECT_EQ(storeAsIs, c.stored) << c.name;
        if (!c.stored) {
            EXPECT_TRUE(Inflate(out, c.data.size()) == c.data) << c.name;
        }
    }
}

namespace {

std::vector<std::uint8_t> Libdeflate(const std::vector<std::uint8_t>& data) {
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(6);
    std::vector<std::uint8_t> out(libdeflate_deflate_compress_bound(compressor, data.size()));
    out.resize(libdeflate_deflate_compress(compressor, data.data(), data.size(), out.data(), out.size()));
    libdeflate_free_compressor(compressor);
    return out;
}

}  // namespace

TEST(StreamJoint, FinalStreamsOfEveryKindContinueIntoTheNextPiece) {
    std::vector<std::vector<std::uint8_t>> inputs = {Text(1 << 20), Noise(1 << 20, 5), {'a'}};
    // Short inputs of every length end at every bit of a byte.
    for (std::size_t length = 1; length < 200; ++length) inputs.push_back(Noise(length, length % 7 == 0 ? 1 : 2));
    for (std::size_t length = 1; length < 200; ++length) inputs.push_back(Text(length * 13));
    const std::vector<std::uint8_t> tail = Text(5000);
    StreamJoint joint;
    for (const std::vector<std::uint8_t>& data : inputs) {
        std::vector<std::uint8_t> stream = Libdeflate(data);
        ASSERT_TRUE(joint.MakeContinuing(stream, data)) << data.size();
        const std::vector<std::uint8_t> next = Libdeflate(tail);
        stream.insert(stream.end(), next.begin(), next.end());
        std::vector<std::uint8_t> expected = data;
        expected.insert(expected.end(), tail.begin(), tail.end());
        ASSERT_TRUE(Inflate(stream, expected.size()) == expected) << data.size();
    }
}

TEST(StreamJoint, AStreamThatDoesNotInflateToTheDataIsLeftAlone) {
    const std::vector<std::uint8_t> data = Text(10000);
    std::vector<std::uint8_t> stream = Libdeflate(data);
    const std::vector<std::uint8_t> original = stream;
    std::vector<std::uint8_t> other = data;
    other[5000] ^= 1;
    StreamJoint joint;
    EXPECT_FALSE(joint.MakeContinuing(stream, other));
    EXPECT_EQ(stream, original);
    stream.resize(stream.size() / 2);  // broken off
    EXPECT_FALSE(joint.MakeContinuing(stream, data));
}
