#include "disk_reader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kUnitBytes = 64 * 1024;

}  // namespace

std::size_t DiskReader::PieceBytesFor(std::uint64_t expectedBytes) {
    const std::uint64_t units = expectedBytes / kUnitBytes + 1;
    return static_cast<std::size_t>(std::min<std::uint64_t>(units * kUnitBytes, kMostPieceBytes));
}

DiskReader::DiskReader(FileSystem& files, const std::wstring& path, std::uint64_t expectedBytes)
    : pieceBytes_(PieceBytesFor(expectedBytes)) {
    buffer_ =
        static_cast<std::uint8_t*>(::VirtualAlloc(nullptr, pieceBytes_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!buffer_) {
        error_ = ERROR_NOT_ENOUGH_MEMORY;
        return;
    }
    file_ = files.Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                       FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN, error_);
}

DiskReader::~DiskReader() {
    if (buffer_) ::VirtualFree(buffer_, 0, MEM_RELEASE);
}

bool DiskReader::Fill() {
    if (ended_ || error_ != 0) return false;
    DWORD read = 0;
    if (!::ReadFile(file_.get(), buffer_, static_cast<DWORD>(pieceBytes_), &read, nullptr)) {
        error_ = ::GetLastError();
        return false;
    }
    filled_ = read;
    used_ = 0;
    // Unbuffered reads come in whole pieces; a short one is the file's end.
    if (read < pieceBytes_) ended_ = true;
    return read > 0;
}

std::span<const std::uint8_t> DiskReader::Next(std::size_t most) {
    if (used_ == filled_ && !Fill()) return {};
    const std::size_t count = std::min(most, filled_ - used_);
    const std::span<const std::uint8_t> piece(buffer_ + used_, count);
    used_ += count;
    position_ += count;
    return piece;
}

bool DiskReader::ReadExactly(std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const auto piece = Next(out.size() - done);
        if (piece.empty()) return false;
        std::memcpy(out.data() + done, piece.data(), piece.size());
        done += piece.size();
    }
    return true;
}

bool DiskReader::Skip(std::uint64_t count) {
    while (count > 0) {
        const auto piece = Next(static_cast<std::size_t>(std::min<std::uint64_t>(count, pieceBytes_)));
        if (piece.empty()) return false;
        count -= piece.size();
    }
    return true;
}
