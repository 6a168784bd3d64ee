// Byte layout of the Zip records: local and central headers, the end
// records, Zip64 only where a field overflows, DOS times and the NTFS field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

// A 32-bit size or offset field holds at most this; the value itself marks
// "the real value is in the Zip64 field".
constexpr std::uint64_t kZip32Limit = 0xFFFFFFFF;
// The 16-bit entry count of the end record; the same rule.
constexpr std::uint64_t kZip16Limit = 0xFFFF;

// The records' signatures and the Zip64 extra field's id.
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint16_t kZip64FieldId = 0x0001;

constexpr std::uint16_t kMethodStored = 0;
constexpr std::uint16_t kMethodDeflated = 8;

// MS-DOS attributes as stored in the central directory.
constexpr std::uint32_t kDosReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr std::uint32_t kDosFolder = FILE_ATTRIBUTE_DIRECTORY;
constexpr std::uint32_t kDosArchive = FILE_ATTRIBUTE_ARCHIVE;

struct ZipEntry {
    std::string name;  // UTF-8, "/" between parts, a folder ends in "/"
    std::uint16_t method = kMethodStored;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t localHeaderOffset = 0;
    FILETIME writeTime{};
    FILETIME accessTime{};
    FILETIME creationTime{};
    std::uint32_t attributes = kDosArchive;
    // The local header carries both sizes in a Zip64 field. Decided before
    // the data is written (LocalHeaderNeedsZip64) and kept, so a header
    // rewritten with the final sizes has the same length.
    bool localZip64 = false;
};

// Whether a file of this size may need Zip64 sizes in its local header:
// either its size or its largest possible compressed size reaches the limit.
bool LocalHeaderNeedsZip64(std::uint64_t size);

std::vector<std::uint8_t> LocalHeader(const ZipEntry& entry);
std::vector<std::uint8_t> CentralHeader(const ZipEntry& entry);
// The Zip64 end record and its locator when the entry count, the central
// directory's size or its offset overflow, then the classic end record.
std::vector<std::uint8_t> EndRecords(std::uint64_t entryCount, std::uint64_t centralOffset, std::uint64_t centralSize);

// Local date and time in MS-DOS form (2-second steps), clamped to the years
// 1980..2107 that the form can hold.
struct DosDateTime {
    std::uint16_t time;
    std::uint16_t date;
};
DosDateTime ToDosDateTime(const FILETIME& utc);
