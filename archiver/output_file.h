// The archive file being written: buffered appends, plus rewriting a header
// once its sizes are known.
#pragma once

#include <cstdint>
#include <vector>

#include "handles.h"

class OutputFile {
public:
    // Writes into file, an open and empty file.
    explicit OutputFile(UniqueKernelHandle file);
    void Append(const std::vector<std::uint8_t>& bytes);
    // Writes bytes over earlier output at offset; appending goes on at the end.
    void Overwrite(std::uint64_t offset, const std::vector<std::uint8_t>& bytes);
    std::uint64_t Position() const { return position_; }
    // Writes what is buffered and closes the file; false when any write failed.
    [[nodiscard]] bool Finish();
    bool failed() const { return failed_; }

private:
    void Flush();
    void WriteAll(const std::uint8_t* data, std::size_t size);

    UniqueKernelHandle file_;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t position_ = 0;
    bool failed_ = false;
};
