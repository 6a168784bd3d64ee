#include "archive_check.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include <zlib.h>

#include "archiver_api.h"
#include "cancel_flag.h"
#include "disk_reader.h"
#include "zip_records.h"

namespace {

constexpr std::size_t kEndRecordBytes = 22;
constexpr std::size_t kZip64LocatorBytes = 20;
constexpr std::size_t kLocalHeaderBytes = 30;
constexpr std::size_t kCentralHeaderBytes = 46;
constexpr std::size_t kInflatePieceBytes = 1 << 18;

struct CentralEntry {
    std::string name;
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
};

std::uint64_t Get(const std::uint8_t* at, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | at[i];
    return value;
}

// Reads `size` bytes at `offset` of an open file.
bool ReadAt(HANDLE file, std::uint64_t offset, std::vector<std::uint8_t>& out, std::size_t size) {
    out.resize(size);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return false;
    std::size_t done = 0;
    while (done < size) {
        DWORD read = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1 << 24));
        if (!::ReadFile(file, out.data() + done, want, &read, nullptr) || read == 0) return false;
        done += read;
    }
    return true;
}

// Where the central directory lies and how many entries it holds.
struct Directory {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint64_t entries = 0;
};

std::optional<Directory> FindDirectory(HANDLE file, std::uint64_t fileSize) {
    if (fileSize < kEndRecordBytes) return std::nullopt;
    // The end record has no comment in our archives: it is the last 22 bytes.
    std::vector<std::uint8_t> end;
    if (!ReadAt(file, fileSize - kEndRecordBytes, end, kEndRecordBytes) || Get(end.data(), 4) != kEndSignature)
        return std::nullopt;
    Directory directory{Get(end.data() + 16, 4), Get(end.data() + 12, 4), Get(end.data() + 10, 2)};
    if (fileSize < kEndRecordBytes + kZip64LocatorBytes) return directory;
    std::vector<std::uint8_t> locator;
    if (!ReadAt(file, fileSize - kEndRecordBytes - kZip64LocatorBytes, locator, kZip64LocatorBytes))
        return std::nullopt;
    if (Get(locator.data(), 4) != kZip64LocatorSignature) return directory;
    std::vector<std::uint8_t> end64;
    if (!ReadAt(file, Get(locator.data() + 8, 8), end64, 56) || Get(end64.data(), 4) != kZip64EndSignature)
        return std::nullopt;
    return Directory{Get(end64.data() + 48, 8), Get(end64.data() + 40, 8), Get(end64.data() + 32, 8)};
}

// The Zip64 field replaces, in this order, the size, the compressed size and
// the offset that hold 0xFFFFFFFF.
void ApplyZip64(const std::uint8_t* extra, std::size_t length, CentralEntry& entry) {
    std::size_t at = 0;
    while (at + 4 <= length) {
        const auto id = Get(extra + at, 2);
        const auto size = Get(extra + at + 2, 2);
        if (at + 4 + size > length) return;
        if (id == kZip64FieldId) {
            const std::uint8_t* field = extra + at + 4;
            std::size_t used = 0;
            for (std::uint64_t* value : {&entry.size, &entry.compressedSize, &entry.offset}) {
                if (*value != kZip32Limit || used + 8 > size) continue;
                *value = Get(field + used, 8);
                used += 8;
            }
        }
        at += 4 + size;
    }
}

std::optional<std::vector<CentralEntry>> ReadDirectory(HANDLE file, const Directory& directory) {
    std::vector<std::uint8_t> bytes;
    if (!ReadAt(file, directory.offset, bytes, static_cast<std::size_t>(directory.size))) return std::nullopt;
    std::vector<CentralEntry> entries;
    std::size_t at = 0;
    for (std::uint64_t i = 0; i < directory.entries; ++i) {
        if (at + kCentralHeaderBytes > bytes.size() || Get(&bytes[at], 4) != kCentralSignature) return std::nullopt;
        const std::uint8_t* header = &bytes[at];
        CentralEntry entry;
        entry.method = static_cast<std::uint16_t>(Get(header + 10, 2));
        entry.crc = static_cast<std::uint32_t>(Get(header + 16, 4));
        entry.compressedSize = Get(header + 20, 4);
        entry.size = Get(header + 24, 4);
        const std::size_t nameLength = Get(header + 28, 2);
        const std::size_t extraLength = Get(header + 30, 2);
        const std::size_t commentLength = Get(header + 32, 2);
        entry.offset = Get(header + 42, 4);
        if (at + kCentralHeaderBytes + nameLength + extraLength > bytes.size()) return std::nullopt;
        entry.name.assign(reinterpret_cast<const char*>(header + kCentralHeaderBytes), nameLength);
        ApplyZip64(header + kCentralHeaderBytes + nameLength, extraLength, entry);
        entries.push_back(std::move(entry));
        at += kCentralHeaderBytes + nameLength + extraLength + commentLength;
    }
    return entries;
}

