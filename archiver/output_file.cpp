#include "output_file.h"

#include <algorithm>

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

bool Seek(HANDLE file, std::uint64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}

}  // namespace

OutputFile::OutputFile(UniqueKernelHandle file) : file_(std::move(file)), failed_(!file_) {
    buffer_.reserve(kBufferSize);
}

void OutputFile::Append(const std::vector<std::uint8_t>& bytes) {
    if (buffer_.size() + bytes.size() > kBufferSize) Flush();
    if (bytes.size() >= kBufferSize) {
        WriteAll(bytes.data(), bytes.size());
    } else {
        buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    }
    position_ += bytes.size();
}

void OutputFile::Overwrite(std::uint64_t offset, const std::vector<std::uint8_t>& bytes) {
    Flush();
    if (failed_) return;
    if (!Seek(file_.get(), offset)) {
        failed_ = true;
        return;
    }
    WriteAll(bytes.data(), bytes.size());
    if (!Seek(file_.get(), position_)) failed_ = true;
}

bool OutputFile::Finish() {
    Flush();
    if (file_ && !::CloseHandle(file_.release())) failed_ = true;
    return !failed_;
}

void OutputFile::Flush() {
    if (!buffer_.empty()) WriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void OutputFile::WriteAll(const std::uint8_t* data, std::size_t size) {
    while (!failed_ && size > 0) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!::WriteFile(file_.get(), data, chunk, &wrote, nullptr) || wrote == 0) {
            failed_ = true;
            return;
        }
        data += wrote;
        size -= wrote;
    }
}
