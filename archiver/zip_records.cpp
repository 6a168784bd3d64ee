#include "zip_records.h"

#include <algorithm>
#include <optional>

#include "local_time.h"

namespace {

constexpr std::uint16_t kNtfsFieldId = 0x000A;
constexpr std::uint16_t kNtfsTimesTag = 0x0001;

// Version 2.0 reads deflate and folders; 4.5 is needed for Zip64 fields.
constexpr std::uint16_t kVersionDeflate = 20;
constexpr std::uint16_t kVersionZip64 = 45;
// "Made by": version 4.5 on MS-DOS/Windows, so the attributes read as DOS ones.
constexpr std::uint16_t kVersionMadeBy = kVersionZip64;
// Names are UTF-8.
constexpr std::uint16_t kFlagUtf8Names = 0x0800;

// Deflate adds at most 5 bytes per 16 KiB stored block, plus the flush
// markers between our blocks; this bound covers both with room to spare.
std::uint64_t LargestCompressedSize(std::uint64_t size) {
    return size + (size >> 12) + (size >> 10) + 1024;
}

class Bytes {
public:
    void U16(std::uint16_t v) {
        out_.push_back(static_cast<std::uint8_t>(v));
        out_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void U64(std::uint64_t v) {
        U32(static_cast<std::uint32_t>(v));
        U32(static_cast<std::uint32_t>(v >> 32));
    }
    void Time(const FILETIME& t) {
        U32(t.dwLowDateTime);
        U32(t.dwHighDateTime);
    }
    void Append(const std::vector<std::uint8_t>& bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void Append(const std::string& text) { out_.insert(out_.end(), text.begin(), text.end()); }
    std::vector<std::uint8_t> Take() { return std::move(out_); }

private:
    std::vector<std::uint8_t> out_;
};

std::uint32_t Field32(std::uint64_t value) {
    return static_cast<std::uint32_t>(std::min(value, kZip32Limit));
}
std::uint16_t Field16(std::uint64_t value) {
    return static_cast<std::uint16_t>(std::min(value, kZip16Limit));
}

// Exact times (100 ns, UTC): modification, access, creation.
std::vector<std::uint8_t> NtfsField(const ZipEntry& entry) {
    Bytes b;
    b.U16(kNtfsFieldId);
    b.U16(32);
    b.U32(0);
    b.U16(kNtfsTimesTag);
    b.U16(24);
    b.Time(entry.writeTime);
    b.Time(entry.accessTime);
    b.Time(entry.creationTime);
    return b.Take();
}

// The local header's Zip64 field always holds both sizes.
std::vector<std::uint8_t> LocalExtra(const ZipEntry& entry) {
    Bytes b;
    if (entry.localZip64) {
        b.U16(kZip64FieldId);
        b.U16(16);
        b.U64(entry.size);
        b.U64(entry.compressedSize);
    }
    b.Append(NtfsField(entry));
    return b.Take();
}

// The central header's Zip64 field holds exactly the values whose 32-bit
// field overflows, in the fixed order size, compressed size, offset.
std::vector<std::uint8_t> CentralExtra(const ZipEntry& entry) {
    Bytes values;
    std::uint16_t length = 0;
    for (std::uint64_t v : {entry.size, entry.compressedSize, entry.localHeaderOffset}) {
        if (v < kZip32Limit) continue;
        values.U64(v);
        length += 8;
    }
    Bytes b;
    if (length > 0) {
        b.U16(kZip64FieldId);
        b.U16(length);
        b.Append(values.Take());
    }
    b.Append(NtfsField(entry));
    return b.Take();
}

// The same in both headers: Zip64 sizes in the local header, or an offset
// that only the central header can hold. Sizes can only overflow when the
// local header carries them (LocalHeaderNeedsZip64).
std::uint16_t VersionNeeded(const ZipEntry& entry) {
    return entry.localZip64 || entry.localHeaderOffset >= kZip32Limit ? kVersionZip64 : kVersionDeflate;
}

}  // namespace

bool LocalHeaderNeedsZip64(std::uint64_t size) {
    return LargestCompressedSize(size) >= kZip32Limit;
}

DosDateTime ToDosDateTime(const FILETIME& utc) {
    const std::optional<SYSTEMTIME> converted = LocalTimeOf(utc);
    if (!converted || converted->wYear < 1980) return {0, (0 << 9) | (1 << 5) | 1};  // 1980-01-01 00:00:00
    const SYSTEMTIME& local = *converted;
    if (local.wYear > 2107) return {(23 << 11) | (59 << 5) | 29, (127 << 9) | (12 << 5) | 31};
    const auto time = static_cast<std::uint16_t>((local.wHour << 11) | (local.wMinute << 5) | (local.wSecond / 2));
    const auto date = static_cast<std::uint16_t>(((local.wYear - 1980) << 9) | (local.wMonth << 5) | local.wDay);
    return {time, date};
}

std::vector<std::uint8_t> LocalHeader(const ZipEntry& entry) {
    const DosDateTime dos = ToDosDateTime(entry.writeTime);
    const std::vector<std::uint8_t> extra = LocalExtra(entry);
    Bytes b;
    b.U32(kLocalSignature);
    b.U16(VersionNeeded(entry));
    b.U16(kFlagUtf8Names);
    b.U16(entry.method);
    b.U16(dos.time);
    b.U16(dos.date);
    b.U32(entry.crc);
    b.U32(entry.localZip64 ? static_cast<std::uint32_t>(kZip32Limit) : Field32(entry.compressedSize));
    b.U32(entry.localZip64 ? static_cast<std::uint32_t>(kZip32Limit) : Field32(entry.size));
    b.U16(static_cast<std::uint16_t>(entry.name.size()));
    b.U16(static_cast<std::uint16_t>(extra.size()));
    b.Append(entry.name);
    b.Append(extra);
    return b.Take();
}

std::vector<std::uint8_t> CentralHeader(const ZipEntry& entry) {
    const DosDateTime dos = ToDosDateTime(entry.writeTime);
    const std::vector<std::uint8_t> extra = CentralExtra(entry);
    Bytes b;
    b.U32(kCentralSignature);
    b.U16(kVersionMadeBy);
    b.U16(VersionNeeded(entry));
    b.U16(kFlagUtf8Names);
    b.U16(entry.method);
    b.U16(dos.time);
    b.U16(dos.date);
    b.U32(entry.crc);
    b.U32(Field32(entry.compressedSize));
    b.U32(Field32(entry.size));
    b.U16(static_cast<std::uint16_t>(entry.name.size()));
    b.U16(static_cast<std::uint16_t>(extra.size()));
    b.U16(0);  // comment length
    b.U16(0);  // disk number
    b.U16(0);  // internal attributes
    b.U32(entry.attributes);
    b.U32(Field32(entry.localHeaderOffset));
    b.Append(entry.name);
    b.Append(extra);
    return b.Take();
}

std::vector<std::uint8_t> EndRecords(std::uint64_t entryCount, std::uint64_t centralOffset, std::uint64_t centralSize) {
    Bytes b;
    const bool zip64 = entryCount >= kZip16Limit || centralOffset >= kZip32Limit || centralSize >= kZip32Limit;
    if (zip64) {
        const std::uint64_t zip64EndOffset = centralOffset + centralSize;
        b.U32(kZip64EndSignature);
        b.U64(44);  // size of the rest of this record
        b.U16(kVersionMadeBy);
        b.U16(kVersionZip64);
        b.U32(0);  // this disk
        b.U32(0);  // disk of the central directory
        b.U64(entryCount);
        b.U64(entryCount);
        b.U64(centralSize);
        b.U64(centralOffset);
        b.U32(kZip64LocatorSignature);
        b.U32(0);  // disk of the Zip64 end record
        b.U64(zip64EndOffset);
        b.U32(1);  // disks in all
    }
    b.U32(kEndSignature);
    b.U16(0);
    b.U16(0);
    b.U16(Field16(entryCount));
    b.U16(Field16(entryCount));
    b.U32(Field32(centralSize));
    b.U32(Field32(centralOffset));
    b.U16(0);  // comment length
    return b.Take();
}
