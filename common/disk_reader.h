// Reads a file from start to end past the system's cache: opened without
// buffering, read in sector-aligned pieces into an aligned buffer. What a
// check reads this way is what reached the disk, not what the cache still
// holds of the write. (Wine reads through the Linux page cache whatever
// the flags say.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include <windows.h>

#include "file_system.h"
#include "handles.h"

class DiskReader {
public:
    // Opens path through files; error() is 0 when it opened. expectedBytes
    // sizes the buffer, so a small file does not cost a large one.
    DiskReader(FileSystem& files, const std::wstring& path, std::uint64_t expectedBytes = kMostPieceBytes);
    ~DiskReader();
    DiskReader(const DiskReader&) = delete;
    DiskReader& operator=(const DiskReader&) = delete;

    // One unbuffered read at most: a multiple of every sector size there is.
    static constexpr std::size_t kMostPieceBytes = 1 << 20;
    // The piece for a file of about this size: whole 64 KiB units (a
    // multiple of every sector size too), one more than the file needs so
    // that a file of that size ends with a short read, at most kMostPieceBytes.
    static std::size_t PieceBytesFor(std::uint64_t expectedBytes);

    [[nodiscard]] DWORD error() const { return error_; }
    [[nodiscard]] std::uint64_t position() const { return position_; }

    // The next bytes of the file, at most `most` of them; empty at the end
    // of the file or after a failed read (error() then says why).
    std::span<const std::uint8_t> Next(std::size_t most);
    // Reads exactly out.size() bytes; false at the end of the file or on a failure.
    [[nodiscard]] bool ReadExactly(std::span<std::uint8_t> out);
    // Moves on by `count` bytes; false when the file ends first.
    [[nodiscard]] bool Skip(std::uint64_t count);

private:
    bool Fill();

    UniqueKernelHandle file_;
    DWORD error_ = 0;
    std::uint8_t* buffer_ = nullptr;  // aligned to the page, which is a multiple of any sector
    std::size_t pieceBytes_;
    std::size_t filled_ = 0;
    std::size_t used_ = 0;
    bool ended_ = false;
    std::uint64_t position_ = 0;
};
