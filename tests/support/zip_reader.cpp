#include "zip_reader.h"

#include <stdexcept>

#include <zlib.h>

#include "test_files.h"

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kZip64EndLocatorSignature = 0x07064b50;

std::uint64_t Read(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
    std::uint64_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes.at(at + i);
    return value;
}

std::optional<std::vector<std::uint8_t>> Inflate(const std::uint8_t* data, std::size_t size, std::uint64_t expected) {
    std::vector<std::uint8_t> out(expected);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return std::nullopt;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool complete = result == Z_STREAM_END && stream.total_out == expected;
    inflateEnd(&stream);
    if (!complete) return std::nullopt;
    return out;
}

}  // namespace

std::optional<ZipContent> ReadZip(const std::wstring& path) {
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    if (bytes.size() < 22) return std::nullopt;
    std::size_t end = bytes.size() - 22;
    while (end > 0 && Read(bytes, end, 4) != kEndSignature) --end;
    if (Read(bytes, end, 4) != kEndSignature) return std::nullopt;
    // Archives of the unit tests stay small: a Zip64 directory is not read here.
    if (end >= 20 && Read(bytes, end - 20, 4) == kZip64EndLocatorSignature) return std::nullopt;
    const std::uint64_t count = Read(bytes, end + 10, 2);
    std::size_t at = Read(bytes, end + 16, 4);
    ZipContent content;
    try {
        for (std::uint64_t i = 0; i < count; ++i) {
            if (Read(bytes, at, 4) != kCentralSignature) return std::nullopt;
            const auto method = Read(bytes, at + 10, 2);
            const auto crc = static_cast<std::uint32_t>(Read(bytes, at + 16, 4));
            const auto packed = Read(bytes, at + 20, 4);
            const auto size = Read(bytes, at + 24, 4);
            const auto nameLength = Read(bytes, at + 28, 2);
            const auto extraLength = Read(bytes, at + 30, 2);
            const auto commentLength = Read(bytes, at + 32, 2);
            const std::size_t local = Read(bytes, at + 42, 4);
            const std::string name(bytes.begin() + at + 46, bytes.begin() + at + 46 + nameLength);
            at += 46 + nameLength + extraLength + commentLength;
            if (Read(bytes, local, 4) != kLocalSignature) return std::nullopt;
            const std::size_t data = local + 30 + Read(bytes, local + 26, 2) + Read(bytes, local + 28, 2);
            if (data + packed > bytes.size()) return std::nullopt;
            std::vector<std::uint8_t> file;
            if (method == 0) {
                file.assign(bytes.begin() + data, bytes.begin() + data + packed);
            } else {
                auto inflated = Inflate(bytes.data() + data, packed, size);
                if (!inflated) return std::nullopt;
                file = std::move(*inflated);
            }
            if (file.size() != size || crc32(0, file.data(), static_cast<uInt>(file.size())) != crc)
                return std::nullopt;
            content.order.push_back(name);
            content.entries[name] = std::move(file);
        }
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
    return content;
}