// An inflate stream of raw deflate data, ended on every way out.
class Inflater {
public:
    Inflater() { ready_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
    ~Inflater() {
        if (ready_) inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    bool ready() const { return ready_; }
    bool ended() const { return ended_; }

    // Inflates a piece of the data, handing what comes out to `take`. False
    // when the data is broken or goes on past the end of the stream.
    template <typename Take>
    bool Feed(std::span<const std::uint8_t> piece, std::vector<std::uint8_t>& out, Take take) {
        if (ended_) return piece.empty();
        stream_.next_in = const_cast<Bytef*>(piece.data());
        stream_.avail_in = static_cast<uInt>(piece.size());
        do {
            stream_.next_out = out.data();
            stream_.avail_out = static_cast<uInt>(out.size());
            const int result = inflate(&stream_, Z_NO_FLUSH);
            const std::size_t produced = out.size() - stream_.avail_out;
            take(std::span<const std::uint8_t>(out.data(), produced));
            if (result == Z_STREAM_END) {
                ended_ = true;
                return stream_.avail_in == 0;
            }
            if (result != Z_OK && !(result == Z_BUF_ERROR && produced > 0)) return false;
        } while (stream_.avail_in > 0 || stream_.avail_out == 0);
        return true;
    }

private:
    z_stream stream_{};
    bool ready_ = false;
    bool ended_ = false;
};

// Reads one entry's data from the reader (standing at its local header) and
// checks its CRC-32 and size.
int CheckEntry(DiskReader& reader, const CentralEntry& entry, const std::atomic<bool>* cancel) {
    if (reader.position() != entry.offset) return kArchiverBadArchive;
    std::array<std::uint8_t, kLocalHeaderBytes> local;
    if (!reader.ReadExactly(local) || Get(local.data(), 4) != kLocalSignature) return kArchiverBadArchive;
    if (!reader.Skip(Get(local.data() + 26, 2) + Get(local.data() + 28, 2))) return kArchiverBadArchive;
    const bool deflated = entry.method == kMethodDeflated;
    Inflater inflater;
    if (deflated && !inflater.ready()) return kArchiverInternalError;
    std::vector<std::uint8_t> out(deflated ? kInflatePieceBytes : 0);
    std::uint32_t crc = 0;
    std::uint64_t size = 0;
    const auto take = [&](std::span<const std::uint8_t> bytes) {
        crc = static_cast<std::uint32_t>(crc32(crc, bytes.data(), static_cast<uInt>(bytes.size())));
        size += bytes.size();
    };
    for (std::uint64_t left = entry.compressedSize; left > 0;) {
        if (IsCancelled(cancel)) return kArchiverStopped;
        const auto piece = reader.Next(static_cast<std::size_t>(std::min<std::uint64_t>(left, kInflatePieceBytes)));
        if (piece.empty()) return kArchiverBadArchive;
        left -= piece.size();
        if (!deflated)
            take(piece);
        else if (!inflater.Feed(piece, out, take))
            return kArchiverBadArchive;
    }
    if (deflated && !inflater.ended()) return kArchiverBadArchive;
    return crc == entry.crc && size == entry.size ? kArchiverOk : kArchiverBadArchive;
}

}  // namespace

int CheckArchive(FileSystem& files, const std::wstring& archivePath, const std::vector<SourceItem>& items,
                 const std::atomic<bool>* cancel) {
    DWORD error = 0;
    UniqueKernelHandle file = files.Open(archivePath, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0, error);
    LARGE_INTEGER fileSize{};
    if (!file || !::GetFileSizeEx(file.get(), &fileSize)) return kArchiverCannotRead;
    const auto directory = FindDirectory(file.get(), static_cast<std::uint64_t>(fileSize.QuadPart));
    if (!directory) return kArchiverBadArchive;
    const auto entries = ReadDirectory(file.get(), *directory);
    file.reset();
    if (!entries || entries->size() != items.size()) return kArchiverBadArchive;
    DiskReader reader(files, archivePath);
    if (reader.error() != 0) return kArchiverCannotRead;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if ((*entries)[i].name != items[i].name) return kArchiverBadArchive;
        if (const int code = CheckEntry(reader, (*entries)[i], cancel); code != kArchiverOk) return code;
    }
    return kArchiverOk;
}
